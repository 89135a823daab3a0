// The colour picker and the easy colour menu.
#include "customwindow.h"
#include "composition.h"
#include "custom/colorunit.h"
#include "custom/tfmcolor.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

using ColorPicker = CustomWindow;

namespace {

TFmColor* picker(TFmMain& m)
{
    return unitsOf(m)->color->window();
}

QColor sampleBack(TFmColor* p)
{
    return p->Panel10->palette().color(QPalette::Window);
}

QColor sampleText(TFmColor* p)
{
    return p->Panel10->palette().color(QPalette::WindowText);
}

std::array<int, 3> bars(TFmColor* p)
{
    return {p->ScrollBar1->value(), p->ScrollBar2->value(), p->ScrollBar3->value()};
}

} // namespace

TEST_F(ColorPicker, BarsMixTheCodeAndModesKeepTheirColours)
{
    TFmMain& m = makeWindow(true);
    m.controls().MColor->trigger();
    TFmColor* p = picker(m);
    ASSERT_TRUE(p->isVisible());
    EXPECT_FALSE(m.controls().MColor->isEnabled());
    EXPECT_FALSE(m.controls().ToolColor->isEnabled());
    EXPECT_EQ(p->Panel11->text(), QStringLiteral("\"#000000\""));
    EXPECT_EQ(sampleBack(p), QColor(Qt::black));
    EXPECT_EQ(sampleText(p), QColor(Qt::white));

    QTest::keyClick(p->ScrollBar1, Qt::Key_End);
    p->ScrollBar2->setSliderPosition(128);
    EXPECT_EQ(p->Panel11->text(), QStringLiteral("\"#FF8000\""));
    EXPECT_EQ(p->Edit2a->text(), QStringLiteral("128"));
    EXPECT_EQ(p->Panel8->palette().color(QPalette::Window), QColor(0, 128, 0));
    EXPECT_EQ(sampleBack(p), QColor(255, 128, 0));
    p->ScrollBar2->setSliderPosition(0);

    // Background red; switching to text colour brings back white, and
    // back again red, each mode's colour unchanged by the switch.
    QTest::mouseClick(p->RadioText, Qt::LeftButton);
    EXPECT_EQ(bars(p), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(p->Edit3a->text(), QStringLiteral("255"));
    EXPECT_EQ(p->Panel11->text(), QStringLiteral("\"#FFFFFF\""));
    EXPECT_EQ(sampleBack(p), QColor(255, 0, 0));
    EXPECT_EQ(sampleText(p), QColor(255, 255, 255));
    QTest::mouseClick(p->RadioBack, Qt::LeftButton);
    EXPECT_EQ(bars(p), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(p->Panel11->text(), QStringLiteral("\"#FF0000\""));
    EXPECT_EQ(p->backgroundColor(), QColor(255, 0, 0));
    EXPECT_EQ(p->textColor(), QColor(255, 255, 255));

    // Now the text colour follows the bars and the background stays.
    QTest::mouseClick(p->RadioText, Qt::LeftButton);
    p->ScrollBar1->setSliderPosition(0x12);
    EXPECT_EQ(sampleText(p), QColor(0x12, 255, 255));
    EXPECT_EQ(sampleBack(p), QColor(255, 0, 0));

    // Copy needs no document; insert is off without one.
    QTest::mouseClick(p->Button1, Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("\"#12FFFF\""));
    EXPECT_FALSE(p->BtnColor->isEnabled());
    QApplication::clipboard()->setText(QStringLiteral("x"));
    p->Help1->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("\"#12FFFF\""));

    p->Exit1->trigger();
    EXPECT_FALSE(p->isVisible());
    EXPECT_TRUE(m.controls().MColor->isEnabled());
    EXPECT_TRUE(m.controls().ToolColor->isEnabled());
}

TEST_F(ColorPicker, InsertPastesTheCodeAtTheCaret)
{
    DocumentEditor* e = openEditor(QStringLiteral("COLOR=abc"));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(e, Qt::Key_Left, Qt::ShiftModifier);
    w->controls().ToolColor->trigger();
    TFmColor* p = picker(*w);
    ASSERT_TRUE(p->BtnColor->isEnabled());
    p->ScrollBar3->setSliderPosition(0xAB);
    QTest::mouseClick(p->BtnColor, Qt::LeftButton);
    EXPECT_EQ(currentText(), QStringLiteral("COLOR=\"#0000AB\""));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("\"#0000AB\""));
}

TEST_F(ColorPicker, EasyColoursInMenuOrder)
{
    TFmMain& m = makeWindow(true);
    QMenu* easy = m.controls().MEasy;
    EXPECT_FALSE(easy->menuAction()->isEnabled());
    QStringList captions;
    for (QAction* a : easy->actions())
        captions << a->text();
    EXPECT_EQ(captions, (QStringList{"Black(&B)", "Maroon(&M)", "Green(&D)", "Navy(&N)", "Olive(&O)",
                                     "Purple(&P)", "Teal(&T)", "Gray(&G)", "Silver(&S)", "Red(&R)",
                                     "Lime(&L)", "Yellow(&Y)", "Fuchsia(&F)", "Blue(&A)", "Aqua(&S)",
                                     "White(&W)"}));
    openEditor();
    EXPECT_TRUE(easy->menuAction()->isEnabled());
    easy->actions()[3]->trigger();
    easy->actions()[13]->trigger();
    m.findChild<QAction*>(QStringLiteral("Aqua1"))->trigger();
    EXPECT_EQ(currentText(), QStringLiteral("\"Navy\"\"Blue\"\"Aqua\""));
}
