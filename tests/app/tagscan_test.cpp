// The tag at the caret is looked for only as far as a tag may be long: a
// line of megabytes without tags costs no more per key than a short one.
#include "app/document.h"
#include "app/documents.h"
#include "app/linemap.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QTextBlock>

class TagAtCaret : public MainWindowTest {};

TEST_F(TagAtCaret, IsAtMostTheLongestTagLongAcrossPieces)
{
    TFmMain& m = makeWindow(true);
    const int longest = int(lines::kLongestTag);
    for (int length : {longest, longest + 1}) {
        SCOPED_TRACE(length);
        // Held in pieces: the tag crosses joins, which are not its text.
        const QByteArray tag = "<IMG SRC=\"" + QByteArray(length - 12, 'x') + "\">";
        ASSERT_EQ(tag.size(), length);
        writeAll(path("long.html"), "text " + tag + " text\r\n<B>");
        QString error;
        const Result<Document*> opened = w->documents().open(path("long.html"));
        error = opened.message();
        Document* d = opened.value();
        ASSERT_TRUE(d) << error.toStdString();
        ASSERT_TRUE(lines::continues(d->edit->document()->findBlockByNumber(1)));
        for (int column : {6, 5 + length / 2, 5 + length - 1}) {
            QTextCursor c(d->edit->document());
            c.setPosition(LineMap::of(d->edit->document()).documentPositionAt(0, column));
            d->edit->setTextCursor(c);
            m.UpdateCaret();
            EXPECT_EQ(m.CaretTagText(), length <= longest ? QString::fromLatin1(tag) : QString()) << column;
        }
        // The next line's tag is found as ever.
        QTextCursor c(d->edit->document());
        c.setPosition(LineMap::of(d->edit->document()).documentPositionAt(1, 1));
        d->edit->setTextCursor(c);
        m.UpdateCaret();
        EXPECT_EQ(m.CaretTagText(), QStringLiteral("<B>"));
        d->edit->document()->setModified(false);
        m.action("MOneClose")->trigger();
    }
}
