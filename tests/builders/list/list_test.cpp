#include "builders/list/listbuilder.h"
#include "builders/list/tfmlist.h"

#include "support/fakeeditorport.h"
#include "support/scriptedprompts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QStringList kFruit{QStringLiteral("りんご"), QStringLiteral("み&<か>ん")};

} // namespace

TEST(ListHtml, EveryKindWithCrLfAfterEveryLineAndNothingEscaped)
{
    EXPECT_EQ(listHtml(ListKind::Plain, QStringLiteral("a"), QStringLiteral("3"), kFruit),
              QStringLiteral("<UL>\r\n  <LI>りんご\r\n  <LI>み&<か>ん\r\n</UL>\r\n"));
    EXPECT_EQ(listHtml(ListKind::Numbered, QStringLiteral("a"), QStringLiteral("3"), kFruit),
              QStringLiteral("<OL Type=a Start=3>\r\n  <LI>りんご\r\n  <LI>み&<か>ん\r\n</OL>\r\n"));
    EXPECT_EQ(listHtml(ListKind::Definition, QStringLiteral("a"), QStringLiteral("3"), kFruit),
              QStringLiteral("<DL>\r\n  <DT>りんご\r\n  <DD>定義された項目\r\n"
                             "  <DT>み&<か>ん\r\n  <DD>定義された項目\r\n</DL>\r\n"));
    EXPECT_EQ(listHtml(ListKind::Definition, {}, {}, {}), QStringLiteral("<DL>\r\n</DL>\r\n"));

    const QString item = QStringLiteral("x");
    EXPECT_EQ(listItemTag(ListKind::Numbered, &item), QStringLiteral("<LI>x"));
    EXPECT_EQ(listItemTag(ListKind::Definition, nullptr), QStringLiteral("<DT>"));
}

class ListBuilder : public ::testing::Test {
protected:
    void SetUp() override
    {
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        w.ListEdit1()->setFocus();
    }

    void type(const QString& text, Qt::KeyboardModifiers mods)
    {
        w.ListEdit1()->insert(text);   // keyClicks cannot type kana
        QTest::keyClick(w.ListEdit1(), Qt::Key_Return, mods);
    }

    ScriptedPrompts prompts;
    FakeEditorPort sink;
    TFmList w{prompts, sink};
};

TEST_F(ListBuilder, OnlyShiftEnterAddsFromTheEditBox)
{
    type(QStringLiteral("one"), Qt::NoModifier);
    type(QString(), Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.ListBox()->count(), 0);
    EXPECT_EQ(w.ListEdit1()->text(), QStringLiteral("one"));
    QTest::keyClick(w.ListEdit1(), Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier);
    type(QStringLiteral("two"), Qt::ShiftModifier);
    type(QString(), Qt::ShiftModifier);   // empty: nothing
    EXPECT_EQ(w.items(), QStringList({"one", "two"}));
    EXPECT_TRUE(w.ListEdit1()->text().isEmpty());
}

TEST_F(ListBuilder, Button1AddsOnFocusAndOnceOnAClick)
{
    QTest::keyClicks(w.ListEdit1(), QStringLiteral("tabbed"));
    QTest::keyClick(w.ListEdit1(), Qt::Key_Tab);
    EXPECT_TRUE(w.Button1()->hasFocus());
    EXPECT_EQ(w.items(), QStringList{"tabbed"});

    w.ListEdit1()->setFocus();
    QTest::keyClicks(w.ListEdit1(), QStringLiteral("clicked"));
    QTest::mouseClick(w.Button1(), Qt::LeftButton);
    EXPECT_EQ(w.items(), QStringList({"tabbed", "clicked"}));
    EXPECT_TRUE(w.ListEdit1()->hasFocus());

    QTest::mouseClick(w.Button1(), Qt::LeftButton);   // empty edit
    EXPECT_EQ(w.items().size(), 2);
}

TEST_F(ListBuilder, DeletingAndInsertingTheList)
{
    for (const QString& s : kFruit)
        type(s, Qt::ShiftModifier);
    w.findChild<QPushButton*>(QStringLiteral("Button3"))->click();   // nothing selected
    EXPECT_EQ(w.items(), kFruit);

    EXPECT_FALSE(w.ListPaste()->isEnabled());   // until the document switch enables it
    w.ListPaste()->setEnabled(true);
    w.ComboBox1()->setCurrentIndex(1);
    EXPECT_TRUE(w.ComboBox2()->isEnabled());
    w.ComboBox2()->setCurrentText(QStringLiteral("I"));
    w.ListPaste()->click();
    EXPECT_TRUE(sink.inserted.last().startsWith(QStringLiteral("<OL Type=I Start=1>\r\n")));

    w.ComboBox1()->setCurrentIndex(0);
    EXPECT_FALSE(w.ComboBox2()->isEnabled());
    EXPECT_FALSE(w.ComboBox3()->isEnabled());
    w.ListPaste()->click();
    EXPECT_EQ(sink.inserted.last(), listHtml(ListKind::Plain, {}, {}, kFruit));

    w.ListBox()->setCurrentRow(0);
    w.findChild<QPushButton*>(QStringLiteral("Button3"))->click();
    EXPECT_EQ(w.items(), QStringList{kFruit[1]});
    w.findChild<QPushButton*>(QStringLiteral("Button4"))->click();
    EXPECT_EQ(w.listText(), QStringLiteral("<UL>\r\n</UL>\r\n"));
}

TEST_F(ListBuilder, PopupCaptionFollowsKindAndSelection)
{
    type(QStringLiteral("A&B"), Qt::ShiftModifier);
    EXPECT_FALSE(w.MPopList()->isEnabled());
    EXPECT_EQ(w.MPopList()->text(), QStringLiteral("(なし)"));

    w.ComboBox1()->setCurrentIndex(2);
    w.PopupMenu1Popup();
    EXPECT_EQ(w.popListCaption(), QStringLiteral("<DT>"));
    EXPECT_EQ(sink.focused, 1);

    w.ComboBox1()->setCurrentIndex(1);
    w.ListBox()->setCurrentRow(0);
    sink.document = false;
    w.PopupMenu1Popup();
    EXPECT_EQ(sink.focused, 1);
    EXPECT_EQ(w.popListCaption(), QStringLiteral("<LI>A&B"));
    EXPECT_EQ(w.MPopList()->text(), QStringLiteral("<LI>A&&B"));   // '&' shown, not a mnemonic
    w.MPopList()->setEnabled(true);
    w.MPopList()->trigger();
    EXPECT_EQ(sink.inserted, QStringList{QStringLiteral("<LI>A&B")});
}

TEST_F(ListBuilder, DeleteRemovesTheSelectedItemAndSelectsNothing)
{
    for (const char* s : {"aa", "bb", "cc"})
        type(QString::fromLatin1(s), Qt::ShiftModifier);
    QListWidget* box = w.ListBox();
    QPushButton* del = w.findChild<QPushButton*>(QStringLiteral("Button3"));
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, box->visualItemRect(box->item(1)).center());
    ASSERT_EQ(box->selectedItems().size(), 1);
    ASSERT_EQ(box->selectedItems().first()->text(), QStringLiteral("bb"));

    QTest::mouseClick(del, Qt::LeftButton);
    EXPECT_EQ(w.items(), QStringList({"aa", "cc"}));
    EXPECT_TRUE(box->selectedItems().isEmpty());
    QTest::mouseClick(del, Qt::LeftButton);   // nothing selected: nothing happens
    EXPECT_EQ(w.items(), QStringList({"aa", "cc"}));

    // The last line: the one before it is not selected either.
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, box->visualItemRect(box->item(1)).center());
    QTest::mouseClick(del, Qt::LeftButton);
    EXPECT_EQ(w.items(), QStringList({"aa"}));
    EXPECT_TRUE(box->selectedItems().isEmpty());
    QTest::mouseClick(del, Qt::LeftButton);
    EXPECT_EQ(w.items(), QStringList({"aa"}));
}

TEST_F(ListBuilder, PastedLineBreaksBecomeSpaces)
{
    const QString breaks[] = {QStringLiteral("\n"), QStringLiteral("\r\n"), QStringLiteral("\r"),
                              QString(QChar(0x2028)), QString(QChar(0x2029))};
    QStringList expected;
    for (const QString& br : breaks) {
        QApplication::clipboard()->setText(QStringLiteral("line1") + br + QStringLiteral("line2") + br);
        QTest::keyClick(w.ListEdit1(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(w.ListEdit1()->text(), QStringLiteral("line1 line2 "));
        EXPECT_EQ(w.ListEdit1()->cursorPosition(), w.ListEdit1()->text().size());
        QTest::keyClicks(w.ListEdit1(), QStringLiteral("end"));
        QTest::keyClick(w.ListEdit1(), Qt::Key_Return, Qt::ShiftModifier);
        expected << QStringLiteral("line1 line2 end");
    }
    // Pasted into the middle of a typed item, the caret stays after the paste.
    QTest::keyClicks(w.ListEdit1(), QStringLiteral("ab"));
    QTest::keyClick(w.ListEdit1(), Qt::Key_Left);
    QApplication::clipboard()->setText(QStringLiteral("\r\nx\r\n"));
    QTest::keyClick(w.ListEdit1(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClicks(w.ListEdit1(), QStringLiteral("y"));
    EXPECT_EQ(w.ListEdit1()->text(), QStringLiteral("a x yb"));
    QTest::keyClick(w.ListEdit1(), Qt::Key_Return, Qt::ShiftModifier);
    expected << QStringLiteral("a x yb");

    EXPECT_EQ(w.items(), expected);
    EXPECT_EQ(w.listText().count(QStringLiteral("\r\n")), 2 + expected.size());
    EXPECT_TRUE(w.listText().contains(QStringLiteral("\r\n  <LI>line1 line2 end\r\n")));
}
