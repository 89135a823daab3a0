#pragma once
#include "app/tfmmain.h"

class Prompts;

// The program's start: names the application, shows the splash, which builds
// the main window, then shows the main window centred on the screen.
class Startup {
public:
    // `compose` creates the command units (the composition root's); `files`
    // are opened, each in its own tab, once the main window is shown.
    Startup(Prompts& prompts, std::function<void(TFmMain&)> compose,
            const QStringList& files = {});

    // The files named on a command line (the program's name left out): every
    // argument, except that a lone "--" is skipped.
    static QStringList filesFromArguments(const QStringList& arguments);
    ~Startup();
    TFmMain* mainWindow() const { return m_main; }

    // The settings file beside the executable and the one used when that
    // folder cannot be written.
    static TFmMain::Options defaultOptions();
    // Gives the application its name.  No display name is set: the window
    // system would add it to every caption.
    static void nameApplication();

private:
    TFmMain* m_main = nullptr;
};
