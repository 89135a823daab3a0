#pragma once
#include "app/tfmmain.h"

#include <QByteArrayList>
#include <QSize>
#include <functional>
#include <memory>
#include <vector>

class Prompts;
class QScreen;

// The command line split at its first "--": the toolkit sees only what comes
// before it and takes its own options from there ("-reverse",
// "-qwindowtitle x"); every argument after it names a file, whatever it looks
// like.
class CommandLine {
public:
    CommandLine(int argc, char** argv);

    // For the toolkit's application object; they must outlive it.
    int& toolkitArgc() { return m_toolkitArgc; }
    char** toolkitArgv() { return m_toolkitArgv.data(); }

    // The files: what the toolkit left of its part (the program's name left
    // out), then everything after "--".
    QStringList files(const QStringList& toolkitLeft) const;

private:
    int m_toolkitArgc = 0;
    std::vector<char*> m_toolkitArgv;   // ends with a null pointer
    QByteArrayList m_afterEnd;
};

// The program's start: names the application, shows the splash, which builds
// the main window, then shows the main window centred on the screen.
class Startup {
public:
    // `compose` creates the command units (the composition root's); `files`
    // are opened, each in its own tab, once the main window is shown.
    Startup(Prompts& prompts, std::function<void(TFmMain&)> compose,
            const QStringList& files = {});
    // The same with the main window's options given (settings file and the
    // rest) instead of the program's own.
    Startup(Prompts& prompts, TFmMain::Options options, const QStringList& files = {});

    ~Startup();
    TFmMain* mainWindow() const { return m_main.get(); }

    // The settings file beside the executable and the one used when that
    // folder cannot be written.
    static TFmMain::Options defaultOptions();
    // Gives the application its name.  No display name is set: the window
    // system would add it to every caption.
    static void nameApplication();

    // The smallest main window a stored size may give.
    static constexpr QSize kMinimumSize{320, 240};
    // Fits a window (its stored size, from the settings file, may be
    // anything) into the screen's available area, no smaller than
    // kMinimumSize where the screen allows, and centres it there.
    static void placeOnScreen(QWidget& window, const QScreen* screen);

private:
    std::unique_ptr<TFmMain> m_main;
};
