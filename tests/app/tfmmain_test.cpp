// The main window's documents: numbering, current editor, captions, status
// panels, caret tracking, input assistance, insertion and the command switch.
#include "support/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>

using DocumentTabs = MainWindowTest;

namespace {
void setText(DocumentEditor* e, const QString& text, int caret)
{
    e->setPlainText(text);
    QTextCursor c = e->textCursor();
    c.setPosition(caret);
    e->setTextCursor(c);
}
} // namespace

TEST_F(DocumentTabs, NumbersAreNeverReusedAndLookupsSkipClosedOnes)
{
    TFmMain& m = makeWindow();
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Quillnest4"));
    EXPECT_EQ(m.CurrentEdit(), nullptr);
    m.NewDocument();
    m.NewDocument();
    m.NewDocument();
    m.closeDocument(2);
    Document& d4 = m.NewDocument();
    EXPECT_EQ(d4.number, 4);
    EXPECT_EQ(m.editControl()->tabText(m.editControl()->currentIndex()), QStringLiteral("Page4"));
    EXPECT_EQ(d4.path, QStringLiteral("Page4"));
    EXPECT_EQ(d4.tab->objectName(), QStringLiteral("TabSheet4"));
    EXPECT_EQ(d4.edit->objectName(), QStringLiteral("RichEdit4"));
    EXPECT_EQ(m.CurrentEdit(), d4.edit);
    std::vector<int> open;
    for (int n = 1; n <= m.DocumentCount(); ++n)
        if (m.EditByNumber(n) && m.TabByNumber(n))
            open.push_back(n);
    EXPECT_EQ(open, (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Quillnest4 - Page4"));
    EXPECT_EQ(m.statusPanel(1), QStringLiteral("変更なし"));
}

TEST_F(DocumentTabs, NewEditorProperties)
{
    TFmMain& m = makeWindow();
    Document& d = m.NewDocument();
    EXPECT_EQ(d.edit->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_FALSE(d.edit->tabChangesFocus());
    EXPECT_TRUE(d.edit->toPlainText().isEmpty());
    EXPECT_FALSE(d.edit->document()->isModified());
    EXPECT_EQ(d.status(), QStringLiteral("変更なし"));
    EXPECT_EQ(d.saveTime, QStringLiteral("保存時間：(未保存)"));
    EXPECT_FALSE(d.hasFile);
    QTest::keyClick(d.edit, Qt::Key_Tab);
    EXPECT_EQ(d.edit->toPlainText(), QStringLiteral("\t"));
}

TEST_F(DocumentTabs, ClosingPicksTheRightNeighbourThenTheLeftAndFinallyNone)
{
    TFmMain& m = makeWindow();
    for (int i = 0; i < 3; ++i)
        m.NewDocument();
    m.editControl()->setCurrentIndex(1); // document 2
    m.closeDocument(2);
    EXPECT_EQ(m.currentDocument()->number, 3);
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Quillnest4 - Page3"));
    m.closeDocument(3);
    EXPECT_EQ(m.currentDocument()->number, 1);
    m.closeDocument(1);
    EXPECT_EQ(m.CurrentEdit(), nullptr);
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Quillnest4 "));
    EXPECT_EQ(m.statusPanel(1), QStringLiteral("変更なし"));
}

TEST_F(DocumentTabs, StatusFollowsEditsAndTabSwitchDisablesUndo)
{
    TFmMain& m = makeWindow(true);
    Document& d1 = m.NewDocument();
    Document& d2 = m.NewDocument();
    QTest::keyClicks(d2.edit, "abc");
    EXPECT_EQ(d2.status(), QStringLiteral("変更あり"));
    EXPECT_EQ(m.statusPanel(1), QStringLiteral("変更あり"));
    EXPECT_TRUE(m.action("MUndo")->isEnabled());
    EXPECT_TRUE(m.action("ToolUndo")->isEnabled());

    m.editControl()->setCurrentIndex(0);
    EXPECT_EQ(m.statusPanel(1), QStringLiteral("変更なし"));
    EXPECT_EQ(m.statusPanel(2), d1.saveTime);
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Quillnest4 - Page1"));
    m.editControl()->setCurrentIndex(1);
    EXPECT_FALSE(m.action("MUndo")->isEnabled()) << "a tab switch disables undo even with changes";
    EXPECT_EQ(m.statusPanel(1), QStringLiteral("変更あり"));

    // Filling a document does not count as a change.
    {
        const ::Documents::Filling filling(m.documents());
        d1.edit->setPlainText(QStringLiteral("filled"));
    }
    EXPECT_EQ(d1.status(), QStringLiteral("変更なし"));
}

TEST_F(DocumentTabs, CaretLineColumnAndTagText)
{
    TFmMain& m = makeWindow();
    EXPECT_EQ(m.statusPanel(0), QStringLiteral("  行 ： 0 列 ： 0"));
    Document& d = m.NewDocument();
    m.UpdateCaret();
    EXPECT_EQ(m.statusPanel(0), QStringLiteral("  行 ： 0 列 ： 0"));

    struct Case {
        const char* text;
        int caret;
        int line, column;
        const char* tag;
    };
    const Case cases[] = {
        {"x <A HREF=\"x\"> y", 6, 0, 6, "<A HREF=\"x\">"},
        {"<B></B>", 3, 0, 3, "<B></B>"},                   // right after <B>
        {"<B>\n</B>", 4, 1, 0, ""},                         // column 0: nothing before
        {"<TABLE\nWIDTH=1>", 9, 1, 2, ""},                  // '<' on the previous line
        {"ab<c", 4, 0, 4, ""},                              // no '>' after
        {"a>b<c>d", 2, 0, 2, ""},                           // '>' before, '<' after only
        {"<a>b</a>", 4, 0, 4, "<a>b</a>"},                  // backward scan passes '>'
        {"漢<字>", 2, 0, 2, "<字>"},                         // characters, not bytes
        {"<P>\n<FONT SIZE=3>text", 10, 1, 6, "<FONT SIZE=3>"},
    };
    for (const Case& c : cases) {
        setText(d.edit, QString::fromUtf8(c.text), c.caret);
        m.UpdateCaret();
        EXPECT_EQ(m.caretLine(), c.line) << c.text;
        EXPECT_EQ(m.caretColumn(), c.column) << c.text;
        EXPECT_EQ(m.CaretTagText(), QString::fromUtf8(c.tag)) << c.text;
        EXPECT_EQ(m.statusPanel(0), QStringLiteral("  行 ： %1 列 ： %2").arg(c.line).arg(c.column));
    }

    QSignalSpy spy(&m.events(), &EditorEvents::caretTagUpdated);
    setText(d.edit, QStringLiteral("<I>"), 1);
    m.UpdateCaret();
    ASSERT_FALSE(spy.isEmpty());
    EXPECT_EQ(spy.last().at(0).toString(), QStringLiteral("<I>"));
}

TEST_F(DocumentTabs, InputAssistanceClosesBracketsAndQuotes)
{
    TFmMain& m = makeWindow(true);
    Document& d = m.NewDocument();
    d.edit->setFocus();
    type(QStringLiteral("<"));
    EXPECT_EQ(currentText(), QStringLiteral("<>"));
    EXPECT_EQ(d.edit->textCursor().position(), 1);
    type(QStringLiteral("A HREF="));
    type(QStringLiteral("\""));
    EXPECT_EQ(currentText(), QStringLiteral("<A HREF=\"\">"));
    EXPECT_EQ(d.edit->textCursor().position(), 9);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("\""));
    EXPECT_EQ(m.CaretTagText(), QStringLiteral("<A HREF=\"\">"));

    m.action("MInput")->setChecked(false);
    d.edit->clear();
    type(QStringLiteral("<\""));
    EXPECT_EQ(currentText(), QStringLiteral("<\""));
    // Turned on again: the quote typed while it was off is not completed
    // at the next key.
    m.action("MInput")->trigger();
    ASSERT_TRUE(m.action("MInput")->isChecked());
    type(QStringLiteral("b"));
    EXPECT_EQ(currentText(), QStringLiteral("<\"b"));
}

TEST_F(DocumentTabs, InsertAtCaretAndInsertTag)
{
    TFmMain& m = makeWindow();
    m.InsertAtCaret(QStringLiteral("nowhere")); // no document: nothing pasted, no crash
    Document& d = m.NewDocument();
    setText(d.edit, QStringLiteral("xx abc yy"), 3);
    QTextCursor c = d.edit->textCursor();
    c.setPosition(6, QTextCursor::KeepAnchor);
    d.edit->setTextCursor(c);
    m.InsertTag(QStringLiteral("<B></B>"));
    EXPECT_EQ(currentText(), QStringLiteral("xx <B>abc</B> yy"));
    EXPECT_EQ(d.edit->textCursor().position(), 13);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("<B>abc</B>"));

    setText(d.edit, QStringLiteral("abc"), 0);
    c = d.edit->textCursor();
    c.setPosition(3, QTextCursor::KeepAnchor);
    d.edit->setTextCursor(c);
    m.InsertTag(QStringLiteral("<BR>"));
    EXPECT_EQ(currentText(), QStringLiteral("<BR>abc"));

    setText(d.edit, QStringLiteral("abc"), 3);
    m.InsertTag(QStringLiteral("no bracket"));
    EXPECT_EQ(currentText(), QStringLiteral("abc"));

    // A selection over two lines keeps its line break.
    setText(d.edit, QStringLiteral("a\nb"), 0);
    c = d.edit->textCursor();
    c.setPosition(3, QTextCursor::KeepAnchor);
    d.edit->setTextCursor(c);
    m.InsertTag(QStringLiteral("<P></P>"));
    EXPECT_EQ(currentText(), QStringLiteral("<P>a\nb</P>"));

    // One insertion is one undo step.
    d.edit->undo();
    EXPECT_EQ(currentText(), QStringLiteral("a\nb"));
}

TEST_F(DocumentTabs, CommandSwitchOnFirstOpenAndLastClose)
{
    TFmMain& m = makeWindow();
    QAction probe;
    QWidget widget;
    m.documentCommands().add(&probe);
    m.documentCommands().add(&widget);
    EXPECT_FALSE(probe.isEnabled());
    EXPECT_FALSE(widget.isEnabled());
    m.NewDocument();
    EXPECT_TRUE(probe.isEnabled());
    probe.setEnabled(false); // only the first open switches
    m.NewDocument();
    EXPECT_FALSE(probe.isEnabled());
    m.closeDocument(1);
    EXPECT_TRUE(widget.isEnabled()) << "one document still open";
    m.closeDocument(2);
    EXPECT_FALSE(widget.isEnabled());
    // Controls added while on start enabled.
    m.NewDocument();
    QAction late;
    late.setEnabled(false);
    m.documentCommands().add(&late);
    EXPECT_TRUE(late.isEnabled());
}

TEST_F(DocumentTabs, WindowPiecesCarryTheirNames)
{
    TFmMain& m = makeWindow();
    QStringList titles;
    for (QAction* a : m.menuBar()->actions())
        if (a->isVisible())
            titles << a->text();
    EXPECT_EQ(titles, (QStringList{"ﾌｧｲﾙ(&F)", "編集(&F)", "表示(&V)", "ﾂｰﾙ(&T)", "ﾌﾞﾗｳｻﾞ(&B)",
                                   "環境設定(&C)", "ﾍﾙﾌﾟ(&H)"}));
    for (const char* n : {"MSave", "MSaveAs", "MNew", "MOpen", "MR1", "MR5", "MUndo", "MSjis",
                          "MTo2", "MSuper", "MFindFocus", "CT1", "CT18", "About1", "ToolSave",
                          "ToolTo", "FSearch", "FSaveAs", "MBr", "MTag9", "MPrint", "MDate"})
        EXPECT_NE(m.action(n), nullptr) << n;
    EXPECT_EQ(m.action("CT9"), nullptr);
    EXPECT_EQ(m.action("MSave")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(m.action("MTo2")->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_EQ(m.action("CT1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
    EXPECT_EQ(m.action("CT1")->text(), QStringLiteral("<A HREF=\"\"></A>"));
    for (const char* n : {"EditControl", "ToolBar", "StatusBar", "ToolPanel", "SearchPanel",
                          "FKBar", "BtnBrowse", "BtnSearch", "SearchEdit", "ToolControl", "Splitter1"})
        EXPECT_NE(m.findChild<QWidget*>(n), nullptr) << n;
    EXPECT_EQ(m.findChild<QTabWidget*>("ToolControl")->tabText(1), QStringLiteral("ﾀｸﾞﾋﾞﾙﾀﾞｰ"));
    EXPECT_EQ(m.findChild<QLabel*>("StatusPanel1")->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
}

TEST_F(DocumentTabs, VersionWindowOpensModallyThroughPrompts)
{
    TFmMain& m = makeWindow();
    QString title;
    prompts.answerDialog([&](QDialog& d) {
        title = d.windowTitle();
        return 0;
    });
    m.action("About1")->trigger();
    EXPECT_EQ(title, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
}

TEST_F(DocumentTabs, ExitClosesThroughTheClosingPath)
{
    TFmMain& m = makeWindow(true);
    int calls = 0;
    m.setFormClose([&] {
        ++calls;
        return false; // refuse: the window stays
    });
    m.action("MExit")->trigger();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(m.isVisible());
    m.setFormClose(nullptr);
    m.action("MExit")->trigger();
    EXPECT_FALSE(m.isVisible());
}
