// A long line held in pieces behaves as one line of the file: caret moves,
// Home/End, word moves and a triple click match an editor holding the same
// line in one block; a dragged selection keeps the lines around it; and
// paper shows every line whole, wrapped at the page's edge.
#include "app/document.h"
#include "app/documents.h"
#include "app/fileline.h"
#include "app/linemap.h"
#include "charset/textfile.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>

namespace {

// A line of words, tags and long stretches without spaces, so its pieces
// are cut after a '>', after a space and inside a word.
QString longLine(int size, quint32 seed)
{
    QRandomGenerator rng(seed);
    QString s;
    while (s.size() < size) {
        switch (rng.bounded(4)) {
        case 0: s += QStringLiteral("<A HREF=\"p%1.html\">").arg(rng.bounded(1000)); break;
        case 1: s += QString(int(rng.bounded(1, 1500)), u'z'); break;
        case 2: s += QStringLiteral("日本語 "); break;
        default: s += QStringLiteral("w%1 ").arg(rng.bounded(100000)); break;
        }
    }
    return s;
}

class FileLine : public MainWindowTest {
protected:
    Document& open(const QString& text)
    {
        writeAll(path("page.html"), *sjis::encodeDocument(text, sjis::LineBreak::CrLf, nullptr));
        QString error;
        const Result<Document*> opened = w->documents().open(path("page.html"));
        error = opened.message();
        Document* d = opened.value();
        EXPECT_TRUE(d) << error.toStdString();
        return *d;
    }
};

// The caret of an editor as (line, column) of the file, and the selection's
// other end.
std::pair<LineMap::Position, LineMap::Position> place(QPlainTextEdit& e)
{
    LineMap& map = LineMap::of(e.document());
    const QTextCursor c = e.textCursor();
    return {map.positionOf(c.position()), map.positionOf(c.anchor())};
}

bool operator==(const LineMap::Position& a, const LineMap::Position& b)
{
    return a.line == b.line && a.column == b.column;
}

} // namespace

TEST_F(FileLine, CaretMovesOverPiecesMatchAnEditorHoldingTheLineWhole)
{
    makeWindow(true);
    const QString line = longLine(7000, 3);
    const QString text = QStringLiteral("<P>\n") + line + QStringLiteral("\nBBBB");
    Document& d = open(text);
    ASSERT_TRUE(LineMap::of(d.edit->document()).hasPieces());
    d.edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    d.edit->setFocus();

    // The same text with every line in one block.
    QPlainTextEdit whole;
    whole.setLineWrapMode(QPlainTextEdit::NoWrap);
    whole.setPlainText(text);
    whole.show();

    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
    };
    const Key keys[] = {
        {Qt::Key_Right, {}},  {Qt::Key_Left, {}},  {Qt::Key_Right, Qt::ShiftModifier},
        {Qt::Key_Left, Qt::ShiftModifier},         {Qt::Key_Right, Qt::ControlModifier},
        {Qt::Key_Left, Qt::ControlModifier},       {Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier},
        {Qt::Key_Home, {}},   {Qt::Key_End, {}},   {Qt::Key_End, Qt::ShiftModifier},
        {Qt::Key_Home, Qt::ShiftModifier},
    };
    QRandomGenerator rng(9);
    LineMap& map = LineMap::of(d.edit->document());
    int differences = 0;
    for (int step = 0; step < 3000 && differences < 5; ++step) {
        if (step % 40 == 0) {
            // Somewhere else on the long line, at a join now and then.
            int column = int(rng.bounded(line.size() + 1));
            QTextCursor c(d.edit->document());
            if (step % 80 == 0) {
                QTextBlock b = d.edit->document()->findBlock(map.documentPositionAt(1, column));
                c.setPosition(b.position() + b.length() - 1);   // a piece's end
                column = map.positionOf(c.position()).column;
            } else {
                c.setPosition(map.documentPositionAt(1, column));
            }
            d.edit->setTextCursor(c);
            QTextCursor r(whole.document());
            r.setPosition(whole.document()->findBlockByNumber(1).position() + column);
            whole.setTextCursor(r);
        }
        const Key k = keys[rng.bounded(int(std::size(keys)))];
        QTest::keyClick(d.edit, k.key, k.mods);
        QTest::keyClick(&whole, k.key, k.mods);
        const auto [caret, anchor] = place(*d.edit);
        const auto [wholeCaret, wholeAnchor] = place(whole);
        if (!(caret == wholeCaret) || !(anchor == wholeAnchor)) {
            ++differences;
            ADD_FAILURE() << "step " << step << " key " << k.key << " mods " << int(k.mods) << ": caret "
                          << caret.line << ":" << caret.column << " anchor " << anchor.line << ":"
                          << anchor.column << ", whole line " << wholeCaret.line << ":" << wholeCaret.column
                          << " anchor " << wholeAnchor.line << ":" << wholeAnchor.column;
        }
        // Whatever is selected copies as the file's text.
        if (d.edit->textCursor().hasSelection()) {
            d.edit->copy();
            EXPECT_EQ(QApplication::clipboard()->text(),
                      whole.textCursor().selectedText().replace(QChar(0x2029), u'\n')) << step;
        }
    }

    // With wrapping the screen's lines lead Home and End, as in any editor,
    // and an arrow still never stops on a join.
    d.edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QTextCursor c(d.edit->document());
    c.setPosition(map.documentPositionAt(1, 0));
    d.edit->setTextCursor(c);
    for (int i = 1; i <= 2500; ++i) {
        QTest::keyClick(d.edit, Qt::Key_Right);
        ASSERT_EQ(map.positionOf(d.edit->textCursor().position()).column, i);
    }
}

TEST_F(FileLine, TripleClickSelectsTheFileLineAndADraggedSelectionKeepsTheLinesAround)
{
    makeWindow(true);
    const QString line = QString(1500, u'x') + u' ' + QString(1500, u'y');
    Document& d = open(QStringLiteral("A\n") + line + QStringLiteral("\nBBBB\n"));
    QTextDocument* doc = d.edit->document();
    ASSERT_TRUE(lines::continues(doc->findBlockByNumber(2)));

    // A triple click on the second piece.
    QTextCursor c(doc);
    c.setPosition(doc->findBlockByNumber(2).position() + 5);
    d.edit->setTextCursor(c);
    d.edit->ensureCursorVisible();
    const QPoint at = d.edit->cursorRect().center();
    QTest::mouseDClick(d.edit->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseClick(d.edit->viewport(), Qt::LeftButton, {}, at);
    d.edit->copy();
    EXPECT_EQ(QApplication::clipboard()->text(), line + u'\n');

    // Dragged from the start of the second piece into "BB" and dropped
    // after "A": the lines around both places keep their starts and breaks.
    c.setPosition(doc->findBlockByNumber(2).position());
    c.setPosition(LineMap::of(doc).documentPositionAt(2, 2), QTextCursor::KeepAnchor);
    const QString dragged = LineMap::of(doc).textBetween(c.selectionStart(), c.selectionEnd());
    const QTextCursor moved = lines::moveSelection(c, 1);
    QString expected = QStringLiteral("A\n") + line + QStringLiteral("\nBBBB\n");
    const qsizetype from = expected.indexOf(dragged);
    expected.remove(from, dragged.size());
    expected.insert(1, dragged);
    EXPECT_TRUE(editorText(*d.edit) == expected);
    EXPECT_EQ(LineMap::of(doc).textBetween(moved.selectionStart(), moved.selectionEnd()), dragged);
    EXPECT_EQ(documentBytes(*d.edit, d.lineBreak, d.mixedBreaks, nullptr),
              sjis::encodeDocument(expected, sjis::LineBreak::CrLf, nullptr));
    d.edit->undo();
    EXPECT_TRUE(editorText(*d.edit) == QStringLiteral("A\n") + line + QStringLiteral("\nBBBB\n"));
}

TEST_F(FileLine, PaperShowsEveryLineWholeWrappedAtThePageEdge)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    makeWindow(true);
    QString line;
    for (int i = 0; i < 1200; ++i)
        line += QStringLiteral("w%1 ").arg(i, 4, 10, QLatin1Char('0'));
    Document& d = open(QStringLiteral("<P>top\n") + line + QStringLiteral("\n<P>end\n"));
    ASSERT_TRUE(LineMap::of(d.edit->document()).hasPieces());

    for (const bool wrap : {false, true}) {
        SCOPED_TRACE(wrap ? "wrapping" : "not wrapping");
        d.edit->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        const QString pdf = path(QStringLiteral("out%1.pdf").arg(int(wrap)));
        prompts.printAnswers.push_back([&](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            return true;
        });
        w->action("MPrintStart")->trigger();
        QProcess proc;
        proc.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
        ASSERT_TRUE(proc.waitForFinished(30000));
        const QStringList printed = QString::fromUtf8(proc.readAllStandardOutput())
                                        .split(u'\n', Qt::SkipEmptyParts);
        // Every word is on paper, none cut at a page's edge ...
        const QString all = printed.join(u' ');
        for (int i = 0; i < 1200; ++i)
            ASSERT_TRUE(all.contains(QStringLiteral("w%1").arg(i, 4, 10, QLatin1Char('0')))) << i;
        // ... and the long line's lines on paper are all full but its last.
        QList<qsizetype> widths;
        for (const QString& l : printed)
            if (l.startsWith(u'w'))
                widths.append(l.trimmed().size());
        ASSERT_GT(widths.size(), 3);
        const qsizetype widest = *std::max_element(widths.begin(), widths.end());
        for (qsizetype i = 0; i + 1 < widths.size(); ++i)
            EXPECT_GE(widths[i], widest - 6) << "printed line " << i;
    }
}
