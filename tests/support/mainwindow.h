#pragma once
// A main window for tests: settings in a temporary folder, scripted prompts
// and a clock that stands still at Sunday 6 December 2026, 21:05:03.

#include "app/tfmmain.h"
#include "platform/clock.h"
#include "support/scriptedprompts.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class MainWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    FixedClock clock{QDateTime(QDate(2026, 12, 6), QTime(21, 5, 3))};
    std::unique_ptr<TFmMain> w;
    QString recoveryDir;   // set before makeWindow() to keep recovery files

    QString iniPath() const { return dir.filePath(QStringLiteral("quillnest4.ini")); }
    QString path(const QString& name) const { return dir.filePath(name); }

    // Makes the window (reading iniPath() if it exists); shown when asked.
    TFmMain& makeWindow(bool show = false);
    // Types text into the current editor key by key (press and release).
    void type(const QString& text);
    QString currentText() const;

    void TearDown() override;
};
