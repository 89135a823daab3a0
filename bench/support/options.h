#pragma once
// The main window's options for a benchmark: every unit composed, the
// settings file in a scratch folder of the benchmark's own.
#include "app/tfmmain.h"
#include "composition.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <memory>

inline TFmMain::Options benchOptions(const QTemporaryDir& dir)
{
    TFmMain::Options o;
    o.compose = composeUnits;
    o.settingsPath = dir.filePath(QStringLiteral("quillnest4.ini"));
    o.exeDir = dir.path();
    return o;
}

// A main window shown at 1000 x 700 and painted once.
inline std::unique_ptr<TFmMain> shownBenchWindow(Prompts& prompts, const QTemporaryDir& dir)
{
    auto main = std::make_unique<TFmMain>(prompts, benchOptions(dir));
    main->resize(1000, 700);
    main->show();
    QCoreApplication::processEvents();
    return main;
}
