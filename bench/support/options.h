#pragma once
// The main window's options for a benchmark: every unit composed, the
// settings file in a scratch folder of the benchmark's own.
#include "app/document.h"
#include "app/documentload.h"
#include "app/filecommands.h"
#include "app/tfmmain.h"
#include "composition.h"

#include <QCoreApplication>
#include <QKeyEvent>
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

// Opens a file and waits until all of it is in: a big file loads in steps
// from the event loop, and a key's time must not include a load step.
inline bool openWhole(TFmMain& main, const QString& file)
{
    if (!openDocumentFile(main, file))
        return false;
    while (main.currentDocument() && DocumentLoad::of(main.currentDocument()->edit->document()))
        QCoreApplication::processEvents();
    return true;
}

// A key pressed and released on `w`, as the window system sends it.
inline void sendKey(QWidget* w, Qt::Key key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(w, &press);
    QCoreApplication::sendEvent(w, &release);
}
