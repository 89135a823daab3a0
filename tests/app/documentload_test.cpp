// A big file shows its first screen at once and loads the rest from the
// event loop: read-only until then, and whatever needs the whole text
// (saving, search, a paste) gets the whole text, never half of it.
#include "app/documentload.h"
#include "app/documents.h"
#include "app/linemap.h"
#include "charset/textfile.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

namespace {

// Lines of table cells, with a different break every so often when asked.
QByteArray bigPage(qsizetype size, bool mixed)
{
    QByteArray b;
    b.reserve(size + 64);
    int n = 0;
    while (b.size() < size) {
        b += "<TR><TD>\x93\xfa\x96\x7b" + QByteArray::number(++n) + "</TD></TR>";
        b += mixed && n % 1000 == 0 ? "\n" : "\r\n";
    }
    return b + "<!-- end -->";
}

// A page with all three kinds of break: mostly CR LF, some LF, some CR.
QByteArray mixedPage(qsizetype size)
{
    QByteArray b;
    b.reserve(size + 64);
    int n = 0;
    while (b.size() < size) {
        b += "<TR><TD>\x93\xfa\x96\x7b" + QByteArray::number(++n) + "</TD></TR>";
        b += n % 7 == 0 ? "\n" : n % 11 == 0 ? "\r" : "\r\n";
    }
    return b;
}

class DocumentLoadTest : public MainWindowTest {
protected:
    Document& open(const QByteArray& bytes)
    {
        writeAll(path("big.html"), bytes);
        QString error;
        Document* d = w->documents().open(path("big.html"), &error);
        EXPECT_TRUE(d) << error.toStdString();
        return *d;
    }
    void waitForLoad(Document& d)
    {
        while (DocumentLoad::of(d.edit->document()))
            QCoreApplication::processEvents();
    }
};

} // namespace

TEST_F(DocumentLoadTest, ShownAtOnceReadOnlyUntilLoadedThenAsOpened)
{
    TFmMain& m = makeWindow(true);
    const QByteArray bytes = bigPage(qsizetype(32) << 20, true);   // 32 MB, a million lines
    Document& d = open(bytes);
    auto* bar = m.findChild<QProgressBar*>("LoadProgress");

    // The first screen is there, the rest is not; keys change nothing.
    ASSERT_TRUE(DocumentLoad::of(d.edit->document()));
    EXPECT_TRUE(d.edit->isReadOnly());
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->accessibleName(), QStringLiteral("読み込み中"));
    EXPECT_LT(d.edit->document()->characterCount(), 1 << 20);
    EXPECT_TRUE(d.edit->document()->toPlainText().startsWith(QStringLiteral("<TR><TD>日本1</TD></TR>\n")));
    d.edit->setFocus();
    QTest::keyClicks(d.edit, "x");
    QTest::keyClick(d.edit, Qt::Key_Return);
    EXPECT_EQ(m.statusPanel(1), kStatusUnchanged);

    waitForLoad(d);
    EXPECT_FALSE(d.edit->isReadOnly());
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(d.modified());
    EXPECT_FALSE(d.edit->document()->isUndoAvailable());
    EXPECT_TRUE(d.mixedBreaks);
    EXPECT_TRUE(editorText(*d.edit) == sjis::decodeDocument(bytes).text);
    QTest::keyClicks(d.edit, "y");
    EXPECT_EQ(m.statusPanel(1), kStatusChanged);
    d.edit->undo();
    ASSERT_TRUE(w->documents().save(d, nullptr));
    EXPECT_TRUE(readAll(path("big.html")) == bytes);
}

TEST_F(DocumentLoadTest, WholeTextCommandsFinishTheLoadFirst)
{
    TFmMain& m = makeWindow(true);
    const QByteArray bytes = bigPage(DocumentLoad::kAtOnceBytes + (2 << 20), false);

    // Saving while it loads writes the whole file.
    Document& a = open(bytes);
    ASSERT_TRUE(DocumentLoad::of(a.edit->document()));
    writeAll(path("big.html"), "overwritten");
    ASSERT_TRUE(w->documents().save(a, nullptr));
    EXPECT_TRUE(readAll(path("big.html")) == bytes);
    EXPECT_FALSE(DocumentLoad::of(a.edit->document()));
    EXPECT_FALSE(a.edit->isReadOnly());

    // Search finds what lies past the first screen.
    Document& b = open(bytes);
    ASSERT_TRUE(DocumentLoad::of(b.edit->document()));
    m.findChild<QLineEdit*>("SearchEdit")->setText(QStringLiteral("<!-- end"));
    m.action("MSearch")->trigger();
    m.findChild<QPushButton*>("BtnSearch")->click();
    EXPECT_EQ(m.selectedText(), QStringLiteral("<!-- end"));

    // A paste goes in once everything is in, as one step.
    Document& c = open(bytes);
    ASSERT_TRUE(DocumentLoad::of(c.edit->document()));
    QApplication::clipboard()->setText(QStringLiteral("<P>"));
    m.action("MPaste")->trigger();
    EXPECT_TRUE(editorText(*c.edit) == QStringLiteral("<P>") + sjis::decodeDocument(bytes).text);
    c.edit->undo();
    EXPECT_FALSE(c.modified());

    // Closing a document while it loads leaves nothing running.
    Document& d = open(bytes);
    ASSERT_TRUE(DocumentLoad::of(d.edit->document()));
    m.closeDocument(d.number);
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    EXPECT_FALSE(m.findChild<QProgressBar*>("LoadProgress")->isVisible());
    EXPECT_EQ(m.editControl()->count(), 3);
}

TEST_F(DocumentLoadTest, BigFilesPairShortLinesAndStillCountTheFilesLines)
{
    TFmMain& m = makeWindow(true);
    // One kind of break, a long line among short ones.
    QByteArray bytes = bigPage(DocumentLoad::kAtOnceBytes + (1 << 20), false);
    bytes.insert(31, QByteArray(5000, 'x') + "\r\n");
    Document& d = open(bytes);
    waitForLoad(d);
    const QString text = sjis::decodeDocument(bytes).text;
    const QStringList lines = text.split(u'\n');
    QTextDocument* doc = d.edit->document();
    EXPECT_LT(doc->blockCount(), lines.size() * 2 / 3);   // mostly two lines a block

    // Byte-identical; the status bar, the tag at the caret, the line text
    // and "1行選択" count the file's lines.
    ASSERT_TRUE(w->documents().save(d, nullptr));
    EXPECT_TRUE(readAll(path("big.html")) == bytes);
    for (int line : {0, 1, 2, 3, 1001, 1002, int(lines.size()) - 1}) {
        const int column = int(std::min<qsizetype>(8, lines[line].size()));
        QTextCursor c(doc);
        c.setPosition(LineMap::of(doc).documentPositionAt(line, column));
        d.edit->setTextCursor(c);
        m.UpdateCaret();
        EXPECT_EQ(m.statusPanel(0), QStringLiteral("  行 ： %1 列 ： %2").arg(line).arg(column));
        EXPECT_EQ(m.lineText(line), lines[line]);
        const qsizetype lt = lines[line].lastIndexOf(u'<', column - 1);
        const qsizetype gt = lines[line].indexOf(u'>', column);
        EXPECT_EQ(m.CaretTagText(), lt >= 0 && gt >= 0 ? lines[line].mid(lt, gt + 1 - lt) : QString())
            << line;
        m.action("MOne")->trigger();
        EXPECT_EQ(m.selectedText(), lines[line]);
    }

    // A triple click selects the clicked line with its break, not the two
    // lines of its block (lines 2 and 3 share one).
    for (int line : {2, 3}) {
        QTextCursor c(doc);
        c.setPosition(LineMap::of(doc).documentPositionAt(line, 2));
        d.edit->setTextCursor(c);
        d.edit->ensureCursorVisible();
        const QPoint at = d.edit->cursorRect().center();
        QTest::mouseDClick(d.edit->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseClick(d.edit->viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(d.edit->textCursor().selectedText(),
                  lines[line] + QChar(line == 2 ? 0x2028 : 0x2029));
    }

    // Enter and Backspace at the separator work on the file's lines.
    QTextCursor c(doc);
    c.setPosition(LineMap::of(doc).documentPositionAt(3, 0));
    d.edit->setTextCursor(c);
    QTest::keyClick(d.edit, Qt::Key_Backspace);
    QTest::keyClick(d.edit, Qt::Key_Return);
    QTest::keyClick(d.edit, Qt::Key_Return);
    QStringList expected = lines;
    expected.insert(3, QString());
    EXPECT_TRUE(editorText(*d.edit) == expected.join(u'\n'));
}

TEST_F(DocumentLoadTest, SavingWhileItLoadsWritesEveryLineBreakAsTheFileHadIt)
{
    TFmMain& m = makeWindow(true);
    m.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    const QByteArray bytes = mixedPage(DocumentLoad::kAtOnceBytes + (2 << 20));
    auto openLoading = [&](const QString& name) -> Document& {
        writeAll(path(name), bytes);
        Document* d = w->documents().open(path(name), nullptr);
        EXPECT_TRUE(d && DocumentLoad::of(d->edit->document()));
        return *d;
    };

    // Ctrl+S at once, as a user presses it.
    Document& a = openLoading(QStringLiteral("a.html"));
    QTest::keyClick(a.edit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(readAll(path(QStringLiteral("a.html"))) == bytes);
    EXPECT_EQ(m.statusPanel(2), QStringLiteral("保存時間：21:05:03"));
    EXPECT_TRUE(a.mixedBreaks);

    // Save all with two documents still loading.
    Document& b = openLoading(QStringLiteral("b.html"));
    Document& c = openLoading(QStringLiteral("c.html"));
    ASSERT_TRUE(DocumentLoad::of(b.edit->document()));
    m.action("MAllSave")->trigger();
    EXPECT_TRUE(readAll(path(QStringLiteral("b.html"))) == bytes);
    EXPECT_TRUE(readAll(path(QStringLiteral("c.html"))) == bytes);

    // Save as, under another name.
    openLoading(QStringLiteral("d.html"));
    prompts.answerSave(path(QStringLiteral("copy.html")));
    m.action("MSaveAs")->trigger();
    EXPECT_TRUE(readAll(path(QStringLiteral("copy.html"))) == bytes);
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_FALSE(c.modified());
}
