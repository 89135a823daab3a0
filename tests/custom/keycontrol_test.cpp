// Key control: the Ctrl shortcuts pressed in an editor, and the dialog that
// edits their texts.
#include "customwindow.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using KeyControl = CustomWindow;

namespace {

// Edits one row of the grid as a user does: F2, the new text, and Enter
// when asked.
void editRow(QDialog& d, int row, const QString& text, bool enter)
{
    auto* grid = d.findChild<QTableWidget*>(QStringLiteral("KeyGrid"));
    ASSERT_NE(grid, nullptr);
    grid->setFocus();
    grid->setCurrentCell(row, 1);
    QTest::keyClick(grid, Qt::Key_F2);
    QLineEdit* editor = nullptr;   // a closed editor may linger, hidden
    for (QLineEdit* e : grid->viewport()->findChildren<QLineEdit*>())
        if (e->isVisible())
            editor = e;
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    if (text.isEmpty())
        QTest::keyClick(editor, Qt::Key_Delete);
    else
        QTest::keyClicks(editor, text);
    if (enter)
        QTest::keyClick(editor, Qt::Key_Return);
}

void press(QDialog& d, const char* button)
{
    QTest::mouseClick(d.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
}

} // namespace

TEST_F(KeyControl, ShortcutsWinOverTheEditorsOwnKeys)
{
    DocumentEditor* e = openEditor(QStringLiteral("xx abc"));
    selectToLineStart(e);
    QTest::keyClick(e, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(currentText(), QStringLiteral("<B></B>")) << "the selection is replaced, not wrapped";
    EXPECT_EQ(e->textCursor().position(), 7);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("<B></B>"));

    // Ctrl+A inserts the anchor instead of selecting everything.
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(currentText(), QStringLiteral("<B></B><A HREF=\"\"></A>"));
    EXPECT_FALSE(e->textCursor().hasSelection());
    e->clear();
    for (Qt::Key k : {Qt::Key_Q, Qt::Key_K, Qt::Key_Y, Qt::Key_E})
        QTest::keyClick(e, k, Qt::ControlModifier);
    EXPECT_EQ(currentText(), QStringLiteral("<!-- --><UL></UL><P></P><TD></TD>"));

    // Other Ctrl keys keep their own meaning.
    QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(currentText(), QStringLiteral("<!-- --><UL></UL><P></P>"));

    // Without a document the shortcuts are switched off.
    w->closeDocument(1);
    EXPECT_FALSE(w->action("CT1")->isEnabled());
    EXPECT_FALSE(w->action("CT18")->isEnabled());
}

TEST_F(KeyControl, ConfirmedTextsTakeEffectAtOnceAndAreSaved)
{
    DocumentEditor* e = openEditor(QStringLiteral("abc"));
    QStringList labels;
    whenDialog([&](QDialog& d) {
        auto* grid = d.findChild<QTableWidget*>(QStringLiteral("KeyGrid"));
        for (int row = 0; row < 17; ++row)
            labels << grid->item(row, 0)->text();
        EXPECT_EQ(grid->item(6, 1)->text(), QStringLiteral("<B></B>"));
        EXPECT_FALSE(grid->item(6, 0)->flags() & Qt::ItemIsEditable);
        editRow(d, 6, QStringLiteral("<STRONG></STRONG>"), true);
        // Still being edited when confirmed: the typed text counts.
        editRow(d, 16, QString(), false);
        press(d, "BitBtn1");
    });
    w->action("N30")->trigger();
    backToEditor(e);
    ASSERT_EQ(labels.size(), 17);
    EXPECT_EQ(labels.first(), QStringLiteral("Ctrl+A"));
    EXPECT_EQ(labels[8], QStringLiteral("Ctrl+N"));
    EXPECT_EQ(labels.last(), QStringLiteral("Ctrl+Q"));

    selectToLineStart(e);
    QTest::keyClick(e, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(currentText(), QStringLiteral("<STRONG></STRONG>"));
    // An emptied slot inserts nothing and leaves the selection alone.
    selectToLineStart(e);
    QTest::keyClick(e, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(currentText(), QStringLiteral("<STRONG></STRONG>"));
    EXPECT_TRUE(e->textCursor().hasSelection());

    const QString ini = iniText();
    EXPECT_TRUE(ini.contains(QStringLiteral("[MKey]\r\n0=<A HREF=\"\"></A>\r\n")));
    EXPECT_TRUE(ini.contains(QStringLiteral("\r\n6=<STRONG></STRONG>\r\n")));
    EXPECT_TRUE(ini.contains(QStringLiteral("\r\n16=\r\n")));

    // The next start: the emptied slot has its default text again.
    w.reset();
    openEditor();
    EXPECT_EQ(w->action("CT7")->text(), QStringLiteral("<STRONG></STRONG>"));
    QTest::keyClick(w->CurrentEdit(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(currentText(), QStringLiteral("<!-- -->"));
}

TEST_F(KeyControl, CancelKeepsTheTextsButStillSaves)
{
    ASSERT_TRUE(writeAll(iniPath(), "[MKey]\r\n3=<FONT SIZE=\"7\"></FONT>\r\n4=\r\n99=junk\r\n"));
    DocumentEditor* e = openEditor();
    whenDialog([&](QDialog& d) {
        editRow(d, 3, QStringLiteral("changed"), true);
        press(d, "BitBtn2");
    });
    QFile::remove(iniPath());
    w->action("N30")->trigger();
    backToEditor(e);
    EXPECT_TRUE(iniText().contains(QStringLiteral("\r\n3=<FONT SIZE=\"7\"></FONT>\r\n4=<HR>\r\n")));
    QTest::keyClick(e, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(currentText(), QStringLiteral("<FONT SIZE=\"7\"></FONT><HR>"));
}

namespace {

// Types text into the row's in-place editor key by key, as a keyboard (or an
// input method committing a character) would, and Enter.
void typeRow(QDialog& d, int row, const QString& text)
{
    auto* grid = d.findChild<QTableWidget*>(QStringLiteral("KeyGrid"));
    ASSERT_NE(grid, nullptr);
    grid->setFocus();
    grid->setCurrentCell(row, 1);
    QTest::keyClick(grid, Qt::Key_F2);
    QLineEdit* editor = nullptr;
    for (QLineEdit* e : grid->viewport()->findChildren<QLineEdit*>())
        if (e->isVisible())
            editor = e;
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::keyClick(editor, Qt::Key_Return);
}

} // namespace

TEST_F(KeyControl, ATextTheSettingsFileCannotHoldIsRefusedAndTheStoredOneKept)
{
    ASSERT_TRUE(writeAll(iniPath(), "[MKey]\r\n10=<PRE>x</PRE>\r\n"));
    DocumentEditor* e = openEditor();
    prompts.answerMessage(Prompts::Answer::Ok);
    bool stillOpen = false;
    int currentRow = -1;
    whenDialog([&](QDialog& d) {
        typeRow(d, 10, QStringLiteral("<P>caf\u00e9</P>"));
        press(d, "BitBtn1");
        stillOpen = d.isVisible() && d.result() != QDialog::Accepted;
        currentRow = d.findChild<QTableWidget*>(QStringLiteral("KeyGrid"))->currentRow();
        press(d, "BitBtn2");
    });
    w->action("N30")->trigger();
    backToEditor(e);
    EXPECT_TRUE(stillOpen) << "the dialog stays open for the text to be changed";
    EXPECT_EQ(currentRow, 10);
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].contains(QStringLiteral("Ctrl+W")));
    EXPECT_TRUE(prompts.messages()[0].contains(QStringLiteral("「\u00e9」(U+00E9)")))
        << prompts.messages()[0].toStdString();
    EXPECT_TRUE(iniText().contains(QStringLiteral("\r\n10=<PRE>x</PRE>\r\n"))) << iniText().toStdString();
    QTest::keyClick(e, Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(currentText(), QStringLiteral("<PRE>x</PRE>"));
}

TEST_F(KeyControl, BlanksAtTheEndsOfATextComeBackAtTheNextStart)
{
    DocumentEditor* e = openEditor();
    whenDialog([&](QDialog& d) {
        typeRow(d, 9, QStringLiteral("<P>\u3000"));
        typeRow(d, 6, QStringLiteral("  <B> "));
        press(d, "BitBtn1");
    });
    w->action("N30")->trigger();
    backToEditor(e);
    EXPECT_TRUE(readAll(iniPath()).contains("\r\n9=<P>\x81\x40\r\n"));

    w.reset();
    e = openEditor();
    QTest::keyClick(e, Qt::Key_U, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(currentText(), QStringLiteral("<P>\u3000  <B> "));
}
