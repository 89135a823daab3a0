// "S-Jis変換": the whole document, line by line, in one undoable edit.
#include "app/sjiscommand.h"
#include "charset/sjis.h"
#include "support/mainwindow.h"

#include <QAction>
#include <QTextBlock>

namespace {

QString text(const QByteArray& bytes) { return sjis::decode(bytes); }

using SjisCommand = MainWindowTest;

TEST(SjisConvertText, EachLineOnItsOwnWithTheStateCarriedOver)
{
    TAutoSjisConv conv;
    // EUC-JP, JIS opening two-byte mode without closing it, a line that
    // continues in two-byte mode, Shift_JIS, and ASCII.
    const QByteArray in = "<P>\xb0\xa1\xa4\xa2</P>\n\x1b$B\x30\x21\n\x30\x21\x1b(B<BR>\n\x88\x9f\n\nend";
    const QByteArray want = "<P>\x88\x9f\x82\xa0</P>\n\x88\x9f\n\x88\x9f<BR>\n\x88\x9f\n\nend";
    EXPECT_EQ(convertTextToSjis(conv, text(in)), text(want));
    EXPECT_FALSE(conv.twoByteMode);

    // A line that cannot be held as Shift_JIS stays, and the others convert.
    const QString withEmoji = text("\x1b$B\x30\x21\x1b(B\n") + QString::fromUtf8("😀 \x1b$B") + text("\n\xb0\xa1");
    EXPECT_EQ(convertTextToSjis(conv, withEmoji),
              text("\x88\x9f\n") + QString::fromUtf8("😀 \x1b$B") + text("\n\x88\x9f"));
    EXPECT_FALSE(conv.twoByteMode);
    EXPECT_EQ(convertTextToSjis(conv, QString()), QString());
}

TEST_F(SjisCommand, ReplacesTheDocumentInOneUndoableEdit)
{
    TFmMain& m = makeWindow();
    QAction* sjisAction = m.action("MSjis");
    EXPECT_FALSE(sjisAction->isEnabled());
    m.NewDocument();
    EXPECT_TRUE(sjisAction->isEnabled());
    DocumentEditor* e = m.CurrentEdit();
    const QString original = text("abc\n<B>\xb0\xa1\x8e\xb1</B>\nxyz");
    e->setPlainText(original);
    e->document()->setModified(false);
    QTextCursor c = e->textCursor();
    c.setPosition(e->document()->findBlockByNumber(1).position() + 7);
    e->setTextCursor(c);

    sjisAction->trigger();
    EXPECT_EQ(currentText(), text("abc\n<B>\x88\x9f\xb1</B>\nxyz"));
    EXPECT_TRUE(e->document()->isModified());
    EXPECT_EQ(e->textCursor().blockNumber(), 1);
    EXPECT_EQ(e->textCursor().positionInBlock(), 7);

    e->undo();
    EXPECT_EQ(currentText(), original);
    e->redo();
    EXPECT_EQ(currentText(), text("abc\n<B>\x88\x9f\xb1</B>\nxyz"));
}

TEST_F(SjisCommand, ShiftJisDocumentIsLeftUntouched)
{
    TFmMain& m = makeWindow();
    m.NewDocument();
    DocumentEditor* e = m.CurrentEdit();
    const QString sjisText = text("<P>\x88\x9f\x82\xa0</P>\n\xb1");
    e->setPlainText(sjisText);
    e->document()->setModified(false);
    m.action("MSjis")->trigger();
    EXPECT_EQ(currentText(), sjisText);
    EXPECT_FALSE(e->document()->isModified());
    EXPECT_FALSE(e->document()->isUndoAvailable());
}

TEST_F(SjisCommand, TwoByteModeLastsAcrossDocumentsAndRuns)
{
    TFmMain& m = makeWindow();
    m.NewDocument();
    m.CurrentEdit()->setPlainText(text("\x1b$B\x30\x21"));
    m.action("MSjis")->trigger();
    EXPECT_EQ(currentText(), text("\x88\x9f"));
    m.NewDocument();
    m.CurrentEdit()->setPlainText(text("\x30\x21"));
    m.action("MSjis")->trigger();
    EXPECT_EQ(currentText(), text("\x88\x9f"));
    m.closeDocument(2);
    m.closeDocument(1);
    EXPECT_FALSE(m.action("MSjis")->isEnabled());
}

} // namespace
