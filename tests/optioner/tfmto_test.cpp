// The Tag Optioner window following the caret, opening and closing, and
// inserting options.
#include "optioner/optionerunit.h"
#include "optioner/tfmto.h"
#include "support/fakeeditorport.h"
#include "support/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QTest>

namespace {

class TagOptioner : public MainWindowTest {
protected:
    TFmTO* to = nullptr;

    TFmMain& open()
    {
        TFmMain& m = makeWindow();
        to = m.findChild<TFmTO*>();
        EXPECT_NE(to, nullptr);
        return m;
    }
    void setText(const QString& text, int caret)
    {
        DocumentEditor* e = w->CurrentEdit();
        e->setPlainText(text);
        moveTo(caret);
    }
    void moveTo(int caret)
    {
        DocumentEditor* e = w->CurrentEdit();
        QTextCursor c = e->textCursor();
        c.setPosition(caret);
        e->setTextCursor(c);   // selection change → UpdateCaret
    }
    QStringList column(int col) const
    {
        QStringList out;
        for (int r = 0; r < to->TagList->rowCount(); ++r)
            out << to->TagList->item(r, col)->text();
        return out;
    }
    void selectRow(int r) { to->TagList->selectRow(r); }
    QPoint rowCentre(int r) const
    {
        return to->TagList->visualItemRect(to->TagList->item(r, 0)).center();
    }
};

TEST_F(TagOptioner, FollowsTheCaretAndRebuildsOnlyWhenTheTagChanges)
{
    TFmMain& m = open();
    EXPECT_FALSE(to->isVisible());
    m.NewDocument();
    const QString line = QStringLiteral("ab <FONT SIZE=3>text</FONT> <B>x</B>");
    setText(line, 6);   // inside "<FONT"
    EXPECT_EQ(to->TagPanel->text(), QStringLiteral("<FONT>"));
    EXPECT_EQ(to->TagPanel->textFormat(), Qt::PlainText) << "shown as text, not as markup";
    EXPECT_EQ(column(0), QStringList({"COLOR", "FACE", "POINT-SIZE", "SIZE"}));
    EXPECT_EQ(column(1).first(), QStringLiteral("色指定"));

    const int rebuilds = to->rebuildCount();
    selectRow(2);
    moveTo(10);         // still inside the same tag
    moveTo(14);
    EXPECT_EQ(to->rebuildCount(), rebuilds);
    EXPECT_EQ(to->selectedOption(), QStringLiteral("POINT-SIZE"));

    // Between the start and end tags the tag text runs from "<FONT" to "</FONT>".
    moveTo(20);
    EXPECT_TRUE(m.CaretTagText().startsWith(QStringLiteral("<FONT")));
    EXPECT_EQ(to->TagPanel->text(), QStringLiteral("<FONT>"));
    EXPECT_EQ(to->rebuildCount(), rebuilds + 1);   // other text, same entry

    moveTo(3);          // just before the "<"
    EXPECT_EQ(to->TagPanel->text(), QStringLiteral("オプションはありません"));
    EXPECT_EQ(to->TagList->rowCount(), 0);

    moveTo(30);         // inside <B>: not in the table
    EXPECT_EQ(m.CaretTagText(), QStringLiteral("<B>"));
    EXPECT_EQ(to->TagPanel->text(), QStringLiteral("オプションはありません"));

    // A tag over two lines is never found.
    setText(QStringLiteral("<TABLE\nBORDER=1>"), 3);
    EXPECT_TRUE(m.CaretTagText().isEmpty());
    EXPECT_EQ(to->TagList->rowCount(), 0);
    setText(QStringLiteral("<TABLE BORDER=1>"), 3);
    EXPECT_EQ(to->TagList->rowCount(), 15);
}

TEST_F(TagOptioner, TypingInsideTheTagRebuildsAndDropsTheSelection)
{
    open();
    w->NewDocument();
    setText(QStringLiteral("<IMG SRC=a.gif>"), 4);
    selectRow(0);
    const int rebuilds = to->rebuildCount();
    QTest::keyClick(w->CurrentEdit(), 'x');
    EXPECT_EQ(to->rebuildCount(), rebuilds + 1);
    EXPECT_TRUE(to->selectedOption().isEmpty());
}

TEST_F(TagOptioner, WithoutADocumentTheWindowKeepsWhatItShows)
{
    TFmMain& m = open();
    m.NewDocument();
    setText(QStringLiteral("<HR>"), 2);
    EXPECT_EQ(to->TagList->rowCount(), 4);
    m.closeDocument(1);
    EXPECT_EQ(to->TagPanel->text(), QStringLiteral("<HR>"));
    EXPECT_EQ(to->TagList->rowCount(), 4);
    EXPECT_FALSE(to->MoPaste->isEnabled());
    m.NewDocument();
    EXPECT_TRUE(to->MoPaste->isEnabled());
    m.UpdateCaret();
    EXPECT_EQ(to->TagList->rowCount(), 0);   // empty tag text now
}

TEST_F(TagOptioner, OpeningAndClosing)
{
    TFmMain& m = open();
    for (const char* n : {"MTo", "MTo2", "ToolTo", "FTO"})
        EXPECT_TRUE(m.action(n)->isEnabled()) << n;
    m.NewDocument();
    setText(QStringLiteral("<P ALIGN=center>"), 2);

    m.action("MTo2")->trigger();
    EXPECT_TRUE(to->isVisible());
    EXPECT_EQ(to->windowTitle(), QStringLiteral("ﾀｸﾞｵﾌﾟｼｮﾅｰ(T.O.)"));
    EXPECT_TRUE(to->windowFlags() & Qt::WindowStaysOnTopHint);
    for (const char* n : {"MTo", "MTo2", "ToolTo"})
        EXPECT_FALSE(m.action(n)->isEnabled()) << n;
    EXPECT_TRUE(m.action("FTO")->isEnabled());
    m.action("FTO")->trigger();   // only brings it forward
    EXPECT_TRUE(to->isVisible());

    to->close();
    EXPECT_FALSE(to->isVisible());
    EXPECT_EQ(to->TagList->rowCount(), 0);
    for (const char* n : {"MTo", "MTo2", "ToolTo"})
        EXPECT_TRUE(m.action(n)->isEnabled()) << n;

    // Reopened with the caret in the same tag: listed again.
    m.action("ToolTo")->trigger();
    EXPECT_EQ(to->TagPanel->text(), QStringLiteral("<P>"));
    EXPECT_EQ(column(0), QStringList({"ALIGN"}));
    to->close();
    m.action("MTo")->trigger();
    EXPECT_EQ(to->TagList->rowCount(), 1);
    to->close();
}

TEST_F(TagOptioner, DoubleClickAndEnterInsertWithABlankBetweenTheQuotes)
{
    open();
    w->NewDocument();
    setText(QStringLiteral("<HR>"), 3);   // just before ">"
    to->MToClick();
    QApplication::processEvents();
    // A real double-click starts with a press, which picks the row.
    QTest::mouseClick(to->TagList->viewport(), Qt::LeftButton, {}, rowCentre(0));
    QTest::mouseDClick(to->TagList->viewport(), Qt::LeftButton, {}, rowCentre(0));
    EXPECT_EQ(currentText(), QStringLiteral("<HR ALIGN=\" \">"));
    EXPECT_EQ(w->CurrentEdit()->textCursor().position(), 13);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral(" ALIGN=\" \""));

    // The insertion changed the tag, so the list was rebuilt without a selection.
    EXPECT_TRUE(to->selectedOption().isEmpty());
    to->TagListDblClick();
    EXPECT_EQ(currentText(), QStringLiteral("<HR ALIGN=\" \">"));

    selectRow(3);
    QTest::keyClick(to->TagList, Qt::Key_Return);
    EXPECT_EQ(currentText(), QStringLiteral("<HR ALIGN=\" \" WIDTH=\" \">"));
    selectRow(2);
    QTest::keyClick(to->TagList, Qt::Key_A);   // other keys insert nothing
    EXPECT_EQ(currentText(), QStringLiteral("<HR ALIGN=\" \" WIDTH=\" \">"));
    to->close();
}

TEST_F(TagOptioner, PopupItemInsertsEmptyQuotes)
{
    open();
    w->NewDocument();
    setText(QStringLiteral("<TD>"), 3);
    to->MToClick();
    QApplication::processEvents();
    // Opening the document enabled the item, but "(なし)" is never inserted.
    EXPECT_TRUE(to->MoPaste->isEnabled());
    to->MoPaste->trigger();
    EXPECT_EQ(currentText(), QStringLiteral("<TD>"));

    QTest::mouseClick(to->TagList->viewport(), Qt::RightButton, {}, rowCentre(6));
    EXPECT_TRUE(to->MoPaste->isEnabled());
    EXPECT_EQ(to->MoPaste->text(), QStringLiteral(" COLSPAN=\"\""));
    to->PopupMenu1Popup();
    to->MoPaste->trigger();
    EXPECT_EQ(currentText(), QStringLiteral("<TD COLSPAN=\"\">"));

    // A click below the last row selects nothing.
    setText(QStringLiteral("<P>"), 2);
    selectRow(0);
    QTest::mouseClick(to->TagList->viewport(), Qt::RightButton, {},
                      QPoint(10, to->TagList->viewport()->height() - 2));
    EXPECT_FALSE(to->MoPaste->isEnabled());
    EXPECT_EQ(to->MoPaste->text(), QStringLiteral("(なし)"));
    to->close();
}

} // namespace

// The window alone, against a stand-in editor: what it shows comes from the
// caret's tag it is given, and what it inserts goes to the editor, followed
// by the focus; its launchers are off while it shows.
TEST(TagOptionerWindow, WorksAgainstAnyEditor)
{
    FakeEditorPort editor;
    editor.caretTag = QStringLiteral("<HR>");
    QAction mTo, mTo2, toolTo;
    TFmTO to(editor, {&mTo, &mTo2, &toolTo}, nullptr);

    to.MToClick();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&to));
    EXPECT_EQ(to.TagPanel->text(), QStringLiteral("<HR>"));
    for (QAction* a : {&mTo, &mTo2, &toolTo})
        EXPECT_FALSE(a->isEnabled());

    const QPoint row = to.TagList->visualItemRect(to.TagList->item(0, 0)).center();
    QTest::mouseClick(to.TagList->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(to.TagList->viewport(), Qt::LeftButton, {}, row);
    EXPECT_EQ(editor.inserted, QStringList{QStringLiteral(" ALIGN=\" \"")});
    EXPECT_EQ(editor.focused, 1);

    // Without a document nothing is refreshed and the focus stays.
    editor.document = false;
    to.Refresh(QStringLiteral("<TD>"));
    EXPECT_EQ(to.TagPanel->text(), QStringLiteral("<HR>"));
    to.PopupMenu1Popup();
    EXPECT_EQ(editor.focused, 1);

    to.close();
    for (QAction* a : {&mTo, &mTo2, &toolTo})
        EXPECT_TRUE(a->isEnabled());
}
