// HTML colouring: what a line's pieces are, colours readable on any
// background, and the editor colouring only what it shows while keeping
// tags and comments that run over many lines right.
#include "composition.h"
#include "app/htmlcolouring.h"
#include "app/htmllexer.h"
#include "app/filecommands.h"
#include "app/linemap.h"
#include "app/settings.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QAction>
#include <QMenu>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

namespace {

// The pieces of `line` as "kind:text" words.
QStringList pieces(const QString& line, HtmlState in = HtmlState(), HtmlState* out = nullptr)
{
    static const char* const names[] = {"tag", "name", "value", "comment", "ref"};
    QList<HtmlSpan> spans;
    const HtmlState end = scanHtmlLine(line, in, &spans);
    if (out)
        *out = end;
    QStringList words;
    for (const HtmlSpan& s : spans)
        words << QStringLiteral("%1:%2").arg(QLatin1String(names[int(s.kind)]), line.mid(s.start, s.length));
    return words;
}

} // namespace

TEST(HtmlLexer, PiecesOfOneLine)
{
    EXPECT_EQ(pieces(QStringLiteral("<A HREF=\"x.htm\" target=_top>a &amp; b&#x41;&#65;</a>")),
              (QStringList{"tag:<A", "name:HREF", "value:\"x.htm\"", "name:target", "value:_top",
                           "tag:>", "ref:&amp;", "ref:&#x41;", "ref:&#65;", "tag:</a", "tag:>"}));
    EXPECT_EQ(pieces(QStringLiteral("<BR/> x<!-- c <b> -->y & z &x <3 < a")),
              (QStringList{"tag:<BR", "tag:/", "tag:>", "comment:<!-- c <b> -->"}))
        << "a lone & or < is text";
    EXPECT_EQ(pieces(QStringLiteral("<!DOCTYPE html><IMG SRC='a b.gif' ALT=\"\">")),
              (QStringList{"tag:<!DOCTYPE", "name:html", "tag:>", "tag:<IMG", "name:SRC",
                           "value:'a b.gif'", "name:ALT", "value:\"\"", "tag:>"}));
}

TEST(HtmlLexer, TagsCommentsAndScriptsOverSeveralLines)
{
    HtmlState s;
    EXPECT_EQ(pieces(QStringLiteral("x <A HREF=\"long"), s, &s), (QStringList{"tag:<A", "name:HREF", "value:\"long"}));
    EXPECT_EQ(contextOf(s), HtmlContext::Quoted);
    EXPECT_EQ(pieces(QStringLiteral("value\" TITLE=t"), s, &s), (QStringList{"value:value\"", "name:TITLE", "value:t"}));
    EXPECT_EQ(contextOf(s), HtmlContext::Tag);
    EXPECT_EQ(pieces(QStringLiteral("  >text<!-- open"), s, &s), (QStringList{"tag:>", "comment:<!-- open"}));
    EXPECT_EQ(contextOf(s), HtmlContext::Comment);
    EXPECT_EQ(pieces(QStringLiteral("<B>still comment"), s, &s), (QStringList{"comment:<B>still comment"}));
    EXPECT_EQ(pieces(QStringLiteral("end --><P>"), s, &s), (QStringList{"comment:end -->", "tag:<P", "tag:>"}));
    EXPECT_EQ(contextOf(s), HtmlContext::Text);
    EXPECT_EQ(pieces(QStringLiteral("<!-->x"), s, &s), (QStringList{"comment:<!-->x"}))
        << "\"<!-->\" does not close the comment it opens";
    EXPECT_EQ(contextOf(s), HtmlContext::Comment);

    // Script bodies hold no tags, whatever they compare.
    s = HtmlState();
    EXPECT_EQ(pieces(QStringLiteral("<SCRIPT type=\"t\">if (a<b && c>d)"), s, &s),
              (QStringList{"tag:<SCRIPT", "name:type", "value:\"t\"", "tag:>"}));
    EXPECT_EQ(contextOf(s), HtmlContext::Script);
    EXPECT_EQ(pieces(QStringLiteral("x = '<p>';</Script><b>"), s, &s), (QStringList{"tag:</Script", "tag:>", "tag:<b", "tag:>"}));
    EXPECT_EQ(contextOf(s), HtmlContext::Text);
    EXPECT_EQ(pieces(QStringLiteral("<style"), s, &s), (QStringList{"tag:<style"}));
    EXPECT_EQ(contextOf(s), HtmlContext::Tag);
    EXPECT_TRUE(pieces(QStringLiteral("> p<b {}"), s, &s).size() == 1);
    EXPECT_EQ(contextOf(s), HtmlContext::Style);
}

TEST(HtmlColours, ReadableAndDistinctOnEveryBackground)
{
    const QColor texts[] = {Qt::black, Qt::white, QColor(0, 0, 0x80), QColor(0xC0, 0xC0, 0xC0)};
    for (int bg = 0; bg < 16; ++bg) {
        const QColor base = settingsColor(bg);
        for (const QColor& text : texts) {
            const HtmlColours c = htmlColours(text, base);
            const double need = qMin(4.5, contrastRatio(text, base));
            for (int k = 0; k < kHtmlKindCount; ++k)
                EXPECT_GE(contrastRatio(c.kind[k], base) + 1e-9, need)
                    << "kind " << k << " on " << base.name().toStdString() << " with "
                    << text.name().toStdString();
        }
    }
    for (const QColor& base : {QColor(Qt::white), QColor(Qt::black), QColor(0, 0, 0x80)}) {
        const HtmlColours c = htmlColours(base == Qt::white ? Qt::black : Qt::white, base);
        for (int a = 0; a < kHtmlKindCount; ++a)
            for (int b = a + 1; b < kHtmlKindCount; ++b)
                EXPECT_NE(c.kind[a], c.kind[b]) << a << " " << b;
    }
}

namespace {

class HtmlColouringTest : public MainWindowTest {
protected:
    // The colour the editor paints at column `col` of line `line`, or an
    // invalid colour where the line has the plain text colour.
    QColor shownColour(DocumentEditor& e, int line, int col)
    {
        e.viewport()->repaint();
        const QTextBlock b = e.document()->findBlockByNumber(line);
        for (const QTextLayout::FormatRange& r : b.layout()->formats())
            if (col >= r.start && col < r.start + r.length)
                return r.format.foreground().color();
        return QColor();
    }
    QColor colourOf(DocumentEditor& e, HtmlKind k)
    {
        return htmlColours(e.palette().color(QPalette::Text), e.palette().color(QPalette::Base)).of(k);
    }
    DocumentEditor& openLines(TFmMain& m, const QString& text)
    {
        Document& d = m.NewDocument();
        QTextCursor c(d.edit->document());
        c.insertText(text);
        d.edit->document()->setModified(false);
        d.edit->setTextCursor(QTextCursor(d.edit->document()));
        return *d.edit;
    }
    void showLine(DocumentEditor& e, int line)
    {
        QTextCursor c(e.document()->findBlockByNumber(line));
        e.setTextCursor(c);
        e.ensureCursorVisible();
        e.viewport()->repaint();
    }
};

} // namespace

TEST_F(HtmlColouringTest, ACommentOpenedFarAboveColoursTheShownLines)
{
    TFmMain& m = makeWindow(true);
    QString text = QStringLiteral("<!-- opened here\n-->\n");
    for (int i = 0; i < 20000; ++i)
        text += QStringLiteral("<TD ALIGN=\"right\">%1</TD>\n").arg(i);
    DocumentEditor& e = openLines(m, text);
    EditorColouring* colouring = e.colouring();
    ASSERT_NE(colouring, nullptr);
    EXPECT_EQ(shownColour(e, 0, 2), colourOf(e, HtmlKind::Comment));
    EXPECT_EQ(shownColour(e, 2, 1), colourOf(e, HtmlKind::Tag));
    EXPECT_LT(colouring->trustedLines(), 200) << "only the lines shown are read";

    // Join the first two lines by deleting "\n-->": the comment now runs on
    // to the end of the file.
    QTextCursor c(e.document());
    c.setPosition(16);
    c.setPosition(20, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    showLine(e, 19990);
    EXPECT_EQ(shownColour(e, 19990, 1), colourOf(e, HtmlKind::Comment));
    EXPECT_EQ(shownColour(e, 19990, 5), colourOf(e, HtmlKind::Comment));

    // Close it again far above the shown lines.
    c.setPosition(5);
    c.insertText(QStringLiteral("-->"));
    showLine(e, 19990);
    EXPECT_EQ(shownColour(e, 19990, 1), colourOf(e, HtmlKind::Tag));
    EXPECT_EQ(shownColour(e, 19990, 4), colourOf(e, HtmlKind::AttributeName));
    EXPECT_EQ(shownColour(e, 19990, 10), colourOf(e, HtmlKind::AttributeValue));
    EXPECT_EQ(shownColour(e, 19990, 18), QColor()) << "text between tags";

    // A key typed on a shown line rereads a few lines, not the file.
    showLine(e, 10000);
    QTextCursor k = e.textCursor();
    k.insertText(QStringLiteral("x"));
    e.viewport()->repaint();
    EXPECT_GT(colouring->trustedLines(), 19000) << "the lines below it are known to be right";
    EXPECT_EQ(shownColour(e, 10001, 1), colourOf(e, HtmlKind::Tag));
}

TEST_F(HtmlColouringTest, ATagOverSeveralLinesAndTypingInsideIt)
{
    TFmMain& m = makeWindow(true);
    DocumentEditor& e = openLines(m, QStringLiteral("<A HREF=\"a\nb.htm\"\nTITLE=t>x</A>\n<B>"));
    EXPECT_EQ(shownColour(e, 1, 0), colourOf(e, HtmlKind::AttributeValue));
    EXPECT_EQ(shownColour(e, 2, 0), colourOf(e, HtmlKind::AttributeName));
    EXPECT_EQ(shownColour(e, 2, 8), QColor());
    EXPECT_EQ(shownColour(e, 3, 0), colourOf(e, HtmlKind::Tag));

    // Typing a quote opens a value that runs on over the next lines.
    QTextCursor c(e.document()->findBlockByNumber(0));
    c.movePosition(QTextCursor::EndOfBlock);
    c.insertText(QStringLiteral("\""));
    EXPECT_EQ(shownColour(e, 1, 0), colourOf(e, HtmlKind::AttributeName));
    EXPECT_EQ(shownColour(e, 2, 8), colourOf(e, HtmlKind::AttributeValue));
    e.document()->undo();
    EXPECT_EQ(shownColour(e, 2, 8), QColor());

    EXPECT_EQ(e.document()->toPlainText(), QStringLiteral("<A HREF=\"a\nb.htm\"\nTITLE=t>x</A>\n<B>"))
        << "colouring leaves the text and its undo alone";
    // A minified line is left plain, and the lines after it still start
    // in the state it ends in.
    QTextCursor end(e.document());
    end.movePosition(QTextCursor::End);
    end.insertText(QStringLiteral("\n") + QStringLiteral("<I>x</I>").repeated(3000) + QStringLiteral("<!--\n<U>"));
    EXPECT_EQ(shownColour(e, 5, 1), colourOf(e, HtmlKind::Comment));
    EXPECT_TRUE(e.document()->findBlockByNumber(4).layout()->formats().isEmpty());
}

TEST_F(HtmlColouringTest, TheViewItemTurnsItOffAndIsKeptInTheSettings)
{
    TFmMain& m = makeWindow(true);
    QAction* item = m.action("MColoring");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isChecked()) << "on by default";
    EXPECT_TRUE(m.menu("Show1")->actions().contains(item));
    DocumentEditor& e = openLines(m, QStringLiteral("<B>x</B>"));
    EXPECT_EQ(shownColour(e, 0, 0), colourOf(e, HtmlKind::Tag));
    item->trigger();
    EXPECT_EQ(shownColour(e, 0, 0), QColor());
    EXPECT_FALSE(e.document()->isModified());
    ASSERT_TRUE(m.SaveSettings());
    EXPECT_TRUE(readAll(iniPath()).contains("[Size]\r\nX=640\r\nY=465\r\n\r\n[View]\r\nColoring=0\r\n"));
    w.reset();

    TFmMain& again = makeWindow(true);
    EXPECT_FALSE(again.action("MColoring")->isChecked());
    DocumentEditor& e2 = openLines(again, QStringLiteral("<B>x</B>"));
    EXPECT_EQ(shownColour(e2, 0, 0), QColor());
    again.action("MColoring")->trigger();
    EXPECT_EQ(shownColour(e2, 0, 0), colourOf(e2, HtmlKind::Tag));
}

namespace {

// The kind of each character of `line` (-1 where it is plain).
std::vector<int> kindsOf(const QList<HtmlSpan>& spans, qsizetype length, qsizetype offset = 0)
{
    std::vector<int> kinds(size_t(length), -1);
    for (const HtmlSpan& s : spans)
        for (int i = s.start; i < s.start + s.length; ++i)
            kinds[size_t(offset + i)] = int(s.kind);
    return kinds;
}

// HTML-ish text made of the tokens a cut may fall in.
QString randomHtml(QRandomGenerator& rng, int tokens)
{
    static const char* const words[] = {
        "<", ">", "<b", "</b>", "<!", "-", "--", "-->", "<!--", "<!DOCTYPE", "!", "/", "?", "&",
        "&amp;", "&#", "&#x", "&#65;", "&#x4f;", "&lt", ";", "#", "x", "a", "9", "f", "=", "\"",
        "'", " ", "\t", "<script", "</script", "<style", "</style", "script", "style", "<a href=",
        "<SCRIPT>", "</SCRIPT>", "v", "t", "\xe6\x97\xa5", "<s", "</s", "cript", "tyle",
        "&aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "aaaa;"};
    QString text;
    for (int i = 0; i < tokens; ++i)
        text += QString::fromUtf8(words[rng.bounded(int(std::size(words)))]);
    return text;
}

// Reads `line` cut at `cuts` (ascending) as the editor reads its pieces.
std::vector<int> kindsInPieces(const QString& line, const std::vector<qsizetype>& cuts, HtmlState in,
                               HtmlState* out)
{
    std::vector<int> kinds(size_t(line.size()), -1);
    HtmlState state = in;
    qsizetype from = 0;
    for (size_t k = 0; k <= cuts.size(); ++k) {
        const qsizetype to = k < cuts.size() ? cuts[k] : line.size();
        const QString rest = line.mid(to);
        QList<HtmlSpan> spans;
        state = scanHtmlPiece(QStringView(line).sliced(from, to - from), state,
                              QStringView(rest).left(kHtmlLookahead), rest.size() <= kHtmlLookahead, &spans);
        for (const HtmlSpan& s : spans) {
            EXPECT_GE(s.start, 0);
            EXPECT_LE(s.start + s.length, to - from);
            for (int i = s.start; i < s.start + s.length; ++i)
                kinds[size_t(from + i)] = int(s.kind);
        }
        from = to;
    }
    *out = state;
    return kinds;
}

} // namespace

TEST(HtmlLexer, ALineCutAnywhereColoursAsTheWholeLine)
{
    QRandomGenerator rng(2026);
    int compared = 0;
    HtmlState lineStart;
    for (int round = 0; round < 300; ++round) {
        const QString line = randomHtml(rng, 5 + int(rng.bounded(40)));
        QList<HtmlSpan> spans;
        const HtmlState whole = scanHtmlLine(line, lineStart, &spans);
        const std::vector<int> expected = kindsOf(spans, line.size());
        // Every single cut, then many random sets of cuts (pieces of one
        // character included).
        std::vector<std::vector<qsizetype>> cutSets;
        for (qsizetype at = 0; at <= line.size(); ++at)
            cutSets.push_back({at});
        for (int k = 0; k < 40; ++k) {
            std::vector<qsizetype> cuts;
            for (qsizetype at = 1; at < line.size(); ++at)
                if (rng.bounded(4) == 0)
                    cuts.push_back(at);
            cutSets.push_back(cuts);
        }
        for (const std::vector<qsizetype>& cuts : cutSets) {
            HtmlState end;
            const std::vector<int> got = kindsInPieces(line, cuts, lineStart, &end);
            ASSERT_EQ(got, expected) << "line \"" << line.toStdString() << "\" cut at " << cuts.size()
                                     << " places, the first at " << (cuts.empty() ? -1 : cuts[0]);
            ASSERT_EQ(end, whole) << line.toStdString();
            ++compared;
        }
        lineStart = whole;   // lines follow one another: tags and comments run on
    }
    EXPECT_GT(compared, 10000);
}

TEST(HtmlLexer, ATokenCutAtThePieceEndTakesItsColourFromWhatFollows)
{
    // The end of a piece alone cannot tell: what follows it can.
    const auto kindsAtEnd = [](const char* piece, const char* following, HtmlState in = HtmlState()) {
        QList<HtmlSpan> spans;
        const QString p = QString::fromLatin1(piece);
        scanHtmlPiece(p, in, QString::fromLatin1(following), true, &spans);
        return kindsOf(spans, p.size()).back();
    };
    EXPECT_EQ(kindsAtEnd("x<!-", "- c -->"), int(HtmlKind::Comment));
    EXPECT_EQ(kindsAtEnd("x<!-", "x>"), int(HtmlKind::Tag));
    EXPECT_EQ(kindsAtEnd("x<", "b>"), int(HtmlKind::Tag));
    EXPECT_EQ(kindsAtEnd("x<", " b"), -1);
    EXPECT_EQ(kindsAtEnd("x&am", "p;"), int(HtmlKind::Reference));
    EXPECT_EQ(kindsAtEnd("x&am", "p y"), -1);
    EXPECT_EQ(kindsAtEnd("x&am", ""), -1) << "the line ends";
    const HtmlState script = scanHtmlPiece(QStringLiteral("<script>"), HtmlState(), QStringLiteral("x"), false);
    EXPECT_EQ(contextOf(script), HtmlContext::Script);
    EXPECT_EQ(kindsAtEnd("v</scr", "ipt>", script), int(HtmlKind::Tag));
    EXPECT_EQ(kindsAtEnd("v</scr", "ibble", script), -1);
}

namespace {

class LongLineColouringTest : public HtmlColouringTest {
protected:
    // Opens `bytes` as a file is opened.
    DocumentEditor& openFile(TFmMain& m, const QByteArray& bytes)
    {
        const QString file = path(QStringLiteral("page.htm"));
        EXPECT_TRUE(writeAll(file, bytes));
        EXPECT_TRUE(openDocumentFile(m, file));
        DocumentEditor* e = m.CurrentEdit();
        e->setLineWrapMode(QPlainTextEdit::NoWrap);
        return *e;
    }

    // The colour shown for each character of the shown blocks equals the
    // colour of the same character when its file line is read whole.
    void expectColouredAsWholeLines(DocumentEditor& e)
    {
        e.viewport()->repaint();
        const QList<QTextBlock> shown = e.shownBlocks();
        ASSERT_FALSE(shown.isEmpty());
        const HtmlColours colours = htmlColours(e.palette().color(QPalette::Text), e.palette().color(QPalette::Base));
        HtmlState state;
        int checked = 0;
        for (QTextBlock b = e.document()->firstBlock(); b.isValid();) {
            // One file line: this block and those that continue it.
            QList<QTextBlock> blocks{b};
            QString line = b.text();
            for (b = b.next(); b.isValid() && lines::continues(b); b = b.next()) {
                blocks << b;
                line += b.text();
            }
            QList<HtmlSpan> spans;
            state = scanHtmlLine(line, state, &spans);
            const std::vector<int> kinds = kindsOf(spans, line.size());
            qsizetype offset = 0;
            for (const QTextBlock& piece : blocks) {
                if (shown.contains(piece)) {
                    for (int col = 0; col < piece.length() - 1; ++col) {
                        const int k = kinds[size_t(offset + col)];
                        const QColor want = k < 0 ? QColor() : colours.kind[k];
                        ASSERT_EQ(shownColour(e, piece.blockNumber(), col), want)
                            << "block " << piece.blockNumber() << " column " << col << " of \""
                            << piece.text().toStdString() << "\"";
                        ++checked;
                    }
                }
                offset += piece.length() - 1;
            }
        }
        EXPECT_GT(checked, 0);
    }

    QColor shownColour(DocumentEditor& e, int block, int col)
    {
        const QTextBlock b = e.document()->findBlockByNumber(block);
        for (const QTextLayout::FormatRange& r : b.layout()->formats())
            if (col >= r.start && col < r.start + r.length)
                return r.format.foreground().color();
        return QColor();
    }

    // Puts the caret at `column` of block `block` and shows it.
    void caretAt(DocumentEditor& e, int block, int column)
    {
        QTextCursor c(e.document()->findBlockByNumber(block));
        c.setPosition(c.position() + column);
        e.setTextCursor(c);
        e.ensureCursorVisible();
        e.viewport()->repaint();
    }
};

QByteArray repeated(const char* s, int n)
{
    return QByteArray(s).repeated(n);
}

} // namespace

TEST_F(LongLineColouringTest, ACutInsideTheEndOfAScriptKeepsTheColoursOfTheLineAndThoseAfter)
{
    TFmMain& m = makeWindow(true);
    const QByteArray line = "<script>" + repeated("v", 1010) + "</script><b>after</b>" + repeated("<i>x</i>", 150);
    DocumentEditor& e = openFile(m, line + "\r\n<p class=x>next</p>\r\n");
    ASSERT_GE(e.document()->blockCount(), 3);
    const QTextBlock first = e.document()->firstBlock();
    ASSERT_TRUE(first.text().endsWith(QStringLiteral("</scri"))) << "the cut falls inside </script";
    ASSERT_TRUE(lines::continues(first.next()));
    expectColouredAsWholeLines(e);
    EXPECT_EQ(shownColour(e, 0, 1018), colourOf(e, HtmlKind::Tag));
    EXPECT_EQ(shownColour(e, 1, 0), colourOf(e, HtmlKind::Tag)) << "\"pt\" of </script";
    EXPECT_EQ(shownColour(e, 1, 3), colourOf(e, HtmlKind::Tag)) << "<b";
    EXPECT_EQ(shownColour(e, 1, 7), QColor()) << "after";
    const int next = e.document()->blockCount() - 2;
    caretAt(e, next, 0);
    expectColouredAsWholeLines(e);
    EXPECT_EQ(shownColour(e, next, 0), colourOf(e, HtmlKind::Tag));
    EXPECT_EQ(shownColour(e, next, 3), colourOf(e, HtmlKind::AttributeName));
}

TEST_F(LongLineColouringTest, ACommentCutAfterItsBangIsAComment)
{
    TFmMain& m = makeWindow(true);
    const QByteArray line = repeated("x", 1022) + "<!-- note <b> -->" + repeated("<i>x</i>", 150);
    DocumentEditor& e = openFile(m, line + "\n<p>next</p>\n");
    const QTextBlock first = e.document()->firstBlock();
    ASSERT_TRUE(first.text().endsWith(QStringLiteral("x<!")));
    ASSERT_TRUE(lines::continues(first.next()));
    expectColouredAsWholeLines(e);
    EXPECT_EQ(shownColour(e, 0, 1022), colourOf(e, HtmlKind::Comment));
    EXPECT_EQ(shownColour(e, 1, 0), colourOf(e, HtmlKind::Comment));
    EXPECT_EQ(shownColour(e, 1, 10), colourOf(e, HtmlKind::Comment)) << "<b> inside it";
    EXPECT_EQ(shownColour(e, 1, 15), colourOf(e, HtmlKind::Tag)) << "<i after it";
}

TEST_F(LongLineColouringTest, TypingAtACutRecoloursBothPiecesAndTheLinesAfter)
{
    TFmMain& m = makeWindow(true);
    const QByteArray line = "<script>" + repeated("v", 1010) + "</script><b>after</b>" + repeated("<i>x</i>", 150);
    DocumentEditor& e = openFile(m, line + "\r\n<p>next</p>\r\n");
    const int next = e.document()->blockCount() - 2;

    // A letter at the start of the second piece spoils "</script": the
    // script runs on to the end of the file.
    caretAt(e, 1, 0);
    type(QStringLiteral("k"));
    expectColouredAsWholeLines(e);
    EXPECT_EQ(shownColour(e, 0, 1018), QColor());
    caretAt(e, next, 0);
    EXPECT_EQ(shownColour(e, next, 0), QColor()) << "still in the script";

    // Taking it back mends both.
    caretAt(e, 1, 1);
    QTest::keyClick(&e, Qt::Key_Backspace);
    expectColouredAsWholeLines(e);
    EXPECT_EQ(shownColour(e, 0, 1018), colourOf(e, HtmlKind::Tag));
    caretAt(e, next, 0);
    EXPECT_EQ(shownColour(e, next, 0), colourOf(e, HtmlKind::Tag));

    // Typing at the end of the first piece, inside the cut tag name.
    caretAt(e, 0, int(e.document()->firstBlock().length()) - 1);
    type(QStringLiteral("q"));
    expectColouredAsWholeLines(e);
    QTest::keyClick(&e, Qt::Key_Backspace);
    expectColouredAsWholeLines(e);
    caretAt(e, next, 0);
    EXPECT_EQ(shownColour(e, next, 0), colourOf(e, HtmlKind::Tag));
}

TEST_F(LongLineColouringTest, DenseMinifiedPiecesAreColoured)
{
    TFmMain& m = makeWindow(true);
    QByteArray page;
    for (int i = 0; page.size() < 40000; ++i)
        page += "<td class=c" + QByteArray::number(i % 9) + ">" + "<b>x&amp;y</b><!--c--></td>";
    DocumentEditor& e = openFile(m, page + "\n");
    ASSERT_GT(e.document()->blockCount(), 20);
    caretAt(e, 20, 10);
    expectColouredAsWholeLines(e);
    EXPECT_GT(e.document()->findBlockByNumber(20).layout()->formats().size(), 64)
        << "a piece of a minified page is coloured however many tags it holds";

    // A piece changing colour every character or two is coloured from its
    // start as far as a key can afford to lay it out.
    DocumentEditor& worst = openFile(m, QByteArray("<p a=b c=d e=f g=h>").repeated(2000) + "\n");
    caretAt(worst, 3, 0);
    const QList<QTextLayout::FormatRange> ranges = worst.document()->findBlockByNumber(3).layout()->formats();
    EXPECT_EQ(ranges.size(), 192);
    EXPECT_EQ(ranges.first().start, 0);
    EXPECT_EQ(shownColour(worst, 3, 1), colourOf(worst, HtmlKind::Tag));
}
