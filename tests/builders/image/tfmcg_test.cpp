#include "builders/image/picturereader.h"
#include "builders/image/tfmcg.h"
#include "builders/image/tfmoption.h"
#include "builders/image/tfmsize.h"
#include "platform/desktopshell.h"

#include "support/pictures.h"
#include "support/fakeeditorport.h"
#include "support/scriptedprompts.h"
#include "support/testfiles.h"
#include "support/typing.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

struct RecordingShell final : DesktopShell {
    QStringList opened;
    bool works = true;
    bool open(const QString& path, QString* error) override
    {
        if (!works) {
            *error = QStringLiteral("no viewer");
            return false;
        }
        opened << path;
        return true;
    }
};

// Replaces the text of an editable combo box as the user would.
void typeInto(QComboBox* box, const QString& text)
{
    QLineEdit* e = box->lineEdit();
    e->setFocus();
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Delete);
    typeText(e, text);
}

class ImageBuilder : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeAll(path("a.gif"), pictures::gif(64, 32));
        writeAll(path("b.jpg"), pictures::jpeg(20, 10));
        activate();
    }

    void TearDown() override { EXPECT_TRUE(prompts.exhausted()) << "scripted answers left unused"; }

    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    void activate()
    {
        cg.show();
        cg.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&cg));
    }

    // Makes another window active, then the builder again.
    void comeBack()
    {
        QWidget other;
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
        activate();
    }

    void open(const char* name)
    {
        prompts.answerOpen(path(name));
        QTest::mouseClick(cg.SpeedButton1(), Qt::LeftButton);
    }

    // The size dialog: types the entries, confirms; cancels after a refusal.
    void setSize(const QString& width, const QString& height, bool refused = false)
    {
        if (refused)
            prompts.answerMessage(Prompts::Answer::Ok);
        prompts.answerDialog([=](QDialog& d) {
            auto& s = static_cast<TFmSize&>(d);
            s.show();
            typeInto(s.WidthComb(), width);
            typeInto(s.HeightComb(), height);
            QTest::mouseClick(s.BitBtn1(), Qt::LeftButton);
            EXPECT_EQ(s.isVisible(), refused);
            if (refused)
                QTest::mouseClick(s.BitBtn2(), Qt::LeftButton);
            return s.result();
        });
        QTest::mouseClick(cg.CgSize(), Qt::LeftButton);
    }

    // The detail dialog, entries in the order BORDER, ALT, ALIGN, VSPACE, HSPACE.
    void setDetails(const QStringList& entries, bool refused = false)
    {
        if (refused)
            prompts.answerMessage(Prompts::Answer::Ok);
        prompts.answerDialog([=](QDialog& d) {
            auto& o = static_cast<TFmOption&>(d);
            o.show();
            QComboBox* boxes[] = {o.BorderEdit(), o.Altedit(), o.AlignEdit(), o.VSpaceEdit(), o.HSpaceEdit()};
            for (int i = 0; i < 5; ++i)
                typeInto(boxes[i], entries[i]);
            QTest::mouseClick(o.BitOk(), Qt::LeftButton);
            if (refused)
                QTest::mouseClick(o.BtnCancel(), Qt::LeftButton);
            return o.result();
        });
        QTest::mouseClick(cg.CgOp(), Qt::LeftButton);
    }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    FakeEditorPort sink;
    RecordingShell shell;
    TFmCg cg{prompts, sink, shell};
};

const QString kNone = QStringLiteral("(なし)");

} // namespace

TEST_F(ImageBuilder, OpeningAPictureShowsItsShortTagAndEnablesTheOptions)
{
    EXPECT_EQ(cg.tagText(), QStringLiteral("<IMG SRC=\"\">"));
    for (QToolButton* b : {cg.CgSize(), cg.CgOp(), cg.BtnView()})
        EXPECT_FALSE(b->isEnabled());
    prompts.cancelOpen();
    QTest::mouseClick(cg.SpeedButton1(), Qt::LeftButton);
    EXPECT_FALSE(cg.CgSize()->isEnabled());
    EXPECT_EQ(prompts.shown.back().file.filter, QStringLiteral("ｻﾎﾟｰﾄﾌｧｲﾙ(*.gif;*.jpg;*bmp)|*.gif;*.jpg;*.bmp"));

    open("a.gif");
    EXPECT_EQ(cg.tagText(), QStringLiteral(" <IMG SRC=\"a.gif\">"));
    EXPECT_EQ(cg.statusText(), path("a.gif"));
    for (QToolButton* b : {cg.CgSize(), cg.CgOp(), cg.BtnView()})
        EXPECT_TRUE(b->isEnabled());

    QTest::mouseClick(cg.CgCopy(), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral(" <IMG SRC=\"a.gif\">"));
    QTest::mouseClick(cg.BtnView(), Qt::LeftButton);
    EXPECT_EQ(shell.opened, QStringList{path("a.gif")});
    shell.works = false;
    prompts.answerMessage(Prompts::Answer::Ok);
    QTest::mouseClick(cg.BtnView(), Qt::LeftButton);
    EXPECT_EQ(prompts.messages().back(), QStringLiteral("no viewer"));
}

TEST_F(ImageBuilder, SizeDialogStoresWholeNumbersAndNothingWhenAnEntryIsRefused)
{
    open("a.gif");
    prompts.answerDialog([](QDialog& d) {
        auto& s = static_cast<TFmSize&>(d);
        EXPECT_EQ(s.WidthComb()->currentText(), kNone);
        EXPECT_EQ(s.Label5()->text(), QStringLiteral("64"));
        EXPECT_EQ(s.Label6()->text(), QStringLiteral("32"));
        return int(QDialog::Rejected);
    });
    QTest::mouseClick(cg.CgSize(), Qt::LeftButton);
    // However the dialog closed, the full tag is shown.
    EXPECT_EQ(cg.tagText(), QStringLiteral(" <IMG SRC=\"a.gif\">"));

    setSize(QStringLiteral("20"), kNone);
    // HEIGHT is refused: the cancel leaves WIDTH as it was before.
    setSize(QStringLiteral("30"), QStringLiteral("x"), true);
    EXPECT_EQ(prompts.messages().back(), QStringLiteral("'x' は数値ではありません"));
    EXPECT_EQ(cg.tagText(), QStringLiteral(" <IMG SRC=\"a.gif\" WIDTH=\"20\">"));
    EXPECT_EQ(cg.previewSize(), QSize(20, 32));

    setSize(kNone, QStringLiteral("050"));
    EXPECT_EQ(cg.tagText(), QStringLiteral(" <IMG SRC=\"a.gif\" HEIGHT=\"50\">"));
    EXPECT_EQ(cg.previewSize(), QSize(64, 50));
}

TEST_F(ImageBuilder, DetailDialogPutsAltLastAndACancelAfterARefusalLeavesEverythingAsItWas)
{
    open("a.gif");
    setDetails({QStringLiteral("0"), QStringLiteral("説明"), kNone, kNone, kNone});
    EXPECT_EQ(cg.tagText(), QStringLiteral(" <IMG SRC=\"a.gif\" BORDER=\"0\" ALT=\"説明\">"));

    setSize(QStringLiteral("1"), QStringLiteral("2"));
    setDetails({QStringLiteral("3"), QStringLiteral("alt"), QStringLiteral("top"), QStringLiteral("4"),
                QStringLiteral("5")});
    const QString before = QStringLiteral(" <IMG SRC=\"a.gif\" WIDTH=\"1\" HEIGHT=\"2\" BORDER=\"3\" "
                                          "ALIGN=\"top\" VSPACE=\"4\" HSPACE=\"5\" ALT=\"alt\">");
    EXPECT_EQ(cg.tagText(), before);

    // VSPACE is refused, then ｷｬﾝｾﾙ: nothing of the dialog is stored, and
    // nothing stored before is lost.
    setDetails({QStringLiteral("6"), QStringLiteral("x"), QStringLiteral("middle"), QStringLiteral("v"),
                QStringLiteral("7")},
               true);
    EXPECT_EQ(prompts.messages().back(), QStringLiteral("'v' は数値ではありません"));
    EXPECT_EQ(cg.tagText(), before);
    // Escape after a refused BORDER, likewise.
    prompts.answerMessage(Prompts::Answer::Ok);
    prompts.answerDialog([](QDialog& d) {
        auto& o = static_cast<TFmOption&>(d);
        o.show();
        EXPECT_EQ(o.BorderEdit()->currentText(), QStringLiteral("3"));
        EXPECT_EQ(o.VSpaceEdit()->currentText(), QStringLiteral("4"));
        typeInto(o.BorderEdit(), QStringLiteral("wide"));
        typeInto(o.Altedit(), QStringLiteral("changed"));
        QTest::mouseClick(o.BitOk(), Qt::LeftButton);
        EXPECT_TRUE(o.isVisible());
        QTest::keyClick(&o, Qt::Key_Escape);
        return o.result();
    });
    QTest::mouseClick(cg.CgOp(), Qt::LeftButton);
    EXPECT_EQ(prompts.messages().back(), QStringLiteral("'wide' は数値ではありません"));
    EXPECT_EQ(cg.tagText(), before);
    EXPECT_EQ(cg.values().detail(ImageTag::Alt), QStringLiteral("alt"));
}

TEST_F(ImageBuilder, ANewPictureClearsTheSizeKeepsTheDetailsAndActivationReloads)
{
    open("a.gif");
    setSize(QStringLiteral("10"), QStringLiteral("10"));
    setDetails({QStringLiteral("0"), kNone, QStringLiteral("top"), kNone, kNone});
    open("b.jpg");
    EXPECT_EQ(cg.tagText(), QStringLiteral(" <IMG SRC=\"b.jpg\">"));
    EXPECT_EQ(cg.values().size(ImageTag::Width), kNone);
    prompts.answerDialog([](QDialog&) { return int(QDialog::Rejected); });
    QTest::mouseClick(cg.CgOp(), Qt::LeftButton);
    EXPECT_EQ(cg.tagText(), QStringLiteral(" <IMG SRC=\"b.jpg\" BORDER=\"0\" ALIGN=\"top\">"));

    // Coming back to the window reads the picture again: the short tag.
    setSize(QStringLiteral("5"), kNone);
    comeBack();
    EXPECT_EQ(cg.tagText(), QStringLiteral(" <IMG SRC=\"b.jpg\">"));
    EXPECT_EQ(cg.values().size(ImageTag::Width), kNone);
}

TEST_F(ImageBuilder, AnUnreadablePictureIsReportedAndChangesNothing)
{
    open("a.gif");
    setSize(QStringLiteral("8"), kNone);
    writeAll(path("png.jpg"), QByteArray::fromHex("89504e470d0a1a0a0000000d49484452"));
    prompts.answerMessage(Prompts::Answer::Ok);
    open("png.jpg");
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages().back().startsWith(path("png.jpg")));
    EXPECT_TRUE(prompts.messages().back().contains(QLatin1String("JPEG")));
    EXPECT_EQ(cg.tagText(), QStringLiteral(" <IMG SRC=\"a.gif\" WIDTH=\"8\">"));
    EXPECT_EQ(cg.statusText(), path("a.gif"));
    EXPECT_EQ(cg.values().imageFile(), path("a.gif"));
}

TEST_F(ImageBuilder, ClosingShowsTheEmptyTagAndDisablesTheOptions)
{
    open("a.gif");
    cg.close();
    EXPECT_FALSE(cg.isVisible());
    EXPECT_EQ(cg.tagText(), QStringLiteral("<IMG SRC=\"\">"));
    for (QToolButton* b : {cg.CgSize(), cg.CgOp(), cg.BtnView()})
        EXPECT_FALSE(b->isEnabled());
}

TEST_F(ImageBuilder, SuperModeShowsThePictureOnTealAndMakesLargePicturesSmaller)
{
    open("a.gif");
    EXPECT_FALSE(cg.ScrollBox1()->isVisible());
    EXPECT_TRUE(cg.previewImage().isNull());   // no pixels outside super mode
    cg.MSuperClick();
    EXPECT_TRUE(cg.ScrollBox1()->isVisible());
    EXPECT_EQ(cg.height(), 300);
    EXPECT_EQ(cg.palette().color(QPalette::Window), QColor(0x00, 0x80, 0x80));
    EXPECT_TRUE(cg.StatusBar1()->isSizeGripEnabled());
    EXPECT_EQ(cg.previewImage().size(), QSize(64, 32));
    EXPECT_EQ(cg.previewImage().pixelColor(0, 0), pictures::gifColor(0, 0));

    cg.resize(cg.width(), 400);
    cg.MSuperClick();
    EXPECT_EQ(cg.height(), 300);

    // A display size far beyond the screen costs nothing: the preview is
    // scaled while painting.
    setSize(QStringLiteral("100000"), QStringLiteral("-3"));
    EXPECT_EQ(cg.previewSize(), QSize(100000, 0));
    cg.grab();

    // Pictures whose whole preview would be too large to hold give their
    // tag as without super mode, with a smaller preview.
    writeAll(path("big.gif"), pictures::gif(4200, 4200));
    writeAll(path("big.bmp"), pictures::bmp(4200, 4200));
    writeAll(path("wide.gif"), pictures::withClaimedSize(pictures::gif(8, 8), "gif", 60000, 60000));
    for (const char* name : {"big.gif", "big.bmp", "wide.gif"}) {
        open(name);
        EXPECT_EQ(cg.tagText(), QStringLiteral(" <IMG SRC=\"%1\">").arg(QLatin1String(name)));
        EXPECT_EQ(cg.values().imageFile(), path(name));
        const QImage& preview = cg.previewImage();
        ASSERT_FALSE(preview.isNull()) << name;
        EXPECT_LE(qint64(preview.width()) * preview.height(), kPreviewPixelCap) << name;
        EXPECT_EQ(cg.previewSize(), cg.values().naturalSize()) << name;
    }
    EXPECT_EQ(cg.previewImage().size(), QSize(4000, 4000));   // 60000 / 15
    EXPECT_EQ(cg.previewImage().pixelColor(0, 0), pictures::gifColor(0, 0));
    EXPECT_EQ(qAlpha(cg.previewImage().pixel(1, 1)), 0);   // the screen outside the picture
    cg.grab();

    // A picture whose preview cannot be made at all (libjpeg would need
    // gigabytes for it) still gives its tag; the preview says why.
    writeAll(path("deep.jpg"), pictures::withClaimedSize(pictures::jpeg(16, 16, {.progressive = true}), "jpeg",
                                                         60000, 60000));
    open("deep.jpg");
    EXPECT_EQ(cg.tagText(), QStringLiteral(" <IMG SRC=\"deep.jpg\">"));
    EXPECT_TRUE(cg.previewImage().isNull());
    EXPECT_FALSE(cg.previewError().isEmpty());
    cg.grab();
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST_F(ImageBuilder, SuperModeKeepsThePreviewUntilThePictureChanges)
{
    cg.MSuperClick();
    open("b.jpg");
    const qint64 decoded = cg.previewImage().cacheKey();
    ASSERT_FALSE(cg.previewImage().isNull());
    comeBack();
    comeBack();
    EXPECT_EQ(cg.previewImage().cacheKey(), decoded);
    EXPECT_EQ(cg.tagText(), QStringLiteral(" <IMG SRC=\"b.jpg\">"));

    // Another picture under the same name is read again.
    writeAll(path("b.jpg"), pictures::jpeg(30, 12));
    QFile f(path("b.jpg"));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTimeUtc().addSecs(5), QFileDevice::FileModificationTime));
    f.close();
    comeBack();
    EXPECT_EQ(cg.previewImage().size(), QSize(30, 12));
    EXPECT_EQ(cg.values().naturalSize(), QSize(30, 12));

    // A picture that is gone is reported, and the builder keeps what it had.
    ASSERT_TRUE(QFile::remove(path("b.jpg")));
    prompts.answerMessage(Prompts::Answer::Ok);
    comeBack();
    EXPECT_TRUE(prompts.messages().back().startsWith(path("b.jpg")));
}

TEST_F(ImageBuilder, AGifDamagedAfterItsHeaderIsRefusedAlikeWithAndWithoutSuperMode)
{
    const QByteArray gif = pictures::gif(64, 64);
    writeAll(path("cut.gif"), gif.left(gif.size() - 30));
    open("a.gif");
    prompts.answerMessage(Prompts::Answer::Ok);
    open("cut.gif");
    ASSERT_EQ(prompts.messages().size(), 1);
    const QString plain = prompts.messages().back();
    EXPECT_TRUE(plain.startsWith(path("cut.gif")));
    EXPECT_EQ(cg.tagText(), QStringLiteral(" <IMG SRC=\"a.gif\">"));

    cg.MSuperClick();
    prompts.answerMessage(Prompts::Answer::Ok);
    open("cut.gif");
    ASSERT_EQ(prompts.messages().size(), 2);
    EXPECT_EQ(prompts.messages().back(), plain);
    EXPECT_EQ(cg.tagText(), QStringLiteral(" <IMG SRC=\"a.gif\">"));
    EXPECT_EQ(cg.values().imageFile(), path("a.gif"));
}
