// The preview in the real main window: the View menu's item, the settings
// file, a Shift_JIS file from disk, typing into the editor, a link's tab.
#include "composition.h"
#include "app/filecommands.h"
#include "preview/previewpane.h"
#include "preview/previewunit.h"
#include "support/mainwindow.h"

#include <QAction>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>

namespace {

class PreviewWindowTest : public MainWindowTest {
protected:
    PreviewUnit& unit() { return *unitsOf(*w)->preview; }
    bool waitRendered()
    {
        QSignalSpy rendered(unit().pane(), &PreviewPane::rendered);
        return rendered.wait(20000) && rendered.first().first().toBool();
    }
    QString js(const QString& script)
    {
        QString result;
        bool done = false;
        unit().pane()->page()->runJavaScript(script, [&](const QVariant& v) {
            result = v.toString();
            done = true;
        });
        [[maybe_unused]] const bool ok = QTest::qWaitFor([&] { return done; }, 20000);
        return result;
    }
    void write(const QString& name, const QByteArray& bytes)
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

} // namespace

TEST_F(PreviewWindowTest, TheSettingIsOffAtFirstAndSurvivesARestart)
{
    makeWindow(true);
    QAction* item = w->action("MPreview");
    ASSERT_NE(item, nullptr);
    const QList<QAction*> view = w->menu("Show1")->actions();
    ASSERT_TRUE(view.contains(item));
    EXPECT_EQ(view.value(view.indexOf(item) + 1)->text(), QStringLiteral("ﾌﾟﾚﾋﾞｭｰへ移動"));
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(unit().pane(), nullptr);   // the engine is not even started
    item->trigger();
    EXPECT_TRUE(unit().shown());
    ASSERT_TRUE(w->SaveSettings());
    QFile ini(iniPath());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QByteArray bytes = ini.readAll();
    EXPECT_TRUE(bytes.contains("[View]") && bytes.contains("Preview=1\r\n")) << bytes.toStdString();
    ini.close();

    w.reset();
    makeWindow(true);
    EXPECT_TRUE(w->action("MPreview")->isChecked());
    EXPECT_TRUE(unit().shown());
    w->action("MPreview")->trigger();
    ASSERT_TRUE(w->SaveSettings());
    w.reset();
    makeWindow(true);
    EXPECT_FALSE(w->action("MPreview")->isChecked());
}

TEST_F(PreviewWindowTest, AShiftJisFileShowsItsJapaneseAndItsLinkOpensOneTab)
{
    // 日本語 in Shift_JIS, and a page the link names.
    write(QStringLiteral("page.htm"), QByteArray("<html><head><meta http-equiv=\"Content-Type\" "
                                                 "content=\"text/html; charset=Shift_JIS\"></head>"
                                                 "<body><p id=t>\x93\xfa\x96\x7b\x8c\xea</p>"
                                                 "<a id=l href=\"two.htm\">two</a></body></html>\r\n"));
    write(QStringLiteral("two.htm"), QByteArray("<p>two</p>\r\n"));
    makeWindow(true);
    ASSERT_TRUE(openDocumentFile(*w, path(QStringLiteral("page.htm"))));
    w->action("MPreview")->trigger();
    ASSERT_TRUE(waitRendered());
    EXPECT_EQ(js(QStringLiteral("document.getElementById('t').textContent")), QStringLiteral("日本語"));

    const int before = w->documents().count();
    js(QStringLiteral("document.getElementById('l').click()"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->documents().count() == before + 1; }, 10000));
    EXPECT_TRUE(w->currentDocument()->path.endsWith(QStringLiteral("/two.htm")));
    ASSERT_TRUE(waitRendered());   // the pane follows the new tab
    EXPECT_EQ(js(QStringLiteral("document.body.textContent")).trimmed(), QStringLiteral("two"));

    // Back on the first page, the same link finds the tab already open.
    w->editControl()->setCurrentIndex(0);
    ASSERT_TRUE(waitRendered());
    js(QStringLiteral("document.getElementById('l').click()"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->currentDocument()->path.endsWith(QStringLiteral("/two.htm")); },
                                10000));
    EXPECT_EQ(w->documents().count(), before + 1);
}

TEST_F(PreviewWindowTest, TypingInTheEditorShowsBoldInThePane)
{
    makeWindow(true);
    w->newDocument(false);
    w->action("MPreview")->trigger();
    ASSERT_TRUE(waitRendered());
    type(QStringLiteral("<B>x</B>"));   // the tag assist may add its own '>'s after it
    ASSERT_TRUE(currentText().startsWith(QStringLiteral("<B>x</B>")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return js(QStringLiteral("document.querySelector('b') ? "
                                                               "getComputedStyle(document.querySelector('b')).fontWeight + "
                                                               "document.querySelector('b').textContent : ''")) == QStringLiteral("700x"); },
                                10000));
    EXPECT_EQ(QApplication::focusWidget(), w->CurrentEdit());
}
