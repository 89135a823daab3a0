// The Edit, View and Settings menu commands.
#include "app/editcommands.h"
#include "charset/sjis.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

using EditMenu = MainWindowTest;

namespace {
QString selected(DocumentEditor* e)
{
    return e->textCursor().selectedText();
}
} // namespace

TEST(DateTimeCaptions, NoLeadingZerosWeekdayAndJst)
{
    const QStringList c = dateTimeCaptions(QDateTime(QDate(2026, 12, 6), QTime(21, 5, 3)));
    EXPECT_EQ(c, (QStringList{"2026/12/6", "2026年12月6日", "2026年12月6日（日）", "21:5:3JST",
                              "21時5分3秒"}));
    const QStringList m = dateTimeCaptions(QDateTime(QDate(2027, 1, 2), QTime(0, 0, 0)));
    EXPECT_EQ(m[2], QStringLiteral("2027年1月2日（土）"));
    EXPECT_EQ(m[3], QStringLiteral("0:0:0JST"));
    EXPECT_EQ(dateTimeCaptions(QDateTime(QDate(2026, 12, 7), QTime(9, 10, 11)))[2],
              QStringLiteral("2026年12月7日（月）"));
}

TEST_F(EditMenu, OpeningTheMenuRecomputesDatesAndChoosingOneInserts)
{
    TFmMain& m = makeWindow();
    EXPECT_EQ(m.action("MDate1")->text(), QStringLiteral("（なし）"));
    emit m.menu("MEdition")->aboutToShow();
    EXPECT_EQ(m.action("MDate3")->text(), QStringLiteral("2026年12月6日（日）"));
    clock.set(QDateTime(QDate(2026, 12, 7), QTime(8, 0, 9)));
    emit m.menu("MEdition")->aboutToShow();
    EXPECT_EQ(m.action("MHour2")->text(), QStringLiteral("8時0分9秒"));
    m.action("MHour1")->trigger(); // no document: nothing happens
    m.NewDocument();
    m.action("MHour1")->trigger();
    EXPECT_EQ(currentText(), QStringLiteral("8:0:9JST"));
}

TEST_F(EditMenu, SearchCyclesSharesItsPositionAndReportsMisses)
{
    TFmMain& m = makeWindow(true);
    auto* edit = m.findChild<QLineEdit*>("SearchEdit");
    auto* button = m.findChild<QPushButton*>("BtnSearch");
    Document& d1 = m.NewDocument();
    d1.edit->setPlainText(QStringLiteral("abc xx\nABC yy"));
    m.action("MSearch")->trigger(); // show the bar
    edit->setText(QStringLiteral("aBc"));
    button->click();
    EXPECT_EQ(d1.edit->textCursor().selectionStart(), 0);
    button->click();
    EXPECT_EQ(d1.edit->textCursor().selectionStart(), 7);
    EXPECT_EQ(selected(d1.edit), QStringLiteral("ABC"));
    button->click();
    EXPECT_EQ(d1.edit->textCursor().selectionStart(), 0);
    button->click(); // SearchPos is now 10

    // The position is the window's: a second document starts from it.
    Document& d2 = m.NewDocument();
    d2.edit->setPlainText(QStringLiteral("abc 0123456789 abc"));
    button->click();
    EXPECT_EQ(d2.edit->textCursor().selectionStart(), 15);

    // Shift+Enter searches, plain Enter does not.
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(d2.edit->textCursor().selectionStart(), 15);
    QTest::keyClick(edit, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(d2.edit->textCursor().selectionStart(), 0);

    // A miss: the message, the selection unchanged, the editor focused.
    edit->setText(QStringLiteral("zzz"));
    prompts.answerMessage(Prompts::Answer::Ok);
    button->click();
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_EQ(prompts.messages()[0], QStringLiteral("検索範囲に \"zzz\" 見つけられませんでした"));
    EXPECT_EQ(prompts.shown.back().icon, Prompts::Icon::Error);
    EXPECT_EQ(selected(d2.edit), QStringLiteral("abc"));
    EXPECT_TRUE(d2.edit->hasFocus());
}

TEST_F(EditMenu, ClipboardCommandsDeleteAndLineSelection)
{
    TFmMain& m = makeWindow(true);
    Document& d = m.NewDocument();
    d.edit->setPlainText(QStringLiteral("one\n\nthree"));
    d.edit->selectAll();
    m.action("MCopy")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("one\n\nthree"));

    QTextCursor c = d.edit->textCursor();
    c.setPosition(0);
    c.setPosition(3, QTextCursor::KeepAnchor);
    d.edit->setTextCursor(c);
    m.action("MDelete")->trigger();
    EXPECT_EQ(currentText(), QStringLiteral("\n\nthree"));
    EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());

    // A picture on the clipboard pastes nothing.
    auto* mime = new QMimeData;
    mime->setImageData(QImage(4, 4, QImage::Format_RGB32));
    QApplication::clipboard()->setMimeData(mime);
    m.action("MPaste")->trigger();
    EXPECT_EQ(currentText(), QStringLiteral("\n\nthree"));

    // Line selection works from the caret of the last caret update.
    c.setPosition(1); // the empty second line
    d.edit->setTextCursor(c);
    m.UpdateCaret();
    m.action("MOne")->trigger();
    EXPECT_EQ(d.edit->textCursor().selectionStart(), 1);
    EXPECT_FALSE(d.edit->textCursor().hasSelection());
    c.setPosition(4);
    d.edit->setTextCursor(c);
    m.UpdateCaret();
    m.action("NOne2")->trigger();
    EXPECT_EQ(selected(d.edit), QStringLiteral("three"));

    m.action("MBr")->trigger();
    EXPECT_EQ(currentText(), QStringLiteral("\n\n<BR>three"));
}

TEST_F(EditMenu, WordWrapReachesEveryDocumentAndIsSaved)
{
    TFmMain& m = makeWindow();
    Document& a = m.NewDocument();
    Document& b = m.NewDocument();
    Document& c = m.NewDocument();
    m.action("MWordWrap")->trigger();
    for (Document* d : {&a, &b, &c})
        EXPECT_EQ(d->edit->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_TRUE(sjis::decode(readAll(iniPath())).contains(QStringLiteral("WordWrap=0")));
    m.action("MWordWrap")->trigger();
    EXPECT_EQ(b.edit->lineWrapMode(), QPlainTextEdit::NoWrap);
}

TEST_F(EditMenu, BarTogglesSaveButF3DoesNot)
{
    TFmMain& m = makeWindow(true);
    m.action("MFindFocus")->trigger();
    EXPECT_TRUE(m.findChild<QWidget*>("SearchPanel")->isVisible());
    EXPECT_TRUE(m.action("MSearch")->isChecked());
    EXPECT_FALSE(QFile::exists(iniPath())) << "F3 writes nothing";
    m.action("MToolbar")->trigger();
    EXPECT_FALSE(m.findChild<QWidget*>("ToolBar")->isVisible());
    const QString text = sjis::decode(readAll(iniPath()));
    EXPECT_TRUE(text.contains(QStringLiteral("[Tool]\r\nBar=1\r\nBuild=0\r\nSearch=0")));
    m.action("MFindFocus")->trigger();
    EXPECT_FALSE(m.findChild<QWidget*>("SearchPanel")->isVisible());
    m.action("MFK")->trigger();
    EXPECT_TRUE(m.findChild<QWidget*>("FKBar")->isVisible());
    m.action("MInput")->trigger();
    EXPECT_TRUE(sjis::decode(readAll(iniPath())).contains(QStringLiteral("Input=0")));
}

TEST_F(EditMenu, SuperModeAndTheDocumentSwitch)
{
    TFmMain& m = makeWindow();
    EXPECT_FALSE(m.action("MCut")->isEnabled());
    EXPECT_FALSE(m.findChild<QPushButton*>("BtnSearch")->isEnabled());
    m.NewDocument();
    EXPECT_TRUE(m.action("MCut")->isEnabled());
    EXPECT_TRUE(m.action("ToolUndo")->isEnabled());
    EXPECT_FALSE(m.action("MUndo")->isEnabled()) << "undo waits for a change";
    m.action("MSuper")->trigger();
    EXPECT_TRUE(m.superMode());
    EXPECT_EQ(m.statusPanel(4), QStringLiteral("SuperMode"));
}
