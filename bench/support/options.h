#pragma once
// The main window's options for a benchmark: every unit composed, the
// settings file in a scratch folder of the benchmark's own.
#include "app/tfmmain.h"
#include "composition.h"

#include <QTemporaryDir>

inline TFmMain::Options benchOptions(const QTemporaryDir& dir)
{
    TFmMain::Options o;
    o.compose = composeUnits;
    o.settingsPath = dir.filePath(QStringLiteral("quillnest4.ini"));
    o.exeDir = dir.path();
    return o;
}
