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
        const Result<Document*> opened = w->documents().open(path("big.html"));
        error = opened.message();
        Document* d = opened.value();
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

    // The first screen is there, the rest is not.
    ASSERT_TRUE(DocumentLoad::of(d.edit->document()));
    EXPECT_TRUE(d.edit->isReadOnly());
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->accessibleName(), QStringLiteral("読み込み中"));
    EXPECT_LT(d.edit->document()->characterCount(), 1 << 20);
    EXPECT_TRUE(d.edit->document()->toPlainText().startsWith(QStringLiteral("<TR><TD>日本1</TD></TR>\n")));
    d.edit->setFocus();

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

    // A triple click selects the clicked line with its break, not the other
    // lines of its block (lines 2 to 12 share a block or two).
    bool sawSeparator = false;
    bool sawBlockEnd = false;
    for (int line = 2; line <= 12; ++line) {
        QTextCursor c(doc);
        c.setPosition(LineMap::of(doc).documentPositionAt(line, 2));
        d.edit->setTextCursor(c);
        d.edit->ensureCursorVisible();
        const QPoint at = d.edit->cursorRect().center();
        QTest::mouseDClick(d.edit->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseClick(d.edit->viewport(), Qt::LeftButton, {}, at);
        const QChar end = doc->characterAt(LineMap::of(doc).lineEndPosition(c.position()));
        (end == QChar::LineSeparator ? sawSeparator : sawBlockEnd) = true;
        EXPECT_EQ(d.edit->textCursor().selectedText(), lines[line] + end);
    }
    EXPECT_TRUE(sawSeparator && sawBlockEnd);

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
        Document* d = w->documents().open(path(name)).value();
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

namespace {

// The bytes with `insert` put in at the start of line `line` (CR LF breaks).
QByteArray withLineStart(const QByteArray& bytes, int line, const QByteArray& insert)
{
    qsizetype at = 0;
    for (int i = 0; i < line; ++i)
        at = bytes.indexOf("\r\n", at) + 2;
    QByteArray out = bytes;
    return out.insert(at, insert);
}

} // namespace

TEST_F(DocumentLoadTest, KeysWhileItLoadsMoveAtOnceAndEditWhereTheCaretWas)
{
    TFmMain& m = makeWindow(true);
    m.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    const QByteArray bytes = bigPage(DocumentLoad::kAtOnceBytes + (2 << 20), false);
    auto openLoading = [&](const QString& name) -> Document& {
        writeAll(path(name), bytes);
        Document* d = w->documents().open(path(name)).value();
        EXPECT_TRUE(d && DocumentLoad::of(d->edit->document()));
        d->edit->setFocus();
        return *d;
    };

    // The caret moves on what is in, at once; "<abc" typed there goes in
    // there, in order, completed to "<abc>".
    Document& a = openLoading(QStringLiteral("a.html"));
    QTest::keyClick(a.edit, Qt::Key_Down);
    QTest::keyClick(a.edit, Qt::Key_Down);
    QTest::keyClick(a.edit, Qt::Key_Down);
    EXPECT_EQ(m.statusPanel(0), QStringLiteral("  行 ： 3 列 ： 0"));
    QTest::keyClick(a.edit, Qt::Key_PageDown);
    const int paged = LineMap::of(a.edit->document()).positionOf(a.edit->textCursor().position()).line;
    EXPECT_GT(paged, 3);
    QTest::keyClick(a.edit, Qt::Key_PageUp);
    QTest::keyClick(a.edit, Qt::Key_Home);
    EXPECT_EQ(m.statusPanel(0), QStringLiteral("  行 ： 3 列 ： 0"));
    ASSERT_TRUE(DocumentLoad::of(a.edit->document()));   // still loading
    QTest::keyClicks(a.edit, "<abc");
    EXPECT_FALSE(DocumentLoad::of(a.edit->document()));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral(">"));
    QTest::keyClick(a.edit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(readAll(path(QStringLiteral("a.html"))) == withLineStart(bytes, 3, "<abc>"));

    // Enter and Backspace too, and the caret the user chose is kept while
    // the rest comes in, even at the end of what was in.
    Document& b = openLoading(QStringLiteral("b.html"));
    QTest::keyClick(b.edit, Qt::Key_Down);
    QTest::keyClick(b.edit, Qt::Key_Down);
    QTest::keyClick(b.edit, Qt::Key_Return);
    QTest::keyClick(b.edit, Qt::Key_Backspace);
    QTest::keyClicks(b.edit, "q");
    QTest::keyClick(b.edit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(readAll(path(QStringLiteral("b.html"))) == withLineStart(bytes, 2, "q"));

    Document& c = openLoading(QStringLiteral("c.html"));
    QTextCursor end(c.edit->document());
    end.movePosition(QTextCursor::End);
    const int loadedEnd = end.position();
    c.edit->setTextCursor(end);
    QTest::keyClick(c.edit, Qt::Key_Left);
    QTest::keyClick(c.edit, Qt::Key_Right);
    for (int i = 0; i < 3 && DocumentLoad::of(c.edit->document()); ++i)
        QTest::qWait(50);
    waitForLoad(c);
    EXPECT_EQ(c.edit->textCursor().position(), loadedEnd);

    // A paste goes in where the caret was moved to, not at the start.
    Document& d = openLoading(QStringLiteral("d.html"));
    QTest::keyClick(d.edit, Qt::Key_Down);
    QApplication::clipboard()->setText(QStringLiteral("<P>"));
    QTest::keyClick(d.edit, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(d.edit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(readAll(path(QStringLiteral("d.html"))) == withLineStart(bytes, 1, "<P>"));

    // Ctrl+End goes to the end of the file, not of what is in.
    Document& e = openLoading(QStringLiteral("e.html"));
    QTest::keyClick(e.edit, Qt::Key_End, Qt::ControlModifier);
    const int lastLine = int(sjis::decodeDocument(bytes).text.count(u'\n'));
    EXPECT_EQ(m.statusPanel(0), QStringLiteral("  行 ： %1 列 ： 12").arg(lastLine));
    QTest::keyClicks(e.edit, "Z");
    QTest::keyClick(e.edit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(readAll(path(QStringLiteral("e.html"))) == bytes + "Z");
    EXPECT_TRUE(prompts.messages().isEmpty());
}

namespace {

// A page on one line (a minified page), kanji, kana and tags, no break.
QByteArray oneLinePage(qsizetype size)
{
    QByteArray b;
    b.reserve(size + 64);
    int n = 0;
    while (b.size() < size) {
        b += "<td>\x93\xfa\x96\x7b\x8c\xea\x95\x5c" + QByteArray::number(++n) + "</td>";
        if (n % 50 == 0)
            b += QByteArray(900, '\x88') + "\x81\x40 ";   // raw bytes, then a pair
    }
    return b;
}

// The blocks of an editor, as text.
QStringList blocksOf(const QPlainTextEdit& edit)
{
    QStringList out;
    for (QTextBlock b = edit.document()->firstBlock(); b.isValid(); b = b.next())
        out << b.text() + (lines::continues(b) ? QStringLiteral("+") : QString());
    return out;
}

} // namespace

TEST_F(DocumentLoadTest, OneLineAndCrFilesLoadInStepsAsAFillAtOnceWouldHoldThem)
{
    TFmMain& m = makeWindow(true);
    m.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    auto* bar = m.findChild<QProgressBar*>("LoadProgress");
    QByteArray crPage = bigPage(DocumentLoad::kAtOnceBytes + (2 << 20), false);
    crPage.replace("\r\n", "\r");
    QByteArray mixedLong = mixedPage(DocumentLoad::kAtOnceBytes + (2 << 20));
    mixedLong.insert(DocumentLoad::kStepBytes - 1000, oneLinePage(300000));   // across a step's end
    const std::vector<std::pair<QString, QByteArray>> files = {
        {QStringLiteral("oneline.html"), oneLinePage(DocumentLoad::kAtOnceBytes + (3 << 20))},
        {QStringLiteral("cr.html"), crPage},
        {QStringLiteral("mixed.html"), mixedLong},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name.toStdString());
        writeAll(path(name), bytes);
        Document* d = w->documents().open(path(name)).value();
        ASSERT_TRUE(d);
        // The first screen only, the rest in steps, with progress shown.
        ASSERT_TRUE(DocumentLoad::of(d->edit->document()));
        EXPECT_LT(d->edit->document()->characterCount(), 1 << 20);
        EXPECT_TRUE(bar->isVisible());
        waitForLoad(*d);
        EXPECT_FALSE(bar->isVisible());
        EXPECT_FALSE(d->edit->isReadOnly());
        EXPECT_TRUE(editorText(*d->edit) == sjis::decodeDocument(bytes).text);
        // The same pieces as a fill at once (pairs aside: that fill makes
        // none; for mixed breaks see fillspeed_test.cpp).
        if (name == QStringLiteral("oneline.html")) {
            QPlainTextEdit atOnce;
            fillEditor(atOnce, bytes);
            EXPECT_TRUE(blocksOf(*d->edit) == blocksOf(atOnce));
        }
        // Real keys at the end, and the bytes as they were plus those.
        d->edit->setFocus();
        QTest::keyClick(d->edit, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(d->edit, "Z");
        QTest::keyClick(d->edit, Qt::Key_S, Qt::ControlModifier);
        EXPECT_TRUE(readAll(path(name)) == bytes + "Z");
    }
    EXPECT_TRUE(prompts.messages().isEmpty());
}
