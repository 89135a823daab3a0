#include "builders/frame/framelayouts.h"
#include "builders/frame/tfmframe.h"

#include <QApplication>
#include <QClipboard>
#include <QToolButton>
#include <gtest/gtest.h>

TEST(FrameLayouts, TwoRowsPageLineByLine)
{
    const QString expected = QStringLiteral(
        "<HTML>\r\n\r\n<HEAD>\r\n<TITLE>フレーム表示</TITLE>\r\n</HEAD>\r\n\r\n"
        "<!-- 横２分割フレーム -->\r\n<FRAMESET ROWS=\"25%,75%\">\r\n"
        "<FRAME NAME=\"A\" SRC=\"A.htm\" SCROLLING=\"auto\" >\r\n"
        "<FRAME NAME=\"B\" SRC=\"B.htm\" SCROLLING=\"auto\" >\r\n</FRAMESET>\r\n\r\n"
        "<NOFRAME>フレーム機能をサポートしているブラウザで御覧下さい</NOFRAME>\r\n\r\n</HTML>\r\n");
    EXPECT_EQ(composeFramePage(2), expected);
}

TEST(FrameLayouts, EachLayoutHasItsCommentFramesAndClosings)
{
    const QString a = QStringLiteral("<FRAME NAME=\"A\" SRC=\"A.htm\" SCROLLING=\"auto\" >");
    const QString b = QStringLiteral("<FRAME NAME=\"B\" SRC=\"B.htm\" SCROLLING=\"auto\" >");
    const QString c = QStringLiteral("<FRAME NAME=\"C\" SRC=\"C.htm\" SCROLLING=\"auto\" >");
    const QString cols = QStringLiteral("<FRAMESET COLS=\"25%,75%\">");
    const QString rows = QStringLiteral("<FRAMESET ROWS=\"25%,75%\">");
    const QString end = QStringLiteral("</FRAMESET>");
    EXPECT_EQ(frameLayoutLines(1),
              (QStringList{QStringLiteral("<!-- 縦２分割フレーム -->"), cols, a, b, end}));
    EXPECT_EQ(frameLayoutLines(3), (QStringList{QStringLiteral("<!-- 横ベース縦２分割フレーム -->"),
                                                rows, a, cols, b, c, end, end}));
    EXPECT_EQ(frameLayoutLines(4), (QStringList{QStringLiteral("<!-- 縦ベース横２分割フレーム -->"),
                                                cols, a, rows, b, c, end, end}));
    EXPECT_TRUE(frameLayoutLines(0).isEmpty());
    EXPECT_TRUE(frameLayoutLines(5).isEmpty());
    for (int i = 1; i <= 4; ++i) {
        const QString page = composeFramePage(i);
        EXPECT_FALSE(page.contains(QStringLiteral("BODY"))) << i;
        EXPECT_TRUE(page.endsWith(QStringLiteral("</NOFRAME>\r\n\r\n</HTML>\r\n"))) << i;
    }
}

TEST(TFmFrame, ALayoutButtonPutsThePageOnTheClipboardEachShowingStartsAfresh)
{
    TFmFrame dlg;
    QClipboard* clip = QApplication::clipboard();
    for (int i = 1; i <= 4; ++i) {
        dlg.FormActivate();
        EXPECT_EQ(dlg.outcome(), 0);
        EXPECT_EQ(dlg.TempMemo(), frameHeadLines());
        auto* button = dlg.findChild<QToolButton*>(QStringLiteral("Frame%1").arg(i));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::number(i));
        button->click();
        EXPECT_EQ(dlg.outcome(), 1);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(clip->text(), composeFramePage(i));
    }

    // Closed by the title bar: outcome 0, clipboard untouched.
    clip->setText(QStringLiteral("mine"));
    dlg.FormActivate();
    dlg.reject();
    EXPECT_EQ(dlg.outcome(), 0);
    EXPECT_EQ(clip->text(), QStringLiteral("mine"));
}
