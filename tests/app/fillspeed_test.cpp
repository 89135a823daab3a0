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

// Each block as text, its continuation mark and its line's own break.
QStringList blocksWithBreaks(const QPlainTextEdit& edit)
{
    QStringList out;
    for (QTextBlock b = edit.document()->firstBlock(); b.isValid(); b = b.next()) {
        const std::optional<sjis::LineBreak> lineBreak = lines::lineBreakOf(b);
        out << b.text() + (lines::continues(b) ? QStringLiteral("+") : QString())
                   + (lineBreak ? QStringLiteral("|%1").arg(int(*lineBreak)) : QString());
    }
    return out;
}

class FillSpeedTest : public MainWindowTest {
protected:
    Document& openLoading(const QString& name, const QByteArray& bytes)
    {
        writeAll(path(name), bytes);
        QString error;
        Document* d = w->documents().open(path(name), &error);
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

TEST_F(FillSpeedTest, MixedBreaksGoInWithTheirLinesAsAFillAtOnceSetsThem)
{
    makeWindow(true);
    const QByteArray bytes = mixedWithLongLines(DocumentLoad::kAtOnceBytes + 3 * DocumentLoad::kStepBytes);
    Document& d = openLoading(QStringLiteral("mixed.html"), bytes);
    waitForLoad(d);
    EXPECT_TRUE(d.mixedBreaks);
    QPlainTextEdit atOnce;
    fillEditor(atOnce, bytes);
    const QStringList loaded = blocksWithBreaks(*d.edit);
    const QStringList filled = blocksWithBreaks(atOnce);
    ASSERT_EQ(loaded.size(), filled.size());
    int differ = 0;
    for (qsizetype i = 0; i < loaded.size(); ++i)
        if (loaded[i] != filled[i] && ++differ < 5)
            ADD_FAILURE() << "block " << i << ": " << loaded[i].left(80).toStdString() << " / "
                          << filled[i].left(80).toStdString();
    EXPECT_EQ(differ, 0);
    EXPECT_TRUE(*documentBytes(*d.edit, d.lineBreak, true, nullptr) == bytes);

    // Joins and splits where unusual breaks meet: the bytes follow.
    QByteArray expected = bytes;
    LineMap& map = LineMap::of(d.edit->document());
    const QByteArray lfLine = "\x93\xfa\x96\x7b" "2002</TD></TR>\n";     // the run of LF lines
    const QByteArray crLine = "\x93\xfa\x96\x7b" "2999</TD></TR>\r";     // the run of CR lines
    for (const QByteArray& line : {lfLine, crLine}) {
        const qsizetype at = expected.indexOf(line, kRunsAt);
        ASSERT_GE(at, 0);
        const int lineNumber = int(expected.first(at).count('\n') + expected.first(at).count('\r')
                                   - expected.first(at).count("\r\n"));
        QTextCursor c(d.edit->document());
        c.setPosition(map.lineEndPosition(map.lineStartPosition(lineNumber)));
        d.edit->setTextCursor(c);
        d.edit->setFocus();
        QTest::keyClick(d.edit, Qt::Key_Delete);   // joins with the next line, which keeps its break
        expected.remove(at + line.size() - 1, 1);
        QTest::keyClick(d.edit, Qt::Key_Return);   // a break of the user's: the document's
        expected.insert(at + line.size() - 1, "\r\n");
        QTest::keyClick(d.edit, Qt::Key_Backspace);
        expected.remove(at + line.size() - 1, 2);
    }
    EXPECT_TRUE(*documentBytes(*d.edit, d.lineBreak, true, nullptr) == expected);
    QTest::keyClick(d.edit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(readAll(path(QStringLiteral("mixed.html"))) == expected);
}
