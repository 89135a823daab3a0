#include "composition.h"
#include "support/mainwindow.h"

#include <QApplication>
#include <QTest>

TFmMain& MainWindowTest::makeWindow(bool show)
{
    TFmMain::Options o;
    o.compose = composeUnits;
    o.settingsPath = iniPath();
    o.exeDir = dir.path();
    o.clock = &clock;
    o.recoveryDir = recoveryDir;
    w = std::make_unique<TFmMain>(prompts, o);
    if (show) {
        w->show();
        QApplication::processEvents();
    }
    return *w;
}

void MainWindowTest::type(const QString& text)
{
    DocumentEditor* e = w->CurrentEdit();
    ASSERT_NE(e, nullptr);
    for (QChar c : text)
        QTest::keyClick(e, c.toLatin1());
}

QString MainWindowTest::currentText() const
{
    DocumentEditor* e = w->CurrentEdit();
    return e ? editorText(*e) : QString();
}

void MainWindowTest::TearDown()
{
    w.reset();
    EXPECT_TRUE(prompts.exhausted()) << "scripted answers left unused";
}
