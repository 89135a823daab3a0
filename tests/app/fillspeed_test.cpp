// A big file loading in steps: what the steps cost the window (no repaint
// of a text area that shows nothing new) and what they leave in the
// document (each line's own break set as its line goes in, exactly as a
// fill at once sets them after the fact).
#include "app/documentload.h"
#include "app/documents.h"
#include "app/linemap.h"
#include "charset/textfile.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// Paint events reaching a widget.
class PaintCount final : public QObject {
public:
    explicit PaintCount(QWidget* w) { w->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

QByteArray rows(int from, int count, const char* lineBreak)
{
    QByteArray b;
    for (int n = from; n < from + count; ++n)
        b += "<TR><TD>\x93\xfa\x96\x7b" + QByteArray::number(n) + "</TD></TR>" + lineBreak;
    return b;
}

constexpr qsizetype kRunsAt = qsizetype(5) << 20;

// Mostly CR LF, with LF and CR lines; long lines (cut into pieces) here and
// there, some with a break of their own, one across a step's end, and runs
// of unusual breaks across the ends of the pieces a step decodes.
QByteArray mixedWithLongLines(qsizetype size)
{
    QByteArray b;
    b.reserve(size + (1 << 20));
    int n = 0;
    while (b.size() < size) {
        ++n;
        if (n % 997 == 0) {
            b += "<P>" + QByteArray(2500 + n % 3000, 'x') + "</P>";
            b += n % 3 == 0 ? "\n" : n % 3 == 1 ? "\r" : "\r\n";
            continue;
        }
        b += "<TR><TD>\x93\xfa\x96\x7b" + QByteArray::number(n) + "</TD></TR>";
        b += n % 7 == 0 ? "\n" : n % 11 == 0 ? "\r" : "\r\n";
    }
    // At line starts: a line across the end of the second step, and runs
    // of LF and CR lines across the end of a piece.
    b.insert(b.indexOf("<TR>", DocumentLoad::kStepBytes - 300), "<P>" + QByteArray(200000, 'y') + "</P>\r");
    b.insert(b.indexOf("<TR>", kRunsAt), rows(1, 3000, "\n") + rows(1, 3000, "\r"));
    return b + "<!-- no break at the end -->";
}

// The file's lines as the editor holds them: each piece of a line with its
// continuation mark, and the break of the line it ends (two lines sharing a
// block are split at their separator, which stands for the usual break).
QStringList linesWithBreaks(const QPlainTextEdit& edit, sjis::LineBreak usual)
{
    QStringList out;
    for (QTextBlock b = edit.document()->firstBlock(); b.isValid(); b = b.next()) {
        const QStringList parts = b.text().split(QChar(0x2028));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            const bool last = i + 1 == parts.size();
            const sjis::LineBreak lineBreak = last ? lines::lineBreakOf(b).value_or(usual) : usual;
            out << parts[i] + (i == 0 && lines::continues(b) ? QStringLiteral("+") : QString())
                       + QStringLiteral("|%1").arg(int(lineBreak));
        }
    }
    return out;
}

// The file as lines and their breaks, edited as keys edit the editor.
struct LineModel {
    std::vector<QByteArray> text, breaks;
    explicit LineModel(const QByteArray& bytes)
    {
        qsizetype at = 0;
        while (true) {
            qsizetype end = at;
            while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
                ++end;
            text.push_back(bytes.sliced(at, end - at));
            if (end == bytes.size()) {
                breaks.emplace_back();
                break;
            }
            const qsizetype next = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? end + 2 : end + 1;
            breaks.push_back(bytes.sliced(end, next - end));
            at = next;
        }
    }
    // Delete at the end of line k: the joined line keeps the second break.
    void join(size_t k)
    {
        text[k] += text[k + 1];
        breaks[k] = breaks[k + 1];
        text.erase(text.begin() + qsizetype(k) + 1);
        breaks.erase(breaks.begin() + qsizetype(k) + 1);
    }
    // Enter at the end of line k: a break of the user's, the document's.
    void split(size_t k, const QByteArray& usual)
    {
        text.insert(text.begin() + qsizetype(k) + 1, QByteArray());
        breaks.insert(breaks.begin() + qsizetype(k) + 1, breaks[k]);
        breaks[k] = usual;
    }
    QByteArray bytes() const
    {
        QByteArray out;
        for (size_t i = 0; i < text.size(); ++i)
            out += text[i] + breaks[i];
        return out;
    }
};

class FillSpeedTest : public MainWindowTest {
protected:
    Document& openLoading(const QString& name, const QByteArray& bytes)
    {
        writeAll(path(name), bytes);
        QString error;
        const Result<Document*> opened = w->documents().open(path(name));
        error = opened.message();
        Document* d = opened.value();
        EXPECT_TRUE(d) << error.toStdString();
        EXPECT_TRUE(DocumentLoad::of(d->edit->document()));
        return *d;
    }
    void waitForLoad(Document& d)
    {
        while (DocumentLoad::of(d.edit->document()))
            QCoreApplication::processEvents();
    }
};

} // namespace

TEST_F(FillSpeedTest, StepsBelowTheScreenGrowTheScrollBarWithoutRepaintingTheText)
{
    TFmMain& m = makeWindow(true);
    m.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    QByteArray bytes;
    while (bytes.size() < DocumentLoad::kAtOnceBytes + 5 * DocumentLoad::kStepBytes)
        bytes += rows(int(bytes.size()), 1000, "\r\n");
    Document& d = openLoading(QStringLiteral("big.html"), bytes);
    QScrollBar* bar = d.edit->verticalScrollBar();
    PaintCount paints(d.edit->viewport());
    // Paints and scroll range as each step ends (after the window has shown
    // the progress, which paints what is due).
    std::vector<int> paintsAt, maximumAt;
    DocumentLoad* load = DocumentLoad::of(d.edit->document());
    QObject::connect(load, &DocumentLoad::progressed, load, [&](qsizetype done, qsizetype total) {
        if (done < total) {
            paintsAt.push_back(paints.count);
            maximumAt.push_back(bar->maximum());
        }
    });
    waitForLoad(d);
    ASSERT_GE(paintsAt.size(), size_t(4));
    // The first screen stays as it was: the steps paint nothing of it.
    EXPECT_EQ(paintsAt.back(), paintsAt.front());
    // The scroll bar follows the text as it comes in, to the whole file.
    for (size_t i = 1; i < maximumAt.size(); ++i)
        EXPECT_GT(maximumAt[i], maximumAt[i - 1]);
    QCoreApplication::processEvents();
    EXPECT_GE(bar->maximum(), d.edit->document()->blockCount() - bar->pageStep() - 1);
    EXPECT_FALSE(d.edit->isReadOnly());

    // Scrolled down to what is in, the user sees the steps land.
    Document& e = openLoading(QStringLiteral("again.html"), bytes);
    QCoreApplication::processEvents();
    QScrollBar* eBar = e.edit->verticalScrollBar();
    eBar->setValue(eBar->maximum());
    QCoreApplication::processEvents();
    PaintCount ePaints(e.edit->viewport());
    int before = -1, after = -1;
    DocumentLoad* eLoad = DocumentLoad::of(e.edit->document());
    QObject::connect(eLoad, &DocumentLoad::progressed, eLoad, [&](qsizetype, qsizetype) {
        if (before < 0)
            before = ePaints.count;
        else if (after < 0)
            after = ePaints.count;
    });
    waitForLoad(e);
    EXPECT_GT(after, before);
    EXPECT_TRUE(editorText(*e.edit) == sjis::decodeDocument(bytes).text);
}

TEST_F(FillSpeedTest, MixedBreaksPairOnlyAtTheUsualBreakAndEveryLineKeepsItsOwn)
{
    makeWindow(true);
    const QByteArray bytes = mixedWithLongLines(DocumentLoad::kAtOnceBytes + 3 * DocumentLoad::kStepBytes);
    Document& d = openLoading(QStringLiteral("mixed.html"), bytes);
    waitForLoad(d);
    EXPECT_TRUE(d.mixedBreaks);
    // Short lines share blocks where the first one's break is the usual one.
    const QTextDocument* doc = d.edit->document();
    EXPECT_LT(doc->blockCount(), int(sjis::lineBreaksOf(bytes).size()) * 3 / 4);
    QPlainTextEdit atOnce;
    fillEditor(atOnce, bytes);   // a block for each line
    const QStringList loaded = linesWithBreaks(*d.edit, d.lineBreak);
    const QStringList filled = linesWithBreaks(atOnce, d.lineBreak);
    ASSERT_EQ(loaded.size(), filled.size());
    int differ = 0;
    for (qsizetype i = 0; i < loaded.size(); ++i)
        if (loaded[i] != filled[i] && ++differ < 5)
            ADD_FAILURE() << "line " << i << ": " << loaded[i].left(80).toStdString() << " / "
                          << filled[i].left(80).toStdString();
    EXPECT_EQ(differ, 0);
    EXPECT_TRUE(*documentBytes(*d.edit, d.lineBreak, true, nullptr) == bytes);

    // Joins and breaks by real keys where paired lines meet single ones,
    // unusual breaks and the ends of pieces: the bytes follow.
    LineModel model(bytes);
    LineMap& map = LineMap::of(d.edit->document());
    const int runs = int(LineModel(bytes.first(bytes.indexOf("<TR>", kRunsAt))).text.size()) - 1;
    const int firstScreen = 2000;
    std::vector<int> at;
    for (int base : {firstScreen, runs - 3, runs + 2999, runs + 5997})
        for (int k = 0; k < 4; ++k)
            at.push_back(base + k);
    d.edit->setFocus();
    for (auto it = at.rbegin(); it != at.rend(); ++it) {
        const int line = *it;
        auto caretAtEnd = [&](int l) {
            QTextCursor c(d.edit->document());
            c.setPosition(map.lineEndPosition(map.lineStartPosition(l)));
            d.edit->setTextCursor(c);
        };
        caretAtEnd(line);
        if (line % 2 == 0) {
            QTest::keyClick(d.edit, Qt::Key_Delete);
            model.join(size_t(line));
        } else {
            QTest::keyClick(d.edit, Qt::Key_Return);
            model.split(size_t(line), "\r\n");
            QTest::keyClick(d.edit, Qt::Key_Backspace);   // at the start of the new line
            model.join(size_t(line));
            caretAtEnd(line);
            QTest::keyClick(d.edit, Qt::Key_Return);
            model.split(size_t(line), "\r\n");
        }
        ASSERT_TRUE(*documentBytes(*d.edit, d.lineBreak, true, nullptr) == model.bytes()) << "line " << line;
    }
    const QByteArray expected = model.bytes();
    QTest::keyClick(d.edit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(readAll(path(QStringLiteral("mixed.html"))) == expected);
}
