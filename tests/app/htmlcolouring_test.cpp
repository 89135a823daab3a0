// HTML colouring: what a line's pieces are, colours readable on any
// background, and the editor colouring only what it shows while keeping
// tags and comments that run over many lines right.
#include "composition.h"
#include "app/htmlcolouring.h"
#include "app/htmllexer.h"
#include "app/settings.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QAction>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

namespace {

// The pieces of `line` as "kind:text" words.
QStringList pieces(const QString& line, HtmlState in = HtmlState::Text, HtmlState* out = nullptr)
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
    HtmlState s = HtmlState::Text;
    EXPECT_EQ(pieces(QStringLiteral("x <A HREF=\"long"), s, &s), (QStringList{"tag:<A", "name:HREF", "value:\"long"}));
    EXPECT_EQ(s, HtmlState::DoubleQuoted);
    EXPECT_EQ(pieces(QStringLiteral("value\" TITLE=t"), s, &s), (QStringList{"value:value\"", "name:TITLE", "value:t"}));
    EXPECT_EQ(s, HtmlState::Tag);
    EXPECT_EQ(pieces(QStringLiteral("  >text<!-- open"), s, &s), (QStringList{"tag:>", "comment:<!-- open"}));
    EXPECT_EQ(s, HtmlState::Comment);
    EXPECT_EQ(pieces(QStringLiteral("<B>still comment"), s, &s), (QStringList{"comment:<B>still comment"}));
    EXPECT_EQ(pieces(QStringLiteral("end --><P>"), s, &s), (QStringList{"comment:end -->", "tag:<P", "tag:>"}));
    EXPECT_EQ(s, HtmlState::Text);
    EXPECT_EQ(pieces(QStringLiteral("<!-->x"), s, &s), (QStringList{"comment:<!-->x"}))
        << "\"<!-->\" does not close the comment it opens";
    EXPECT_EQ(s, HtmlState::Comment);

    // Script bodies hold no tags, whatever they compare.
    s = HtmlState::Text;
    EXPECT_EQ(pieces(QStringLiteral("<SCRIPT type=\"t\">if (a<b && c>d)"), s, &s),
              (QStringList{"tag:<SCRIPT", "name:type", "value:\"t\"", "tag:>"}));
    EXPECT_EQ(s, HtmlState::Script);
    EXPECT_EQ(pieces(QStringLiteral("x = '<p>';</Script><b>"), s, &s), (QStringList{"tag:</Script", "tag:>", "tag:<b", "tag:>"}));
    EXPECT_EQ(s, HtmlState::Text);
    EXPECT_EQ(pieces(QStringLiteral("<style"), s, &s), (QStringList{"tag:<style"}));
    EXPECT_EQ(s, HtmlState::StyleTag);
    EXPECT_TRUE(pieces(QStringLiteral("> p<b {}"), s, &s).size() == 1);
    EXPECT_EQ(s, HtmlState::Style);
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
    auto* colouring = e.findChild<EditorColouring*>();
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
    EXPECT_TRUE(readAll(iniPath()).endsWith("[Size]\r\nX=640\r\nY=465\r\n\r\n[View]\r\nColoring=0\r\n"));
    w.reset();

    TFmMain& again = makeWindow(true);
    EXPECT_FALSE(again.action("MColoring")->isChecked());
    DocumentEditor& e2 = openLines(again, QStringLiteral("<B>x</B>"));
    EXPECT_EQ(shownColour(e2, 0, 0), QColor());
    again.action("MColoring")->trigger();
    EXPECT_EQ(shownColour(e2, 0, 0), colourOf(e2, HtmlKind::Tag));
}
