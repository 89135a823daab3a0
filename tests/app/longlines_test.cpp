// Minified pages: a long line is held in pieces, and everything the user
// meets still counts the file's lines — saved bytes, the status bar, the tag
// at the caret, search, copying, keys typed at the joins, undo.
#include "app/document.h"
#include "app/documents.h"
#include "app/editoraccessible.h"
#include "app/linemap.h"
#include "charset/textfile.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

namespace {

// A minified page: tags, text, Shift_JIS kana and kanji, some stretches
// without a '>' or a space for a long way.
QByteArray minified(qsizetype size, quint32 seed = 7)
{
    QRandomGenerator rng(seed);
    QByteArray b = "<HTML><BODY>";
    while (b.size() < size) {
        switch (rng.bounded(5)) {
        case 0: b += "<A HREF=\"x.html?q=" + QByteArray::number(rng.bounded(100000)) + "\">"; break;
        case 1: b += "\x93\xfa\x96\x7b\x8c\xea\xb1\xb2"; break;   // 日本語ｱｲ
        case 2: b += QByteArray(int(rng.bounded(3000)), 'z'); break;
        case 3: b += "</A> &amp; "; break;
        default: b += "<TD CLASS=c" + QByteArray::number(rng.bounded(9)) + ">"; break;
        }
    }
    return b;
}

std::optional<QByteArray> bytesOf(const Document& d)
{
    return documentBytes(*d.edit, d.lineBreak, d.mixedBreaks, nullptr);
}

// Puts the caret at a file position (line, column) through the map.
void caretAt(DocumentEditor* e, int line, int column)
{
    QTextCursor c(e->document());
    c.setPosition(LineMap::of(e->document()).documentPositionAt(line, column));
    e->setTextCursor(c);
}

class LongLines : public MainWindowTest {
protected:
    Document& open(const QByteArray& bytes)
    {
        writeAll(path("page.html"), bytes);
        QString error;
        const Result<Document*> opened = w->documents().open(path("page.html"));
        error = opened.message();
        Document* d = opened.value();
        EXPECT_TRUE(d) << error.toStdString();
        return *d;
    }
};

} // namespace

TEST(LongLineFill, PiecesRoundTripAndStayShort)
{
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    const QByteArray page = minified(200'000);
    const Case cases[] = {
        {"one line", page},
        {"one line, CR LF after", page + "\r\n"},
        {"short, long, short lines", "<P>\r\n" + page + "\r\n<P>\r\n" + page},
        {"mixed breaks", "a\r\n" + page + "\n" + page + "\rb\r\n"},
        {"exactly the limit", QByteArray(int(lines::kLongLine), 'q') + "\n" +
                                  QByteArray(int(lines::kLongLine) + 1, 'q')},
        {"nothing but '>'", QByteArray(9000, '>')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QPlainTextEdit edit;
        const FillResult r = fillEditor(edit, c.bytes, 4096);
        const sjis::DocumentText whole = sjis::decodeDocument(c.bytes);
        EXPECT_TRUE(editorText(edit) == whole.text);
        const std::optional<QByteArray> out = documentBytes(edit, r.lineBreak, r.mixedBreaks, nullptr);
        ASSERT_TRUE(out);
        EXPECT_TRUE(*out == c.bytes);
        int lines = 0;
        for (QTextBlock b = edit.document()->firstBlock(); b.isValid(); b = b.next()) {
            if (!lines::continues(b))
                ++lines;
            if (lines::continues(b) || lines::continues(b.next())) {
                EXPECT_LE(b.length() - 1, lines::kPiece);
                EXPECT_GT(b.length() - 1, 0);
            }
        }
        EXPECT_EQ(lines, whole.text.count(u'\n') + 1);
        EXPECT_FALSE(edit.document()->isUndoAvailable());
    }
    // A line of 2 MB stays in pieces of about a thousand characters.
    QPlainTextEdit big;
    fillEditor(big, minified(2'000'000));
    EXPECT_GT(big.document()->blockCount(), 2000);
}

TEST_F(LongLines, StatusTagLineAndSearchCountTheFilesLines)
{
    TFmMain& m = makeWindow(true);
    const QByteArray page = minified(60'000, 3);
    // Line 1 holds a tag placed across the first join.
    const sjis::DocumentText text = sjis::decodeDocument("<P>\r\n" + page + "\r\nend");
    Document& d = open("<P>\r\n" + page + "\r\nend");
    QTextBlock second = d.edit->document()->findBlockByNumber(1);
    ASSERT_TRUE(lines::continues(second.next()));

    // Every column of a stretch across the join: status bar, tag at the caret.
    const QString line1 = text.text.section(u'\n', 1, 1);
    EXPECT_EQ(m.lineText(1), line1);
    const int join = second.length() - 1;
    for (int column : {0, join - 1, join, join + 1, int(line1.size())}) {
        caretAt(d.edit, 1, column);
        m.UpdateCaret();
        EXPECT_EQ(m.statusPanel(0), QStringLiteral("  行 ： 1 列 ： %1").arg(column));
        const qsizetype lt = line1.lastIndexOf(u'<', column - 1 < 0 ? 0 : column - 1);
        const qsizetype gt = line1.indexOf(u'>', column);
        const QString tag = column > 0 && lt >= 0 && gt >= 0 ? line1.mid(lt, gt + 1 - lt) : QString();
        EXPECT_EQ(m.CaretTagText(), tag) << column;
    }
    caretAt(d.edit, 2, 2);
    m.UpdateCaret();
    EXPECT_EQ(m.statusPanel(0), QStringLiteral("  行 ： 2 列 ： 2"));
    EXPECT_EQ(m.lineText(2), QStringLiteral("end"));

    // A search for text across a join selects it whole; the next one goes on.
    int k = 3;   // as much around the join as makes it the first match
    while (line1.indexOf(line1.mid(join - k, 2 * k), 0, Qt::CaseInsensitive) != join - k)
        ++k;
    const QString needle = line1.mid(join - k, 2 * k);
    caretAt(d.edit, 0, 0);
    m.findChild<QLineEdit*>("SearchEdit")->setText(needle);
    m.action("MSearch")->trigger();
    m.findChild<QPushButton*>("BtnSearch")->click();
    EXPECT_EQ(m.selectedText(), needle);
    EXPECT_EQ(LineMap::of(d.edit->document()).positionOf(d.edit->textCursor().selectionStart()).column,
              join - k);
    // Copying it puts the same text on the clipboard; MOne selects the
    // whole line, every piece of it.
    m.action("MCopy")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), needle);
    m.UpdateCaret();
    m.action("MOne")->trigger();
    EXPECT_EQ(m.selectedText(), line1);
}

TEST_F(LongLines, KeysAtJoinsEditTheFileTextAndUndoRestoresIt)
{
    makeWindow(true);
    const QByteArray page = minified(30'000, 11);
    Document& d = open(page + "\r\n<P>");
    d.edit->setFocus();
    QString expected = sjis::decodeDocument(page + "\r\n<P>").text;
    const QTextBlock first = d.edit->document()->firstBlock();
    const int join = first.length() - 1;
    auto check = [&](const char* what) {
        SCOPED_TRACE(what);
        EXPECT_TRUE(editorText(*d.edit) == expected);
        const std::optional<QByteArray> bytes = bytesOf(d);
        ASSERT_TRUE(bytes);
        EXPECT_TRUE(*bytes == sjis::encodeDocument(expected, sjis::LineBreak::CrLf, nullptr));
    };
    auto atStartOfSecondPiece = [&] {
        QTextCursor c(d.edit->document());
        c.setPosition(d.edit->document()->firstBlock().next().position());
        d.edit->setTextCursor(c);
    };

    atStartOfSecondPiece();
    QTest::keyClick(d.edit, Qt::Key_Backspace);
    expected.remove(join - 1, 1);
    check("Backspace at a piece's start deletes the character before");

    QTextCursor c(d.edit->document());
    c.setPosition(d.edit->document()->firstBlock().position() + join - 1);   // end of piece 1
    d.edit->setTextCursor(c);
    QTest::keyClick(d.edit, Qt::Key_Delete);
    expected.remove(join - 1, 1);
    check("Delete at a piece's end deletes the character after");

    atStartOfSecondPiece();
    QTest::keyClick(d.edit, Qt::Key_X);
    expected.insert(join - 1, u'x');
    check("typing at the join");

    QTest::keyClick(d.edit, Qt::Key_Return);
    expected.insert(join, u'\n');
    check("Enter in a piece starts a file line there");
    d.edit->moveCursor(QTextCursor::End);
    QTest::keyClick(d.edit, Qt::Key_Return, Qt::ShiftModifier);
    expected += u'\n';
    check("Shift+Enter too");

    // A long multi-line paste into the middle of a piece.
    const QString pasted = sjis::decodeDocument(minified(9'000, 5)).text + QStringLiteral("\n<BR>\n")
                           + sjis::decodeDocument(minified(5'000, 6)).text;
    atStartOfSecondPiece();
    const int at = LineMap::of(d.edit->document()).positionOf(d.edit->textCursor().position()).column;
    QApplication::clipboard()->setText(pasted);
    w->action("MPaste")->trigger();
    expected.insert(at, pasted);
    check("a paste of long lines");
    for (QTextBlock b = d.edit->document()->firstBlock(); b.isValid(); b = b.next())
        EXPECT_LE(b.length() - 1, 2 * lines::kLongLine);

    // Undo takes each step back, the paste in one; the file is as opened.
    for (int i = 0; i < 6; ++i)
        d.edit->undo();
    expected = sjis::decodeDocument(page + "\r\n<P>").text;
    check("everything undone");
    EXPECT_FALSE(d.edit->document()->isUndoAvailable());
    d.edit->redo();
    d.edit->redo();
    d.edit->undo();
    d.edit->undo();
    check("redone and undone again");
}

TEST_F(LongLines, InputMethodAndAccessibleText)
{
    makeWindow(true);
    const QByteArray page = minified(20'000, 13);
    Document& d = open(page);
    d.edit->setFocus();
    QString expected = sjis::decodeDocument(page).text;
    caretAt(d.edit, 0, 3000);

    // Pre-edit text shows at the caret without touching the text; the
    // commit goes in where the caret is.
    QInputMethodEvent preedit(QStringLiteral("にほん"), {});
    QApplication::sendEvent(d.edit, &preedit);
    EXPECT_EQ(d.edit->textCursor().block().layout()->preeditAreaText(), QStringLiteral("にほん"));
    EXPECT_TRUE(editorText(*d.edit) == expected);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("日本"));
    QApplication::sendEvent(d.edit, &commit);
    expected.insert(3000, QStringLiteral("日本"));
    EXPECT_TRUE(editorText(*d.edit) == expected);
    const QRect caret = d.edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_EQ(caret, d.edit->cursorRect());

    // Screen readers read the file's text: a join reads as an invisible word
    // joiner, never a line break, and offsets are the editor's positions.
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(d.edit);
    ASSERT_TRUE(a && a->textInterface() && a->editableTextInterface());
    QAccessibleTextInterface* t = a->textInterface();
    QString read = t->text(0, t->characterCount());
    EXPECT_EQ(read.size(), d.edit->document()->characterCount() - 1);
    EXPECT_EQ(read.count(u'\n'), 0);
    EXPECT_GT(read.count(QChar(kJoinCharacter)), 10);
    EXPECT_TRUE(read.remove(QChar(kJoinCharacter)) == expected);
    EXPECT_EQ(t->cursorPosition(), d.edit->textCursor().position());
    const int join = d.edit->document()->firstBlock().length() - 1;
    int s = 0, e = 0;
    EXPECT_EQ(t->textAtOffset(join - 1, QAccessible::CharBoundary, &s, &e), expected.mid(join - 1, 1));
    EXPECT_EQ(t->textAtOffset(join, QAccessible::CharBoundary, &s, &e), QString(QChar(kJoinCharacter)));
    t->setSelection(0, join - 2, join + 3);
    EXPECT_EQ(w->selectedText(), expected.mid(join - 2, 4));
    a->editableTextInterface()->insertText(0, QStringLiteral("<!-- -->\n"));
    EXPECT_TRUE(editorText(*d.edit) == QStringLiteral("<!-- -->\n") + expected);

    // A document without long lines reads exactly as its text.
    Document& small = open("<P>\r\n\x93\xfa\x96\x7b\r\n");
    QAccessibleInterface* b = QAccessible::queryAccessibleInterface(small.edit);
    EXPECT_EQ(b->textInterface()->text(0, b->textInterface()->characterCount()),
              QStringLiteral("<P>\n日本\n"));
    EXPECT_EQ(b->role(), QAccessible::EditableText);
}
