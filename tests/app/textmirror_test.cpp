// The mirror of an editor's text follows every kind of edit: keys, pastes,
// long lines in pieces, undo and redo, a whole new text; and what it has
// handed out stays as it was.
#include "app/linemap.h"
#include "app/textmirror.h"

#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <algorithm>

TEST(TextMirror, FollowsEveryEditAndKeepsWhatItHandedOut)
{
    QPlainTextEdit edit;
    QTextDocument* doc = edit.document();
    edit.setPlainText(QStringLiteral("<HTML>\n<BODY>\n") + QString(40000, u'a') + u'\n');
    TextMirror& mirror = TextMirror::of(doc);
    const TextMirror::Text first = mirror.text();
    const QString firstText = doc->toRawText();
    ASSERT_EQ(TextMirror::join(first), firstText);

    QTest::keyClicks(&edit, "typed");
    EXPECT_EQ(TextMirror::join(mirror.text()), doc->toRawText());
    EXPECT_EQ(mirror.text().back().text.constData(), first.back().text.constData())
        << "followed, not taken again";

    // Edits all over: in the middle of pieces, across them, with breaks
    // and line separators, long lines cut into pieces, undone and redone.
    QRandomGenerator random(7);
    std::vector<TextMirror::Text> taken;
    std::vector<QString> takenText;
    int followed = 0;
    for (int i = 0; i < 400; ++i) {
        const int length = doc->characterCount() - 1;
        QTextCursor c(doc);
        c.setPosition(random.bounded(length + 1));
        const int kind = random.bounded(7);
        if (kind == 0) {
            c.setPosition(std::min(length, c.position() + random.bounded(30000)), QTextCursor::KeepAnchor);
            c.removeSelectedText();
        } else if (kind == 1) {
            c.insertText(QStringLiteral("x") + QChar(0x2028) + QStringLiteral("y\nz"));
        } else if (kind == 2) {
            c.beginEditBlock();
            lines::insertText(c, QString(5000, u'q') + QStringLiteral("\nshort"));
            c.endEditBlock();
        } else if (kind == 3) {
            doc->undo();
        } else if (kind == 4) {
            doc->redo();
        } else {
            c.insertText(QString(random.bounded(1, 4), QChar(u'k' + kind)));
        }
        const TextMirror::Text now = mirror.text();
        ASSERT_EQ(TextMirror::join(now), doc->toRawText()) << "edit " << i << " kind " << kind;
        // Taken again from the document, every piece shares one string.
        followed += std::any_of(now.begin(), now.end(), [&](const TextMirror::Piece& p) {
            return p.text.constData() != now.front().text.constData();
        });
        if (i % 50 == 0) {
            taken.push_back(mirror.text());
            takenText.push_back(doc->toRawText());
        }
    }
    EXPECT_GT(followed, 300);
    EXPECT_EQ(TextMirror::join(first), firstText);
    for (size_t i = 0; i < taken.size(); ++i)
        EXPECT_EQ(TextMirror::join(taken[i]), takenText[i]);

    // A whole new text, and an empty one.
    edit.setPlainText(QStringLiteral("new\ntext"));
    EXPECT_EQ(TextMirror::join(mirror.text()), QStringLiteral("new") + QChar(0x2029) + QStringLiteral("text"));
    edit.clear();
    EXPECT_EQ(TextMirror::join(mirror.text()), QString());
    QTest::keyClicks(&edit, "a");
    EXPECT_EQ(TextMirror::join(mirror.text()), QStringLiteral("a"));
}

TEST(TextMirror, TellsWhenLinesMayHaveMoved)
{
    QPlainTextEdit edit;
    edit.setPlainText(QStringLiteral("one\ntwo"));
    TextMirror& mirror = TextMirror::of(edit.document());
    mirror.text();
    const quint64 before = mirror.structure();
    QTest::keyClicks(&edit, "abc");
    EXPECT_EQ(mirror.structure(), before) << "letters keep the lines";
    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_GT(mirror.structure(), before);
    const quint64 split = mirror.structure();
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_GT(mirror.structure(), split) << "a break removed";
}
