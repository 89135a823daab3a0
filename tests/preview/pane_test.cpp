// The pane with the engine running in this process, on a stand-in main
// window: what the page holds is read back through its DOM.
#include "previewfixture.h"
#include "preview/previewrules.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QPushButton>

namespace {

// The engine's scheme is known before the QApplication of the test main.
const bool g_engineReady = (preview::prepareEngine(), true);

QString lines(int n)
{
    QString t = QStringLiteral("<html><body>\n");
    for (int i = 0; i < n; ++i)
        t += QStringLiteral("<p>line %1</p>\n").arg(i);
    return t;
}

} // namespace

TEST_F(PreviewTest, TypingShowsAfterAPauseNeverOnTheKeyAndTheEditorKeepsTheFocus)
{
    ASSERT_TRUE(g_engineReady);
    ASSERT_TRUE(showAndWait());
    host.textReads = 0;
    host.type(QStringLiteral("<B>x</B>"));
    // The key itself only starts the timer: nothing is read or rendered yet.
    EXPECT_EQ(host.textReads, 0);
    EXPECT_TRUE(unit->refreshPending());
    ASSERT_TRUE(waitRendered());
    EXPECT_EQ(host.textReads, 1);
    EXPECT_EQ(js(QStringLiteral("document.querySelector('b').textContent")).toString(), QStringLiteral("x"));
    EXPECT_EQ(js(QStringLiteral("getComputedStyle(document.querySelector('b')).fontWeight")).toString(),
              QStringLiteral("700"));
    EXPECT_EQ(window.focusWidget(), editor);

    // Closed, the pane costs nothing: changes start no refresh.
    toggle.setChecked(false);
    host.type(QStringLiteral("<I>y</I>"));
    EXPECT_FALSE(unit->refreshPending());
    EXPECT_FALSE(unit->shown());
}

TEST_F(PreviewTest, PicturesComeFromTheDocumentsFolderOrTheFilePanelsForANewOne)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("pic")));
    QImage dot(3, 2, QImage::Format_RGB32);
    dot.fill(Qt::red);
    ASSERT_TRUE(dot.save(dir.filePath(QStringLiteral("pic/dot.png"))));
    host.text = QStringLiteral("<img id=i src=\"pic/dot.png\">");
    host.path = dir.filePath(QStringLiteral("page.htm"));
    ASSERT_TRUE(showAndWait());
    EXPECT_EQ(js(QStringLiteral("document.getElementById('i').naturalWidth")).toInt(), 3);

    host.path.clear();   // unsaved: the file panel's folder
    ASSERT_TRUE(refreshAndWait());
    EXPECT_EQ(js(QStringLiteral("document.getElementById('i').naturalWidth")).toInt(), 3);
}

TEST_F(PreviewTest, RemoteRequestsAreBlockedAndCountedUntilAllowed)
{
    host.text = QStringLiteral("<img src=\"http://127.0.0.1:9/a.png\">"
                               "<link rel=stylesheet href=\"https://127.0.0.1:9/s.css\"><p>t");
    ASSERT_TRUE(showAndWait());
    EXPECT_TRUE(QTest::qWaitFor([&] { return pane().blockedCount() == 2; }, 10000)) << pane().blockedCount();
    EXPECT_TRUE(pane().notice().contains(preview::blockedLine(2))) << pane().notice().toStdString();

    pane().externalBox()->setChecked(true);
    ASSERT_TRUE(waitRendered());
    EXPECT_EQ(pane().blockedCount(), 0);
    EXPECT_EQ(pane().notice(), QString());
}

TEST_F(PreviewTest, AShiftJisPageShowsItsJapaneseFromTheEditorsText)
{
    host.text = QStringLiteral("<html><head><meta charset=\"Shift_JIS\"></head><body>日本語のﾍﾟｰｼﾞ</body></html>");
    ASSERT_TRUE(showAndWait());
    EXPECT_EQ(js(QStringLiteral("document.body.textContent")).toString(), QStringLiteral("日本語のﾍﾟｰｼﾞ"));
}

TEST_F(PreviewTest, LinksOpenATabOrTheBrowserAndThePaneStaysOnTheDocument)
{
    host.path = dir.filePath(QStringLiteral("index.htm"));
    host.text = QStringLiteral("<a id=l href=\"sub/other.HTM\">o</a> <a id=w href=\"https://example.com/a?b=1\">w</a>"
                               " <a id=p href=\"photo.jpg\">p</a> <a id=j href=\"javascript:void(0)\">j</a>"
                               " <a id=h href=\"#x\">h</a><p id=x>x");
    ASSERT_TRUE(showAndWait());
    const QUrl document = pane().page()->url();
    auto click = [&](const char* id) { js(QStringLiteral("document.getElementById('%1').click()").arg(QLatin1String(id))); };

    click("l");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !host.opened.isEmpty(); }, 10000));
    EXPECT_EQ(host.opened, QStringList{dir.filePath(QStringLiteral("sub/other.HTM"))});
    click("w");
    click("p");
    ASSERT_TRUE(QTest::qWaitFor([&] { return shellLog.size() == 2; }, 10000)) << shellLog.join(u'|').toStdString();
    EXPECT_EQ(shellLog.value(0), QStringLiteral("url https://example.com/a?b=1"));
    EXPECT_EQ(shellLog.value(1), QStringLiteral("open ") + dir.filePath(QStringLiteral("photo.jpg")));
    click("j");
    click("h");
    QTest::qWait(0);
    EXPECT_EQ(js(QStringLiteral("document.getElementById('x').textContent")).toString(), QStringLiteral("x"));
    EXPECT_TRUE(preview::sameDocument(pane().page()->url(), document)) << pane().page()->url().toString().toStdString();
    EXPECT_EQ(shellLog.size(), 2) << shellLog.join(u'|').toStdString();
    EXPECT_EQ(host.opened.size(), 1);
}

TEST_F(PreviewTest, ABigDocumentPausesThePreviewUntilRenderedOnce)
{
    host.text = QStringLiteral("<p>") + QString(preview::kPauseBytes, u'a');
    toggle.setChecked(true);
    EXPECT_TRUE(pane().notice().contains(QStringLiteral("4 MB"))) << pane().notice().toStdString();
    EXPECT_TRUE(pane().renderOnceButton()->isVisibleTo(&window));
    EXPECT_EQ(host.textReads, 0);   // its size alone tells
    ASSERT_TRUE(waitRendered());
    EXPECT_EQ(js(QStringLiteral("document.body ? document.body.textContent.length : 0")).toInt(), 0);

    pane().renderOnceButton()->click();
    ASSERT_TRUE(waitRendered());
    EXPECT_EQ(js(QStringLiteral("document.body.textContent.length")).toInt(), preview::kPauseBytes);
    host.type(host.text + QStringLiteral("b"));
    EXPECT_TRUE(unit->refreshPending());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !unit->refreshPending(); }, 5000));
    EXPECT_EQ(host.textReads, 1);   // paused again: the new text is not read
}

TEST_F(PreviewTest, ARefreshKeepsTheScrollAndFollowingScrollsToTheCaret)
{
    host.text = lines(300);
    ASSERT_TRUE(showAndWait());
    js(QStringLiteral("window.scrollTo(0, 600)"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane().page()->scrollPosition().y() >= 599; }, 5000));
    host.type(host.text + QStringLiteral("<p>more</p>"));
    ASSERT_TRUE(waitRendered());
    EXPECT_EQ(js(QStringLiteral("window.scrollY")).toInt(), 600);

    host.line = 251;   // "<p>line 250</p>"
    host.column = 5;
    pane().followBox()->setChecked(true);
    ASSERT_TRUE(waitRendered());
    const int far = js(QStringLiteral("window.scrollY")).toInt();
    EXPECT_GT(far, 3000);
    EXPECT_TRUE(js(QStringLiteral("document.getElementById('qn4-caret') === null")).toBool());
    const int shown = js(QStringLiteral("(function(){var r=document.querySelectorAll('p')[250].getBoundingClientRect();"
                                        "return r.top >= 0 && r.bottom <= window.innerHeight ? 1 : 0;})()")).toInt();
    EXPECT_EQ(shown, 1);

    host.line = 3;
    emit host.caretMoved();
    ASSERT_TRUE(waitRendered());
    EXPECT_LT(js(QStringLiteral("window.scrollY")).toInt(), far);
}

TEST_F(PreviewTest, APagesAlertsAndQuestionsNeverStopTheEditor)
{
    host.text = QStringLiteral("<script>alert('a'); document.title = confirm('c') + ',' + prompt('p', 'd');</script>");
    ASSERT_TRUE(showAndWait());
    EXPECT_EQ(js(QStringLiteral("document.title")).toString(), QStringLiteral("false,null"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(window.focusWidget(), editor);
}

TEST_F(PreviewTest, AnEngineThatStopsIsOneLineAndTheNextRefreshTriesAgain)
{
    host.text = QStringLiteral("<p>t");
    ASSERT_TRUE(showAndWait());
    emit pane().page()->renderProcessTerminated(QWebEnginePage::CrashedTerminationStatus, 11);
    EXPECT_TRUE(pane().notice().startsWith(QStringLiteral("ﾌﾟﾚﾋﾞｭｰを表示できません"))) << pane().notice().toStdString();
    EXPECT_FALSE(pane().notice().contains(u'\n'));
    ASSERT_TRUE(refreshAndWait());
    EXPECT_EQ(pane().notice(), QString());
}

TEST_F(PreviewTest, ThePaneIsNamedForAScreenReader)
{
    host.text = QStringLiteral("<img src=\"http://127.0.0.1:9/a.png\">");
    ASSERT_TRUE(showAndWait());
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane().blockedCount() == 1; }, 10000));
    auto name = [](QObject* o) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(o);
        return a ? a->text(QAccessible::Name) : QStringLiteral("(none)");
    };
    EXPECT_EQ(name(pane().followBox()), QStringLiteral("ｶｰｿﾙ位置に追従"));
    EXPECT_EQ(name(pane().externalBox()), QStringLiteral("外部ﾘｿｰｽを読み込む"));
    EXPECT_EQ(name(pane().view()), QStringLiteral("ﾌﾟﾚﾋﾞｭｰ"));
    QWidget* line = pane().findChild<QWidget*>(QStringLiteral("PreviewNotice"));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(name(line), preview::blockedLine(1));
    EXPECT_NE(pane().followBox()->focusPolicy() & Qt::TabFocus, 0);
}

TEST_F(PreviewTest, AKeyTakesTheFocusIntoThePaneAndBack)
{
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(unit->shown());   // shown first when it was not
    EXPECT_EQ(QApplication::focusWidget(), pane().followBox());
    QTest::keyClick(pane().followBox(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(host.focusAsked, 1);
}
