// Pictures handed to the image builder by double clicks in the file panel,
// with the builder's own dialogs and messages in between, activation moving
// between the windows as the window system moves it.
#include "app/filepanel.h"
#include "builders/image/imageunit.h"
#include "builders/image/tfmcg.h"
#include "builders/image/tfmoption.h"
#include "builders/image/tfmsize.h"
#include "composition.h"
#include "platform/desktopshell.h"

#include "support/handover.h"
#include "support/pictures.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

struct FailingShell final : DesktopShell {
    bool open(const QString&, QString* error) override
    {
        *error = QStringLiteral("no viewer");
        return false;
    }
};

class ImageHandOver : public HandOverTest {
protected:
    void SetUp() override
    {
        makeSite();
        writeAll(site(QStringLiteral("photo.jpg")), pictures::jpeg(40, 30));
        writeAll(site(QStringLiteral("still.gif")), pictures::gif(8, 8));
        writeAll(site(QStringLiteral("zero.gif")), QByteArray());
        showWindowOnSite();
        unitsOf(*w)->image->setShell(shell);
        clickMain();
    }

    TFmCg* cg() const { return unitsOf(*w)->image->window(); }
    // A click, then the double click, as the window system sends them; the
    // builder comes up active.
    void doubleClick(const QString& name)
    {
        handOver(name);
        ASSERT_TRUE(becomesActive(cg()));
    }

    // Replaces the text of an editable combo box as the user would.
    static void typeInto(QComboBox* box, const QString& text)
    {
        QLineEdit* e = box->lineEdit();
        e->setFocus();
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
    }
    // A dialog comes up over the builder and takes the activation, as a
    // modal one does.
    static void comesUp(QDialog& d)
    {
        d.show();
        ASSERT_TRUE(becomesActive(&d));
    }

    QString copied()
    {
        QTest::mouseClick(cg()->CgCopy(), Qt::LeftButton);
        return QApplication::clipboard()->text();
    }

    FailingShell shell;
};

} // namespace

TEST_F(ImageHandOver, EveryHandOverCountsAfterTheBuildersOwnDialogsAndMessages)
{
    doubleClick(QStringLiteral("photo.jpg"));
    EXPECT_EQ(cg()->tagText(), QStringLiteral(" <IMG SRC=\"photo.jpg\">"));

    // "ｻｲｽﾞ設定", WIDTH 100, 確定; the focus goes to the main window.
    prompts.answerDialog([](QDialog& d) {
        auto& s = static_cast<TFmSize&>(d);
        comesUp(s);
        typeInto(s.WidthComb(), QStringLiteral("100"));
        QTest::mouseClick(s.BitBtn1(), Qt::LeftButton);
        return s.result();
    });
    QTest::mouseClick(cg()->CgSize(), Qt::LeftButton);
    clickMain();
    EXPECT_EQ(cg()->tagText(), QStringLiteral(" <IMG SRC=\"photo.jpg\" WIDTH=\"100\">"));
    doubleClick(QStringLiteral("still.gif"));
    EXPECT_EQ(cg()->tagText(), QStringLiteral(" <IMG SRC=\"still.gif\">"));
    EXPECT_EQ(copied(), QStringLiteral(" <IMG SRC=\"still.gif\">"));

    // The detail dialog, cancelled.
    prompts.answerDialog([](QDialog& d) {
        comesUp(d);
        QTest::mouseClick(static_cast<TFmOption&>(d).BtnCancel(), Qt::LeftButton);
        return d.result();
    });
    QTest::mouseClick(cg()->CgOp(), Qt::LeftButton);
    clickMain();
    doubleClick(QStringLiteral("photo.jpg"));
    EXPECT_EQ(copied(), QStringLiteral(" <IMG SRC=\"photo.jpg\">"));

    // A message box (the viewer is missing), OK.
    prompts.answerMessage(Prompts::Answer::Ok);
    QTest::mouseClick(cg()->BtnView(), Qt::LeftButton);
    ASSERT_EQ(prompts.messages(), QStringList{QStringLiteral("no viewer")});
    clickMain();
    doubleClick(QStringLiteral("still.gif"));
    EXPECT_EQ(copied(), QStringLiteral(" <IMG SRC=\"still.gif\">"));

    // Coming back from a dialog to the builder itself is still no activation:
    // the full tag stays.
    prompts.answerDialog([](QDialog& d) {
        auto& s = static_cast<TFmSize&>(d);
        comesUp(s);
        typeInto(s.HeightComb(), QStringLiteral("7"));
        QTest::mouseClick(s.BitBtn1(), Qt::LeftButton);
        return s.result();
    });
    QTest::mouseClick(cg()->CgSize(), Qt::LeftButton);
    QApplication::setActiveWindow(cg());
    ASSERT_TRUE(becomesActive(cg()));
    EXPECT_EQ(cg()->tagText(), QStringLiteral(" <IMG SRC=\"still.gif\" HEIGHT=\"7\">"));
    // Then going over to the main window and back reads the picture again.
    clickMain();
    QApplication::setActiveWindow(cg());
    ASSERT_TRUE(becomesActive(cg()));
    EXPECT_EQ(cg()->tagText(), QStringLiteral(" <IMG SRC=\"still.gif\">"));
}

TEST_F(ImageHandOver, ClosingForgetsThePictureAndARefusedHandOverLeavesTheBuilderEmpty)
{
    doubleClick(QStringLiteral("still.gif"));
    EXPECT_EQ(cg()->tagText(), QStringLiteral(" <IMG SRC=\"still.gif\">"));
    cg()->close();
    clickMain();

    // The builder comes up and refuses the picture in a message box.
    prompts.answerMessage(Prompts::Answer::Ok);
    handOver(QStringLiteral("zero.gif"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.messages().size() == 1; }));
    EXPECT_TRUE(prompts.messages().back().startsWith(site(QStringLiteral("zero.gif"))));
    // The user clicks the main window, then the builder, twice over.
    for (int round = 0; round < 2; ++round) {
        clickMain();
        QApplication::setActiveWindow(cg());
        ASSERT_TRUE(becomesActive(cg()));
        EXPECT_EQ(cg()->tagText(), QStringLiteral("<IMG SRC=\"\">"));
        EXPECT_EQ(copied(), QStringLiteral("<IMG SRC=\"\">"));
        for (QToolButton* b : {cg()->CgSize(), cg()->CgOp(), cg()->BtnView()})
            EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_TRUE(cg()->values().imageFile().isEmpty());
        EXPECT_TRUE(cg()->statusText().isEmpty());
    }
}

TEST_F(ImageHandOver, AHandOverWhileTheBuilderIsActiveIsReadAtOnce)
{
    doubleClick(QStringLiteral("photo.jpg"));
    // A window manager that leaves the builder active while the file list
    // takes the double click: no activation follows the hand-over.
    handOver(QStringLiteral("still.gif"));
    EXPECT_EQ(QApplication::activeWindow(), cg());
    EXPECT_EQ(cg()->tagText(), QStringLiteral(" <IMG SRC=\"still.gif\">"));
}
