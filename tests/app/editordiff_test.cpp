// The editor never changes a byte the user did not touch: random edits in a
// real document tab (keys, the mouse, the clipboard, undo and redo) over
// files with long lines held in pieces, mixed breaks, invalid bytes and no
// final break, each step's saved bytes compared with a plain-text model.
// QN4_EDITORDIFF_STEPS and QN4_EDITORDIFF_SEED make a longer or other run;
// QN4_EDITORDIFF_BIG_MB puts that many megabytes of short lines in front of
// each file (a big file: loaded in steps, two short lines to a block).
#include "app/document.h"
#include "app/documentload.h"
#include "app/documents.h"
#include "app/linemap.h"
#include "charset/sjis.h"
#include "charset/textfile.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include <deque>

namespace {

using sjis::LineBreak;

QByteArray breakBytes(LineBreak b)
{
    switch (b) {
    case LineBreak::CrLf: return "\r\n";
    case LineBreak::Lf: return "\n";
    case LineBreak::Cr: return "\r";
    }
    return {};
}

// The file as a user thinks of it: lines, each with the break it ends in.
// A replaced stretch loses the breaks inside it, the last line it touches
// keeps its own, and every new break is the document's.
struct Model {
    QString text;                    // '\n' between lines
    std::vector<LineBreak> breaks;   // one per '\n'
    LineBreak fallback = LineBreak::CrLf;

    bool operator==(const Model& o) const { return text == o.text && breaks == o.breaks; }

    void replace(qsizetype from, qsizetype to, const QString& with)
    {
        const qsizetype before = QStringView(text).first(from).count(u'\n');
        const qsizetype gone = QStringView(text).sliced(from, to - from).count(u'\n');
        const qsizetype added = with.count(u'\n');
        breaks.erase(breaks.begin() + before, breaks.begin() + before + gone);
        breaks.insert(breaks.begin() + before, size_t(added), fallback);
        text.replace(from, to - from, with);
    }

    QByteArray bytes() const
    {
        QByteArray out;
        qsizetype start = 0;
        for (size_t i = 0;; ++i) {
            const qsizetype nl = text.indexOf(u'\n', start);
            out += *sjis::encode(QStringView(text).sliced(start, (nl < 0 ? text.size() : nl) - start));
            if (nl < 0)
                return out;
            out += breakBytes(breaks[i]);
            start = nl + 1;
        }
    }

    // The index into the text of a file line and column.
    qsizetype offset(int line, int column) const
    {
        qsizetype at = 0;
        for (int l = 0; l < line; ++l)
            at = text.indexOf(u'\n', at) + 1;
        return at + column;
    }
};

// What the tests may turn off: edit kinds whose faults are not mended yet.
struct Kinds {
    bool undo = true;
    bool mouse = true;
};

// Random Shift_JIS file text: tags, ASCII, kana and kanji, invalid bytes.
QByteArray randomLine(QRandomGenerator& rng, qsizetype size)
{
    static const char* const parts[] = {
        "<A HREF=\"x.html\">", "</A>", " ", "abc", "\x93\xfa\x96\x7b",   // 日本
        "\xb1\xb2",                                                  // ｱｲ
        "\x80", "\xa0", "\xfd", "\xff", "\x81\x20", "\x82",          // invalid
        "zzzzzzzzzzzzzzzz", "<P>", "&amp;",
    };
    QByteArray b;
    while (b.size() < size)
        b += parts[rng.bounded(int(std::size(parts)))];
    return b;
}

// `bigBytes` above zero: short lines in front, as many bytes as that, with
// one kind of break (a big file is loaded in steps and holds two short
// lines to a block).
QByteArray randomFile(QRandomGenerator& rng, qsizetype bigBytes = 0)
{
    const LineBreak kinds[] = {LineBreak::CrLf, LineBreak::Lf, LineBreak::Cr};
    const bool mixed = bigBytes == 0 && rng.bounded(4) != 0;
    const LineBreak one = kinds[rng.bounded(3)];
    const int lines = 2 + int(rng.bounded(8));
    QByteArray b;
    while (b.size() < bigBytes)
        b += randomLine(rng, rng.bounded(40)) + breakBytes(one);
    for (int i = 0; i < lines; ++i) {
        const quint32 kind = rng.bounded(10);
        const qsizetype size = kind < 3 ? lines::kLongLine + 1 + rng.bounded(3000)
                               : kind < 4 ? 0
                                          : rng.bounded(60);
        b += randomLine(rng, size);
        if (i + 1 < lines || rng.bounded(2))
            b += breakBytes(mixed ? kinds[rng.bounded(3)] : one);
    }
    return b;
}

QString randomPaste(QRandomGenerator& rng)
{
    static const QString parts[] = {
        QStringLiteral("x"), QStringLiteral("<B>"), QStringLiteral("\n"), QStringLiteral("\r\n"),
        QStringLiteral("\r"), QStringLiteral("日本語"), QStringLiteral("ｱ"), QStringLiteral(" "),
    };
    QString t;
    const int n = 1 + int(rng.bounded(12));
    for (int i = 0; i < n; ++i)
        t += parts[rng.bounded(int(std::size(parts)))];
    if (rng.bounded(8) == 0)
        t += QString(int(lines::kLongLine) + 1 + int(rng.bounded(1500)), u'q');
    if (rng.bounded(40) == 0) {
        // A tree's worth of short lines: they go in two to a block.
        for (qsizetype i = 0; i < lines::kPairedInsertLines; ++i)
            t += parts[rng.bounded(int(std::size(parts)))] + u'\n';
    }
    return t;
}

// Byte strings compared where they differ, not byte by byte.
testing::AssertionResult sameBytes(const QByteArray& saved, const QByteArray& expected)
{
    if (saved == expected)
        return testing::AssertionSuccess();
    qsizetype at = 0;
    while (at < saved.size() && at < expected.size() && saved[at] == expected[at])
        ++at;
    const qsizetype from = std::max<qsizetype>(at - 8, 0);
    return testing::AssertionFailure()
        << "sizes " << saved.size() << " and " << expected.size() << ", first difference at " << at
        << ": saved ..." << saved.mid(from, 24).toHex(' ').toStdString() << " expected ..."
        << expected.mid(from, 24).toHex(' ').toStdString();
}

// The platform's key for a standard command (Ctrl+Y belongs to key control).
void press(QPlainTextEdit* e, QKeySequence::StandardKey command)
{
    const QKeySequence taken(Qt::CTRL | Qt::Key_Y);
    for (const QKeySequence& k : QKeySequence::keyBindings(command)) {
        if (k != taken) {
            QTest::keyClick(e, k[0].key(), k[0].keyboardModifiers());
            return;
        }
    }
    ADD_FAILURE() << "no key for the command";
}

int envInt(const char* name, int otherwise)
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok ? v : otherwise;
}

class EditorDiff : public MainWindowTest {
protected:
    // Runs `steps` random steps from `seed`; returns the number of differences
    // (the run stops at the first).
    int run(quint32 seed, int steps, const Kinds& kinds = {});

    Document* open(const QByteArray& bytes, Model* model);
    void typeText(DocumentEditor* e, const QString& text);
    static QByteArray saved(const Document& d)
    {
        return documentBytes(*d.edit, d.lineBreak, d.mixedBreaks, nullptr).value_or("(cannot save)");
    }
    // The model's index of a document position.
    static qsizetype fileOffset(const Document& d, const Model& model, int position)
    {
        const LineMap::Position p = LineMap::of(d.edit->document()).positionOf(position);
        return model.offset(p.line, p.column);
    }
    void select(const Document& d, int from, int to)
    {
        QTextCursor c(d.edit->document());
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        d.edit->setTextCursor(c);
    }
};

Document* EditorDiff::open(const QByteArray& bytes, Model* model)
{
    if (Document* old = w->documents().current()) {
        old->edit->document()->setModified(false);
        w->action("MOneClose")->trigger();
    }
    writeAll(path("page.html"), bytes);
    QString error;
    const Result<Document*> opened = w->documents().open(path("page.html"));
    error = opened.message();
    Document* d = opened.value();
    if (!d)
        return nullptr;
    DocumentLoad::finishNow(d->edit->document());
    const sjis::DocumentText decoded = sjis::decodeDocument(bytes);
    model->text = decoded.text;
    model->fallback = decoded.lineBreak;
    model->breaks = sjis::lineBreaksOf(bytes);
    model->breaks.resize(size_t(decoded.text.count(u'\n')), decoded.lineBreak);
    d->edit->setFocus();
    return d;
}

void EditorDiff::typeText(DocumentEditor* e, const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(e, char(c.unicode()));
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(e, &commit);
        }
    }
}

int EditorDiff::run(quint32 seed, int steps, const Kinds& kinds)
{
    makeWindow(true);
    bool assist = false;   // input assistance closes '<' and '"' as they are typed
    QRandomGenerator rng(seed);
    QClipboard* clipboard = QApplication::clipboard();
    Model model;
    Document* d = nullptr;
    std::vector<Model> history;   // states undo and redo may land on
    size_t now = 0;
    std::deque<std::string> log;  // the steps since the file was opened
    QByteArray file;

    auto fail = [&](int step, const std::string& why) {
        std::string steps;
        for (const std::string& s : log)
            steps += "\n  " + s;
        ADD_FAILURE() << "seed " << seed << ", step " << step << ": " << why
                      << "\nfile: " << file.left(64).toHex().toStdString() << (file.size() > 64 ? "..." : "")
                      << "\nsteps:" << steps;
    };

    for (int step = 0; step < steps; ++step) {
        if (step % 150 == 0) {
            file = randomFile(rng, qsizetype(envInt("QN4_EDITORDIFF_BIG_MB", 0)) << 20);
            d = open(file, &model);
            if (!d) {
                fail(step, "the file did not open");
                return 1;
            }
            history = {model};
            now = 0;
            log.clear();
            assist = rng.bounded(2);
            w->action("MInput")->setChecked(assist);
            log.push_back("open (" + std::to_string(file.size()) + " bytes), input assistance " +
                          (assist ? "on" : "off"));
        }
        DocumentEditor* e = d->edit;
        LineMap& map = LineMap::of(e->document());
        const QTextCursor c = e->textCursor();
        auto fileOffset = [&](int position) {
            const LineMap::Position p = map.positionOf(position);
            return model.offset(p.line, p.column);
        };
        const qsizetype from = fileOffset(c.selectionStart());
        const qsizetype to = fileOffset(c.selectionEnd());
        const qsizetype caret = fileOffset(c.position());
        const QTextBlock cb = c.block();
        std::string what = "[" + std::to_string(from) + "," + std::to_string(to) + ") (block " +
                           std::to_string(cb.blockNumber()) + (lines::continues(cb) ? "+" : "") + " at " +
                           std::to_string(c.positionInBlock()) + "/" + std::to_string(cb.length() - 1) +
                           (lines::continues(cb.next()) ? "+" : "") + ") ";
        bool edited = false;      // the model changed
        int undoRedo = 0;         // -1 undo, +1 redo
        const Model before = model;

        const quint32 kind = rng.bounded(100);
        if (kind < 20) {
            static const Qt::Key moves[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down,
                                            Qt::Key_Home, Qt::Key_End, Qt::Key_PageDown};
            const Qt::Key key = moves[rng.bounded(int(std::size(moves)))];
            Qt::KeyboardModifiers mods = rng.bounded(2) ? Qt::ShiftModifier : Qt::NoModifier;
            if (rng.bounded(8) == 0)
                mods |= Qt::ControlModifier;
            QTest::keyClick(e, key, mods);
            what += "key " + QKeySequence(key | mods).toString().toStdString();
        } else if (kind < 30) {
            // The caret at a block's edge (a piece's start or end) or anywhere.
            const QTextBlock b = e->document()->findBlockByNumber(int(rng.bounded(e->document()->blockCount())));
            const int at = rng.bounded(3) == 0 ? b.position() + int(rng.bounded(b.length()))
                           : rng.bounded(2)    ? b.position()
                                               : b.position() + b.length() - 1;
            QTextCursor p = e->textCursor();
            p.setPosition(at, rng.bounded(2) ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
            e->setTextCursor(p);
            what += "place at block " + std::to_string(b.blockNumber()) + " pos " + std::to_string(at);
        } else if (kind < 36 && kinds.mouse) {
            QWidget* v = e->viewport();
            const QPoint at(int(rng.bounded(v->width())), int(rng.bounded(v->height())));
            const bool shift = rng.bounded(2);
            QTest::mouseClick(v, Qt::LeftButton, shift ? Qt::ShiftModifier : Qt::NoModifier, at);
            what += std::string(shift ? "shift+" : "") + "click " + std::to_string(at.x()) + "," +
                    std::to_string(at.y());
        } else if (kind < 50) {
            QString t;
            for (int n = 1 + int(rng.bounded(3)); n > 0; --n) {
                const quint32 k = rng.bounded(15);
                t += k < 8    ? QChar(u'a' + char16_t(k))
                     : k < 10 ? QChar(u' ')
                     : k < 11 ? QChar(u'日')
                     : k < 12 ? QChar(u'ｱ')
                     : k < 13 ? QChar(u'\t')
                     : k < 14 ? QChar(u'<')
                              : QChar(u'"');
            }
            // Each character is a state undo may land on (the input
            // method's text is a step of its own).
            qsizetype at = from;
            for (qsizetype i = 0; i < t.size(); ++i) {
                typeText(e, t.sliced(i, 1));
                model.replace(at, i == 0 ? to : at, t.sliced(i, 1));
                ++at;
                const bool closed = assist && (t[i] == u'<' || t[i] == u'"');
                if (i + 1 < t.size() || closed) {
                    history.resize(now + 1);
                    history.push_back(model);
                    now = history.size() - 1;
                }
                if (closed) {   // the pair's other half, the caret between
                    model.replace(at, at, t[i] == u'<' ? QStringLiteral(">") : QStringLiteral("\""));
                    if (i + 1 < t.size()) {
                        history.resize(now + 1);
                        history.push_back(model);
                        now = history.size() - 1;
                    }
                }
            }
            edited = true;
            what += "type \"" + t.toStdString() + "\"";
        } else if (kind < 60) {
            QTest::keyClick(e, Qt::Key_Backspace);
            if (from != to)
                model.replace(from, to, {});
            else if (caret > 0)
                model.replace(caret - 1, caret, {});
            edited = true;
            what += "Backspace";
        } else if (kind < 70) {
            QTest::keyClick(e, Qt::Key_Delete);
            if (from != to)
                model.replace(from, to, {});
            else if (caret < model.text.size())
                model.replace(caret, caret + 1, {});
            edited = true;
            what += "Delete";
        } else if (kind < 77) {
            QTest::keyClick(e, Qt::Key_Return);
            model.replace(from, to, QStringLiteral("\n"));
            edited = true;
            what += "Enter";
        } else if (kind < 82) {
            const bool byMenu = rng.bounded(2);
            if (byMenu)
                w->action("MCut")->trigger();
            else
                QTest::keyClick(e, Qt::Key_X, Qt::ControlModifier);
            what += byMenu ? "cut (menu)" : "cut (Ctrl+X)";
            if (from != to) {
                const QString cut = model.text.sliced(from, to - from);
                if (clipboard->text() != cut) {
                    log.push_back(what);
                    fail(step, "the clipboard holds other text than the selection");
                    return 1;
                }
                model.replace(from, to, {});
                edited = true;
            }
        } else if (kind < 88) {
            QString t = randomPaste(rng);
            clipboard->setText(t);
            QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
            t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
            model.replace(from, to, t);
            edited = true;
            what += "paste " + std::to_string(t.size()) + " characters, " +
                    std::to_string(t.count(u'\n')) + " breaks";
        } else if (kind < 95 && kinds.undo) {
            const bool redo = rng.bounded(3) == 0;
            press(e, redo ? QKeySequence::Redo : QKeySequence::Undo);
            undoRedo = redo ? 1 : -1;
            what += redo ? "redo" : "undo";
        } else if (kind < 97) {
            w->action("MAllSelect")->trigger();
            what += "select all";
        } else if (kind < 98) {
            w->action("MDelete")->trigger();
            if (from != to) {
                model.replace(from, to, {});
                edited = true;
            }
            what += "delete (menu)";
        } else if (kind < 99 && kinds.mouse) {
            QWidget* v = e->viewport();
            const QPoint at(int(rng.bounded(v->width())), int(rng.bounded(v->height())));
            QTest::mouseDClick(v, Qt::LeftButton, Qt::NoModifier, at);
            what += "double click " + std::to_string(at.x()) + "," + std::to_string(at.y());
        } else {
            // A word before or after the caret: what a word is is Qt's, so
            // the removed stretch is read from the editor; it must touch the
            // caret (or be the selection) and keep every line's break.
            // (Ctrl+Delete is the Delete command of the Edit menu: the
            // selection only.)
            const bool back = rng.bounded(2);
            QTest::keyClick(e, back ? Qt::Key_Backspace : Qt::Key_Delete, Qt::ControlModifier);
            what += back ? "Ctrl+Backspace" : "Ctrl+Delete";
            const QString after = editorText(*e);
            const qsizetype gone = model.text.size() - after.size();
            const qsizetype at = from != to ? from : caret - gone;
            const bool fine = from != to ? gone == to - from
                              : back     ? (gone > 0 || caret == 0)
                                         : gone == 0;
            if (!fine || at < 0 || QString(model.text).remove(at, gone) != after) {
                log.push_back(what);
                fail(step, "the word deleted is not next to the caret, or nothing was deleted");
                return 1;
            }
            if (gone > 0) {
                model.replace(at, at + gone, {});
                edited = true;
            }
        }
        log.push_back(what);

        const std::optional<QByteArray> saved = documentBytes(*e, d->lineBreak, d->mixedBreaks, nullptr);
        if (!saved) {
            fail(step, "the text cannot be saved");
            return 1;
        }
        if (undoRedo != 0) {
            // Undo lands on an earlier state (typing merges into one step),
            // redo on a later one.
            std::optional<size_t> landed;
            if (undoRedo < 0) {
                for (size_t j = now + 1; j-- > 0 && !landed;)
                    if (history[j].bytes() == *saved)
                        landed = j;
            } else {
                for (size_t j = now; j < history.size() && !landed; ++j)
                    if (history[j].bytes() == *saved)
                        landed = j;
            }
            if (!landed) {
                fail(step, std::string("undo or redo gave bytes the file never had; against the last state: ") +
                               sameBytes(*saved, history[now].bytes()).message());
                return 1;
            }
            now = *landed;
            model = history[now];
            continue;
        }
        const QByteArray expected = model.bytes();
        if (*saved != expected) {
            fail(step, sameBytes(*saved, expected).message());
            return 1;
        }
        if (edited && !(model == before)) {
            history.resize(now + 1);
            history.push_back(model);
            now = history.size() - 1;
        }
    }
    return 0;
}

} // namespace

TEST_F(EditorDiff, RandomEditsSaveWhatAPlainTextModelHolds)
{
    const int steps = envInt("QN4_EDITORDIFF_STEPS", 3000);
    const quint32 seed = quint32(envInt("QN4_EDITORDIFF_SEED", 20));
    EXPECT_EQ(run(seed, steps), 0);
}

TEST_F(EditorDiff, ReplacingASelectionFromAPieceStartKeepsTheLineBreaks)
{
    makeWindow(true);
    const QByteArray file = "A\r\n" + QByteArray(1500, 'x') + " " + QByteArray(1500, 'y') + "\r\nBBBB\r\n";
    enum class Shape { Keys, SecondPieceIntoNextLine, FirstPiece };
    enum class Edit { Delete, Type, Cut, Paste };
    for (Shape shape : {Shape::Keys, Shape::SecondPieceIntoNextLine, Shape::FirstPiece}) {
        for (Edit edit : {Edit::Delete, Edit::Type, Edit::Cut, Edit::Paste}) {
            SCOPED_TRACE(testing::Message() << "shape " << int(shape) << ", edit " << int(edit));
            Model model;
            Document* d = open(file, &model);
            ASSERT_TRUE(d);
            QTextDocument* doc = d->edit->document();
            ASSERT_TRUE(lines::continues(doc->findBlockByNumber(2)));
            switch (shape) {
            case Shape::Keys:
                QTest::keyClick(d->edit, Qt::Key_Home, Qt::ControlModifier);
                QTest::keyClick(d->edit, Qt::Key_Down);
                QTest::keyClick(d->edit, Qt::Key_Down, Qt::ShiftModifier);
                break;
            case Shape::SecondPieceIntoNextLine:
                select(*d, doc->findBlockByNumber(2).position(), LineMap::of(doc).lineStartPosition(2) + 2);
                break;
            case Shape::FirstPiece:
                select(*d, doc->findBlockByNumber(1).position(), doc->findBlockByNumber(2).position());
                break;
            }
            const QTextCursor c = d->edit->textCursor();
            ASSERT_TRUE(c.hasSelection());
            const qsizetype from = fileOffset(*d, model, c.selectionStart());
            const qsizetype to = fileOffset(*d, model, c.selectionEnd());
            switch (edit) {
            case Edit::Delete:
                QTest::keyClick(d->edit, Qt::Key_Delete);
                model.replace(from, to, {});
                break;
            case Edit::Type:
                QTest::keyClick(d->edit, Qt::Key_Z);
                model.replace(from, to, QStringLiteral("z"));
                break;
            case Edit::Cut:
                QTest::keyClick(d->edit, Qt::Key_X, Qt::ControlModifier);
                model.replace(from, to, {});
                break;
            case Edit::Paste:
                QApplication::clipboard()->setText(QStringLiteral("p"));
                QTest::keyClick(d->edit, Qt::Key_V, Qt::ControlModifier);
                model.replace(from, to, QStringLiteral("p"));
                break;
            }
            EXPECT_TRUE(sameBytes(saved(*d), model.bytes()));
            // The status bar counts the lines the file has.
            w->UpdateCaret();
            const qsizetype caret = from + (edit == Edit::Type || edit == Edit::Paste ? 1 : 0);
            const qsizetype line = QStringView(model.text).first(caret).count(u'\n');
            const qsizetype column = caret - (caret > 0 ? model.text.lastIndexOf(u'\n', caret - 1) + 1 : 0);
            EXPECT_EQ(w->statusPanel(0), QStringLiteral("  行 ： %1 列 ： %2").arg(line).arg(column));
            press(d->edit, QKeySequence::Undo);
            EXPECT_TRUE(sameBytes(saved(*d), file)) << "undo";
        }
    }
}

TEST_F(EditorDiff, JoiningAndSplittingLinesKeepsEachLinesOwnBreak)
{
    makeWindow(true);
    Model model;
    // Delete at the end of a line: the break removed is that line's.
    Document* d = open("a\r\nb\nc\r\n", &model);
    ASSERT_TRUE(d);
    QTextDocument* doc = d->edit->document();
    select(*d, 1, 1);
    QTest::keyClick(d->edit, Qt::Key_Delete);
    EXPECT_TRUE(sameBytes(saved(*d), "ab\nc\r\n"));
    press(d->edit, QKeySequence::Undo);
    EXPECT_TRUE(sameBytes(saved(*d), "a\r\nb\nc\r\n")) << "undo";

    // Backspace joining a long line held in pieces to the next.
    const QByteArray longLine(3000, 'L');
    d = open(longLine + "\r\nb\nc\r", &model);
    ASSERT_TRUE(d);
    doc = d->edit->document();
    const int lineOne = LineMap::of(doc).lineStartPosition(1);
    select(*d, lineOne, lineOne);
    QTest::keyClick(d->edit, Qt::Key_Backspace);
    EXPECT_TRUE(sameBytes(saved(*d), longLine + "b\nc\r"));
    press(d->edit, QKeySequence::Undo);
    EXPECT_TRUE(sameBytes(saved(*d), longLine + "\r\nb\nc\r")) << "undo";
    press(d->edit, QKeySequence::Redo);
    EXPECT_TRUE(sameBytes(saved(*d), longLine + "b\nc\r")) << "redo";

    // Enter: the new break is the document's, at the caret; the line keeps
    // its own at its end, so a blank line put above one changes nothing of it.
    d = open("a\r\nb\nc", &model);
    ASSERT_TRUE(d);
    doc = d->edit->document();
    select(*d, doc->findBlockByNumber(1).position(), doc->findBlockByNumber(1).position());
    QTest::keyClick(d->edit, Qt::Key_Return);
    EXPECT_TRUE(sameBytes(saved(*d), "a\r\n\r\nb\nc"));
    // And Backspace takes exactly that break away again.
    QTest::keyClick(d->edit, Qt::Key_Backspace);
    EXPECT_TRUE(sameBytes(saved(*d), "a\r\nb\nc"));
}

TEST_F(EditorDiff, BackspaceAndDeleteOverASelectedJoinDeleteACharacter)
{
    makeWindow(true);
    Model model;
    const QByteArray file = QByteArray(1500, 'x') + " " + QByteArray(1500, 'y') + "\r\nend";
    for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Delete}) {
        SCOPED_TRACE(key == Qt::Key_Backspace ? "Backspace" : "Delete");
        Document* d = open(file, &model);
        ASSERT_TRUE(d);
        const QTextBlock second = d->edit->document()->findBlockByNumber(1);
        ASSERT_TRUE(lines::continues(second));
        // Shift+Left at the start of a piece selects the join and nothing of the line.
        select(*d, second.position(), second.position() - 1);
        const qsizetype at = fileOffset(*d, model, second.position());
        QTest::keyClick(d->edit, key);
        if (key == Qt::Key_Backspace)
            model.replace(at - 1, at, {});
        else
            model.replace(at, at + 1, {});
        EXPECT_TRUE(sameBytes(saved(*d), model.bytes()));
    }
}

TEST_F(EditorDiff, CtrlBackspaceDeletesAWordAcrossAJoinAndKeepsTheNextLinesBreak)
{
    makeWindow(true);
    Model model;
    // At the start of a piece the word before the caret is in the piece above.
    const QByteArray xs(3000, 'x');
    Document* d = open("ab " + xs + "\r\nend", &model);
    ASSERT_TRUE(d);
    const QTextBlock second = d->edit->document()->findBlockByNumber(1);
    ASSERT_TRUE(lines::continues(second));
    select(*d, second.position(), second.position());
    const qsizetype at = fileOffset(*d, model, second.position());
    QTest::keyClick(d->edit, Qt::Key_Backspace, Qt::ControlModifier);
    model.replace(3, at, {});
    EXPECT_TRUE(sameBytes(saved(*d), model.bytes()));

    // At the start of a line it takes the line break before, which was the
    // line above's.
    d = open("a\r\nb\nc", &model);
    ASSERT_TRUE(d);
    select(*d, 2, 2);
    QTest::keyClick(d->edit, Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_TRUE(sameBytes(saved(*d), "ab\nc"));
}
