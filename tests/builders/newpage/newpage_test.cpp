#include "builders/newpage/newpageskeleton.h"
#include "builders/newpage/tfmnew.h"

#include "support/scriptedprompts.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

const QString kDefaultBody = QStringLiteral(
    "<BODY  BGCOLOR=\"#FFFFFF\"  TEXT=\"#000000\"  LINK=\"#0000FF\"  VLINK=\"#FF0000\"  "
    "ALINK=\"#008200\">");

template <class T>
T* child(QWidget& w, const char* name)
{
    T* c = w.findChild<T*>(QLatin1String(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

} // namespace

TEST(NewPageSkeleton, DefaultsGiveTheFullSkeletonWithCrLfAfterEveryLine)
{
    const QString expected = QStringLiteral("<!-- a.htm -->\r\n<HTML>\r\n\r\n<HEAD>\r\n</HEAD>\r\n\r\n")
        + kDefaultBody
        + QStringLiteral("\r\n<!-- 設定 -->\r\n<BASEFONT  SIZE=\"5\">\r\n<!-- 本文 -->\r\n"
                         "</BODY>\r\n\r\n</HTML>\r\n");
    EXPECT_EQ(composeNewPage(NewPageSettings{}), expected);
}

TEST(NewPageSkeleton, OptionalLinesAppearOnlyWithTheirEntries)
{
    NewPageSettings s;
    s.title = QStringLiteral("私のページ & <b>");
    s.baseFontSize = QStringLiteral("3");
    s.music = QStringLiteral("song.mid");
    s.picture = QStringLiteral("back.gif");
    const QStringList lines = newPageLines(s);
    ASSERT_EQ(lines.size(), 15);
    EXPECT_EQ(lines[4], QStringLiteral("<TITLE>私のページ & <b></TITLE>"));   // not escaped
    EXPECT_EQ(lines[7], QStringLiteral("<BODY  BACKGROUND=\"back.gif\"  BGCOLOR=\"#FFFFFF\"  "
                                       "TEXT=\"#000000\"  LINK=\"#0000FF\"  VLINK=\"#FF0000\"  "
                                       "ALINK=\"#008200\">"));
    EXPECT_EQ(lines[9], QStringLiteral("<BASEFONT  SIZE=\"3\">"));
    EXPECT_EQ(lines[10], QStringLiteral("<BGSOUND  SRC=\"song.mid\" LOOP=\"INFINITE\">"));
    EXPECT_EQ(lines[11], QStringLiteral("<!-- 本文 -->"));

    const QStringList bare = newPageLines(NewPageSettings{});
    ASSERT_EQ(bare.size(), 13);
    EXPECT_EQ(bare[3], QStringLiteral("<HEAD>"));
    EXPECT_EQ(bare[4], QStringLiteral("</HEAD>"));
    EXPECT_EQ(bare[6], kDefaultBody);
    EXPECT_EQ(bare[8], QStringLiteral("<BASEFONT  SIZE=\"5\">"));
    EXPECT_EQ(bare[9], QStringLiteral("<!-- 本文 -->"));
}

TEST(NewPageSkeleton, ColourCodesAndFileNames)
{
    EXPECT_EQ(htmlColorCode(QColor(255, 0, 0)), QStringLiteral("#FF0000"));
    EXPECT_EQ(htmlColorCode(QColor(10, 171, 12)), QStringLiteral("#0AAB0C"));
    EXPECT_EQ(htmlColorCode(QColor::fromHsv(240, 255, 255)), QStringLiteral("#0000FF"));
    EXPECT_EQ(bareFileName(QStringLiteral("C:\\img\\back.gif")), QStringLiteral("back.gif"));
    EXPECT_EQ(bareFileName(QStringLiteral("/home/u/mid/a b.mid")), QStringLiteral("a b.mid"));
    EXPECT_EQ(bareFileName(QStringLiteral("plain.gif")), QStringLiteral("plain.gif"));
}

TEST(TFmNew, OutcomesAndTheClipboard)
{
    ScriptedPrompts prompts;
    TFmNew dlg(prompts);
    QClipboard* clip = QApplication::clipboard();

    dlg.FormActivate();
    child<QLineEdit>(dlg, "Editc")->setText(QStringLiteral("題"));
    clip->setText(QStringLiteral("before"));
    child<QPushButton>(dlg, "BtnOk")->click();
    EXPECT_EQ(dlg.outcome(), 1);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(clip->text().startsWith(QStringLiteral("<!-- a.htm -->\r\n<HTML>\r\n")));
    EXPECT_TRUE(clip->text().contains(QStringLiteral("\r\n<TITLE>題</TITLE>\r\n")));

    dlg.FormActivate();
    EXPECT_EQ(dlg.outcome(), 0);
    clip->setText(QStringLiteral("kept"));
    child<QPushButton>(dlg, "BtnWhite")->click();
    EXPECT_EQ(dlg.outcome(), 2);
    EXPECT_EQ(clip->text(), QStringLiteral("kept"));

    dlg.FormActivate();
    child<QPushButton>(dlg, "BtnCancel")->click();
    EXPECT_EQ(dlg.outcome(), 0);

    dlg.FormActivate();
    dlg.reject();   // the title bar's close box
    EXPECT_EQ(dlg.outcome(), 0);
    EXPECT_EQ(clip->text(), QStringLiteral("kept"));
}

TEST(TFmNew, ActivationClearsTheEntriesButKeepsTheColours)
{
    ScriptedPrompts prompts;
    TFmNew dlg(prompts);
    dlg.FormActivate();

    dlg.selectRole(int(PageColorRole::Link));
    prompts.colorAnswers.push_back(QColor(0x12, 0xab, 0x00));
    child<QPushButton>(dlg, "BtnColor")->click();
    auto colors = NewPageSettings::defaultColors();
    colors[2] = QStringLiteral("#12AB00");
    EXPECT_EQ(dlg.colorValues(), colors);
    EXPECT_EQ(child<QLabel>(dlg, "Label2")->palette().color(QPalette::WindowText),
              QColor(0x12, 0xab, 0x00));
    EXPECT_EQ(child<QLabel>(dlg, "Label3")->palette().color(QPalette::WindowText),
              QColor(255, 0, 0));

    // A cancelled colour dialog changes nothing.
    dlg.selectRole(int(PageColorRole::Background));
    const QColor panelBefore = child<QFrame>(dlg, "Panel1")->palette().color(QPalette::Window);
    prompts.colorAnswers.push_back(std::nullopt);
    child<QPushButton>(dlg, "BtnColor")->click();
    EXPECT_EQ(dlg.colorValues(), colors);
    EXPECT_EQ(child<QFrame>(dlg, "Panel1")->palette().color(QPalette::Window), panelBefore);

    prompts.colorAnswers.push_back(QColor(0, 0, 0));
    child<QPushButton>(dlg, "BtnColor")->click();
    colors[0] = QStringLiteral("#000000");
    EXPECT_EQ(child<QFrame>(dlg, "Panel1")->palette().color(QPalette::Window), QColor(0, 0, 0));

    // Browsing puts bare file names into the entries.
    prompts.answerOpen(QStringLiteral("/home/u/img/back.gif"));
    child<QPushButton>(dlg, "BtnImg")->click();
    prompts.answerOpen(QStringLiteral("/home/u/snd/loop.mid"));
    child<QPushButton>(dlg, "ButMusic")->click();
    prompts.cancelOpen();
    child<QPushButton>(dlg, "ButMusic")->click();   // cancelled: entry kept
    EXPECT_EQ(prompts.shown[3].file.filter,
              QStringLiteral("GIFﾌｧｲﾙ(*.gif)|*.gif|JPEGﾌｧｲﾙ(*.jpg)|*.jpg"));
    EXPECT_EQ(prompts.shown[4].file.filter,
              QStringLiteral("MIDIﾌｧｲﾙ(*.mid)|*.mid|WAVEﾌｧｲﾙ(*.wav)|*.wav"));
    child<QLineEdit>(dlg, "Editc")->setText(QStringLiteral("t"));
    child<QComboBox>(dlg, "ComboBox1")->setCurrentIndex(0);
    NewPageSettings s = dlg.settings();
    EXPECT_EQ(s.picture, QStringLiteral("back.gif"));
    EXPECT_EQ(s.music, QStringLiteral("loop.mid"));
    EXPECT_EQ(s.baseFontSize, QStringLiteral("1"));

    // Shown again: entries empty, size 5, colours and role as chosen.
    dlg.FormActivate();
    s = dlg.settings();
    EXPECT_TRUE(s.title.isEmpty());
    EXPECT_TRUE(s.music.isEmpty());
    EXPECT_TRUE(s.picture.isEmpty());
    EXPECT_EQ(s.baseFontSize, QStringLiteral("5"));
    EXPECT_EQ(s.colors, colors);
    EXPECT_EQ(dlg.selectedRole(), int(PageColorRole::Background));
    EXPECT_TRUE(prompts.exhausted());
}
