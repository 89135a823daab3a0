// The tag menu: its items wrap the selection, the two right-click menus
// switch, and TFmTag chooses the ten tags.
#include "customwindow.h"
#include "app/settings.h"
#include "custom/tagmenu.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>

using TagMenu = CustomWindow;

namespace {

QListWidget* tagList(QDialog& d)
{
    return d.findChild<QListWidget*>(QStringLiteral("CheckListBox1"));
}

int rowOf(QListWidget* list, const QString& tag)
{
    const auto found = list->findItems(tag, Qt::MatchExactly);
    return found.isEmpty() ? -1 : list->row(found.first());
}

// Clicks the check box of an entry.
void clickCheck(QListWidget* list, const QString& tag)
{
    const int row = rowOf(list, tag);
    ASSERT_GE(row, 0) << tag.toStdString();
    list->scrollToItem(list->item(row));
    QStyleOptionViewItem opt;
    opt.initFrom(list);
    opt.rect = list->visualItemRect(list->item(row));
    opt.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, list);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
}

QStringList checkedTags(QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            out << list->item(i)->text();
    return out;
}

void press(QDialog& d, const char* button)
{
    QTest::mouseClick(d.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
}

} // namespace

TEST_F(TagMenu, ItemsWrapTheSelectionAndHideWhileEmpty)
{
    ASSERT_TRUE(writeAll(iniPath(), "[MTag]\r\n0=<B></B>\r\n1=<!-- -->\r\n2=<BR>\r\n3=no bracket\r\n"
                                    "5=<X y=\"&amp;\"></X>\r\n"));
    DocumentEditor* e = openEditor(QStringLiteral("abc"));
    const MainControls& c = w->controls();
    EXPECT_TRUE(c.MTag[0]->isVisible());
    EXPECT_FALSE(c.MTag[4]->isVisible());
    EXPECT_EQ(c.MTag[4]->text(), QStringLiteral("（未登録）"));
    EXPECT_TRUE(c.MTag[5]->isVisible()) << "a tag not in the list is shown as it stands";

    selectToLineStart(e);
    c.MTag[0]->trigger();
    EXPECT_EQ(currentText(), QStringLiteral("<B>abc</B>"));
    EXPECT_EQ(e->textCursor().position(), 10);

    e->setPlainText(QStringLiteral("abc"));
    e->moveCursor(QTextCursor::End);
    selectToLineStart(e);
    c.MTag[1]->trigger();
    EXPECT_EQ(currentText(), QStringLiteral("<!-- -->abc"));
    e->selectAll();
    c.MTag[2]->trigger();
    EXPECT_EQ(currentText(), QStringLiteral("<BR><!-- -->abc"));
    EXPECT_FALSE(e->textCursor().hasSelection());
    c.MTag[3]->trigger();
    EXPECT_EQ(currentText(), QStringLiteral("<BR><!-- -->abc")) << "no '>': nothing inserted";
    c.MTag[5]->trigger();
    EXPECT_EQ(currentText(), QStringLiteral("<BR><!-- -->abc<X y=\"&amp;\"></X>"));
}

TEST_F(TagMenu, TheTwoRightClickMenusSwitchTogether)
{
    TFmMain& m = makeWindow(true);
    const MainControls& c = m.controls();
    EXPECT_EQ(m.activeEditMenu(), c.EditMenu1);
    EXPECT_TRUE(c.ToolMenu1->isChecked());
    c.N3->trigger();
    EXPECT_EQ(m.activeEditMenu(), c.EditMenu2);
    EXPECT_TRUE(c.ToolMenu2->isChecked());
    EXPECT_FALSE(c.ToolMenu1->isChecked());
    c.MENU1->trigger();
    EXPECT_EQ(m.activeEditMenu(), c.EditMenu1);
    EXPECT_TRUE(c.ToolMenu1->isChecked());
    c.ToolMenu2->trigger();
    EXPECT_EQ(m.activeEditMenu(), c.EditMenu2);
    c.ToolMenu2->trigger();   // pressing the pressed button keeps it pressed
    EXPECT_TRUE(c.ToolMenu2->isChecked());
    EXPECT_EQ(m.activeEditMenu(), c.EditMenu2);
}

TEST_F(TagMenu, ConfirmedChoiceFillsTheSlotsInListOrder)
{
    TFmMain& m = makeWindow(true);
    QString description;
    whenDialog([&](QDialog& d) {
        QListWidget* list = tagList(d);
        EXPECT_EQ(list->count(), 99);
        EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("Panel2"))->text(), QStringLiteral("  説明："));
        clickCheck(list, QStringLiteral("<TD></TD>"));
        clickCheck(list, QStringLiteral("<B></B>"));
        description = d.findChild<QLabel*>(QStringLiteral("Panel2"))->text();
        press(d, "BtnOK");
    });
    m.controls().MTagMenu2->trigger();
    EXPECT_EQ(description, QStringLiteral("  説明：太字で表記"));
    const MainControls& c = m.controls();
    EXPECT_EQ(c.MTag[0]->text(), QStringLiteral("<B></B>"));
    EXPECT_EQ(c.MTag[1]->text(), QStringLiteral("<TD></TD>"));
    EXPECT_EQ(c.MTag[2]->text(), QStringLiteral("（未登録）"));
    EXPECT_FALSE(c.MTag[2]->isVisible());
    EXPECT_TRUE(c.MTag[1]->isVisible());
    EXPECT_TRUE(iniText().contains(QStringLiteral("[MTag]\r\n0=<B></B>\r\n1=<TD></TD>\r\n2=（未登録）\r\n")));

    // Cancelled: neither the menu nor the file changes.
    const QByteArray before = readAll(iniPath());
    whenDialog([&](QDialog& d) {
        EXPECT_EQ(checkedTags(tagList(d)), (QStringList{"<B></B>", "<TD></TD>"}));
        clickCheck(tagList(d), QStringLiteral("<HR>"));
        press(d, "BtnCan");
    });
    m.controls().MTagMenu1->trigger();
    EXPECT_EQ(readAll(iniPath()), before);
    EXPECT_EQ(c.MTag[2]->text(), QStringLiteral("（未登録）"));

    // Nothing checked: every item hidden, the menu keeps its fixed items.
    whenDialog([&](QDialog& d) {
        QListWidget* list = tagList(d);
        EXPECT_TRUE(checkedTags(list).contains(QStringLiteral("<HR>"))) << "marks stay after a cancel";
        for (const QString& tag : checkedTags(list))
            clickCheck(list, tag);
        press(d, "BtnOK");
    });
    m.controls().MTagMenu1->trigger();
    int shown = 0;
    for (QAction* a : c.EditMenu2->actions())
        shown += a->isVisible() ? 1 : 0;
    EXPECT_EQ(shown, 4) << "MENU - Ⅰ, two separators and the settings item";
}

TEST_F(TagMenu, NeverMoreThanTenChecked)
{
    // Slot 9 holds a tag that is not in the list: no mark for it.
    ASSERT_TRUE(writeAll(iniPath(), "[MTag]\r\n0=<P>\r\n1=<HR>\r\n9=<NOT LISTED>\r\n"));
    TFmMain& m = makeWindow(true);
    const QStringList ten{"<!-- -->", "<AREA>", "<B></B>", "<BR>", "<COL>",
                          "<DD>", "<DT>", "<EM></EM>", "<I></I>", "<LI>"};
    whenDialog([&](QDialog& d) {
        QListWidget* list = tagList(d);
        EXPECT_EQ(checkedTags(list), (QStringList{"<HR>", "<P>"}));
        clickCheck(list, QStringLiteral("<HR>"));
        clickCheck(list, QStringLiteral("<P>"));
        for (const QString& tag : ten)
            clickCheck(list, tag);
        prompts.answerMessage(Prompts::Answer::Ok);
        clickCheck(list, QStringLiteral("<UL></UL>"));
        EXPECT_EQ(prompts.messages().value(0), QStringLiteral("10タグ以上の選択はできません"));
        EXPECT_EQ(checkedTags(list), ten);
        press(d, "BtnCan");
    });
    m.controls().MTagMenu1->trigger();

    // The registered tags get their marks back; with the ten left from the
    // cancelled showing that would make twelve, so the old marks give way,
    // the last in list order first.
    QStringList seen;
    whenDialog([&](QDialog& d) {
        seen = checkedTags(tagList(d));
        press(d, "BtnOK");
    });
    m.controls().MTagMenu1->trigger();
    EXPECT_EQ(seen, ten.mid(0, 8) + QStringList({"<HR>", "<P>"}));
    EXPECT_EQ(m.controls().MTag[0]->text(), QStringLiteral("<!-- -->"));
    EXPECT_EQ(m.controls().MTag[8]->text(), QStringLiteral("<HR>"));
    EXPECT_EQ(m.controls().MTag[9]->text(), QStringLiteral("<P>"));
}

TEST(TagMenuEntries, EveryChoiceCanBeKeptInTheSettingsFile)
{
    // The dialog offers nothing else to type: what it offers must survive a
    // restart as it stands.
    for (int i = 0; i < kTagEntryCount; ++i)
        EXPECT_EQ(settingsTextProblem(tagEntryText(i)), QString()) << i;
    EXPECT_EQ(settingsTextProblem(kUnregistered), QString());
}
