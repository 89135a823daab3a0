// The image builder in the main window: its launchers, the document switch
// of "挿入(&P)", activation seen from the main window, and super mode's key.
#include "builders/image/imageunit.h"
#include "builders/image/tfmcg.h"
#include "builders/image/tfmsize.h"
#include "builders/sound/soundunit.h"
#include "builders/sound/tfmmusic.h"
#include "app/filepanel.h"
#include "composition.h"

#include "support/mainwindow.h"
#include "support/pictures.h"
#include "support/testfiles.h"

#include <QAction>
#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>

namespace {

class ImageUnitTest : public MainWindowTest {
protected:
    static bool becomesActive(QWidget* w)
    {
        return QTest::qWaitFor([w] { return QApplication::activeWindow() == w; });
    }
    void activateMain()
    {
        w->activateWindow();
        ASSERT_TRUE(becomesActive(w.get()));
    }
};

} // namespace

TEST_F(ImageUnitTest, TheBuilderInsertsIntoTheDocumentAndReloadsOnlyWhenItselfBecomesActive)
{
    TFmMain& m = makeWindow(true);
    activateMain();
    writeAll(path(QStringLiteral("a.gif")), pictures::gif(8, 4));
    TFmCg* cg = unitsOf(m)->image->window();
    EXPECT_FALSE(cg->CGPaste()->isEnabled());

    m.move(50, 40);
    m.controls().ToolCg->trigger();
    ASSERT_TRUE(becomesActive(cg));
    EXPECT_EQ(cg->pos(), m.pos() + QPoint(290, 100));
    EXPECT_FALSE(m.controls().MCg->isEnabled());
    EXPECT_FALSE(m.controls().ToolCg->isEnabled());
    prompts.answerOpen(path(QStringLiteral("a.gif")));
    QTest::mouseClick(cg->SpeedButton1(), Qt::LeftButton);
    prompts.answerDialog([](QDialog& d) {
        auto& s = static_cast<TFmSize&>(d);
        s.show();
        QLineEdit* e = s.HeightComb()->lineEdit();
        e->setFocus();
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(e, QStringLiteral("9"));
        QTest::mouseClick(s.BitBtn1(), Qt::LeftButton);
        return s.result();
    });
    QTest::mouseClick(cg->CgSize(), Qt::LeftButton);
    const QString full = QStringLiteral(" <IMG SRC=\"a.gif\" HEIGHT=\"9\">");
    EXPECT_EQ(cg->tagText(), full);

    // Going over to the main window keeps the full tag; a document turns
    // "挿入(&P)" on, and the tag goes in at the caret in place of the selection.
    activateMain();
    EXPECT_EQ(cg->tagText(), full);
    m.action("MWhite")->trigger();
    type(QStringLiteral("ab"));
    QTest::keyClick(m.CurrentEdit(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_TRUE(cg->CGPaste()->isEnabled());
    QTest::mouseClick(cg->CGPaste(), Qt::LeftButton);
    EXPECT_EQ(currentText(), QStringLiteral("a") + full);

    // Coming back to the builder reads the picture again.
    cg->activateWindow();
    ASSERT_TRUE(becomesActive(cg));
    EXPECT_EQ(cg->tagText(), QStringLiteral(" <IMG SRC=\"a.gif\">"));

    cg->close();
    EXPECT_TRUE(m.controls().MCg->isEnabled());
    activateMain();
    m.controls().MCg->trigger();
    ASSERT_TRUE(becomesActive(cg));
    EXPECT_EQ(cg->tagText(), QStringLiteral("<IMG SRC=\"\">"));
    EXPECT_FALSE(cg->CgSize()->isEnabled());
}

TEST_F(ImageUnitTest, CtrlAltQTurnsSuperModeOn)
{
    TFmMain& m = makeWindow(true);
    activateMain();
    TFmCg* cg = unitsOf(m)->image->window();
    QTest::keyClick(&m, Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(m.statusPanel(4), QStringLiteral("SuperMode"));
    EXPECT_FALSE(cg->ScrollBox1()->isHidden());
    EXPECT_EQ(cg->height(), 300);
    m.controls().MCg->trigger();
    ASSERT_TRUE(becomesActive(cg));
    EXPECT_TRUE(cg->ScrollBox1()->isVisible());
}

TEST_F(ImageUnitTest, EveryControlOfTheBuildersAndTheFilePanelIsNamed)
{
    TFmMain& m = makeWindow(true);
    Units& u = *unitsOf(m);
    const QWidget* roots[] = {u.image->window(), u.sound->window(), m.controls().ToolTag1};
    int checked = 0;
    for (const QWidget* root : roots) {
        for (const QWidget* c : root->findChildren<QWidget*>()) {
            const bool control = qobject_cast<const QAbstractButton*>(c) || qobject_cast<const QComboBox*>(c)
                                 || qobject_cast<const QAbstractItemView*>(c);
            // Parts Qt makes inside a control (a combo box's list, say) are its own.
            const QWidget* p = c->parentWidget();
            const bool inner = p && (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractItemView*>(p)
                                     || p->inherits("QComboBoxPrivateContainer") || p->inherits("QAbstractScrollArea"));
            if (!control || inner)
                continue;
            ++checked;
            EXPECT_FALSE(c->objectName().isEmpty()) << c->metaObject()->className();
            EXPECT_FALSE(c->accessibleName().isEmpty()) << c->objectName().toStdString();
        }
    }
    EXPECT_EQ(checked, 6 + 7 + 4);   // the buttons, combo boxes and lists
}
