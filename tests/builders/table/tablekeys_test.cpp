// The table builder's commands without a mouse: the header's sections and the
// settings dialog's colour panels, from the keyboard and through the
// accessibility tree a screen reader walks.
#include "builders/table/tablesettings.h"
#include "builders/table/tfmhead.h"
#include "builders/table/tfmtablebody.h"
#include "builders/table/tfmtableresult.h"

#include "support/fakeeditorport.h"
#include "support/scriptedprompts.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct QuietSink : FakeEditorPort {
    QuietSink() { document = false; }
};

struct Found {
    QAccessibleInterface* iface = nullptr;
    int count = 0;
};

// Walks the accessibility tree below `root` for an element of `role` whose
// name contains `name`.
Found findInTree(QAccessibleInterface* root, QAccessible::Role role, const QString& name)
{
    Found found;
    QList<QAccessibleInterface*> todo{root};
    while (!todo.isEmpty()) {
        QAccessibleInterface* a = todo.takeLast();
        if (a->role() == role && a->text(QAccessible::Name).contains(name)) {
            found.iface = a;
            ++found.count;
        }
        for (int i = 0; i < a->childCount(); ++i)
            if (QAccessibleInterface* c = a->child(i))
                todo << c;
    }
    return found;
}

// Presses Tab in the active window until `target` has the focus.
bool tabTo(QWidget* target)
{
    for (int i = 0; i < 40 && QApplication::focusWidget() != target; ++i) {
        QWidget* f = QApplication::focusWidget();
        if (!f)
            return false;
        QTest::keyClick(f, Qt::Key_Tab);
    }
    return QApplication::focusWidget() == target;
}

class TableKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        body.show();
        body.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&body));
    }
    void TearDown() override { EXPECT_TRUE(prompts.exhausted()) << "scripted answers left unused"; }

    int columns() const { return body.BodyGrid()->model()->columnCount(); }
    int rows() const { return body.BodyGrid()->model()->rowCount(); }

    ScriptedPrompts prompts;
    QuietSink sink;
    TFmTableBody body{prompts, sink};
};

} // namespace

TEST_F(TableKeys, HeaderSectionsAreButtonsAScreenReaderCanPress)
{
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&body);
    ASSERT_NE(window, nullptr);
    for (const char* caption : {"列追加", "列削除", "行追加", "行削除", "表設定", "HTML変換"}) {
        const Found f = findInTree(window, QAccessible::PushButton, QString::fromUtf8(caption));
        EXPECT_EQ(f.count, 1) << caption;
        if (f.iface) {
            EXPECT_EQ(f.iface->text(QAccessible::Name), QString::fromUtf8(caption));
            EXPECT_FALSE(f.iface->rect().isEmpty()) << caption;
            ASSERT_NE(f.iface->actionInterface(), nullptr) << caption;
            EXPECT_TRUE(f.iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        }
    }
    const Found add = findInTree(window, QAccessible::PushButton, QStringLiteral("列追加"));
    ASSERT_NE(add.iface, nullptr);
    add.iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(columns(), 2);
    EXPECT_EQ(body.statusText(), QStringLiteral("列：2行：1"));
    const Found addRow = findInTree(window, QAccessible::PushButton, QStringLiteral("行追加"));
    addRow.iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(rows(), 2);
}

TEST_F(TableKeys, TabReachesTheHeaderWhoseSectionsRunFromTheKeyboard)
{
    // The grid has the focus first; Tab goes on to the header.
    EXPECT_EQ(QApplication::focusWidget(), body.BodyGrid());
    QHeaderView* header = body.HeaderControl1();
    ASSERT_TRUE(tabTo(header));
    QTest::keyClick(header, Qt::Key_Space);            // 列追加
    QTest::keyClick(header, Qt::Key_Return);           // 列追加
    EXPECT_EQ(columns(), 3);
    QTest::keyClick(header, Qt::Key_Right);
    QTest::keyClick(header, Qt::Key_Space);            // 列削除
    EXPECT_EQ(columns(), 2);
    QTest::keyClick(header, Qt::Key_Right);
    QTest::keyClick(header, Qt::Key_Enter);            // 行追加
    EXPECT_EQ(rows(), 2);
    QTest::keyClick(header, Qt::Key_Right);
    QTest::keyClick(header, Qt::Key_Space);            // 行削除
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(body.statusText(), QStringLiteral("列：2行：1"));

    // The focused section is the one a screen reader hears.
    QAccessibleInterface* focused = QAccessible::queryAccessibleInterface(header)->focusChild();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused->text(QAccessible::Name), QStringLiteral("行削除"));
    EXPECT_TRUE(focused->state().focused);

    prompts.answerDialog([](QDialog& d) {
        EXPECT_EQ(d.objectName(), QStringLiteral("FmHead"));
        return int(QDialog::Rejected);
    });
    QTest::keyClick(header, Qt::Key_Right);
    QTest::keyClick(header, Qt::Key_Space);            // 表設定
    prompts.answerDialog([](QDialog& d) {
        EXPECT_EQ(d.objectName(), QStringLiteral("FmTableResult"));
        return int(QDialog::Rejected);
    });
    QTest::keyClick(header, Qt::Key_End);
    QTest::keyClick(header, Qt::Key_Space);            // HTML変換
    QTest::keyClick(header, Qt::Key_Home);
    QTest::keyClick(header, Qt::Key_Space);            // 列追加
    EXPECT_EQ(columns(), 3);
}

TEST(TableSettingsKeys, ColourPanelsOpenTheirMenuFromTheKeyboardAndForScreenReaders)
{
    ScriptedPrompts prompts;
    TableSettings settings;
    TFmHead head(settings, prompts);
    head.FormActivate();
    head.show();
    head.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&head));
    head.combo(TableSettings::Align)->setFocus();

    // First tab: Tab reaches the BGCOLOR panel; Space opens the colour menu,
    // whose mnemonic chooses.
    QLabel* panel1 = head.panel1();
    ASSERT_TRUE(tabTo(panel1));
    QTest::keyClick(panel1, Qt::Key_Space);
    QMenu* menu = head.PopupMenu1();
    ASSERT_TRUE(menu->isVisible());
    QTest::keyClick(menu, Qt::Key_R);                  // Red(&R)
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(panel1->text(), QStringLiteral("Red"));

    // A screen reader finds both panels as menu buttons, read with the
    // colour they show, and opens the menu with their action.
    QAccessibleInterface* dialog = QAccessible::queryAccessibleInterface(&head);
    const Found bg = findInTree(dialog, QAccessible::ButtonMenu, QStringLiteral("BGCOLOR"));
    ASSERT_NE(bg.iface, nullptr);
    EXPECT_TRUE(bg.iface->text(QAccessible::Name).endsWith(QStringLiteral("Red")));
    EXPECT_TRUE(bg.iface->state().focusable);

    head.tabs()->setCurrentIndex(1);
    QApplication::processEvents();
    const Found border = findInTree(dialog, QAccessible::ButtonMenu, QStringLiteral("BORDERCOLOR"));
    ASSERT_NE(border.iface, nullptr);
    QAccessibleActionInterface* act = border.iface->actionInterface();
    ASSERT_NE(act, nullptr);
    ASSERT_TRUE(act->actionNames().contains(QAccessibleActionInterface::showMenuAction()));
    act->doAction(QAccessibleActionInterface::showMenuAction());
    ASSERT_TRUE(menu->isVisible());
    QTest::keyClick(menu, Qt::Key_N);                  // Navy(&N)
    EXPECT_EQ(head.Panel2()->text(), QStringLiteral("Navy"));
    EXPECT_TRUE(border.iface->text(QAccessible::Name).endsWith(QStringLiteral("Navy")));

    // On the second tab the keyboard reaches the BORDERCOLOR panel too.
    head.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&head));
    head.combo(TableSettings::Border)->setFocus();
    ASSERT_TRUE(tabTo(head.Panel2()));
    QTest::keyClick(head.Panel2(), Qt::Key_Space);
    ASSERT_TRUE(menu->isVisible());
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(head.Panel2()->text(), QStringLiteral("Navy"));
    EXPECT_EQ(head.panel1()->text(), QStringLiteral("Red"));
}
