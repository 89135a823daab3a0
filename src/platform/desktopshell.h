#pragma once
// The desktop shell's "Open" action on a file: the program the desktop
// associates with the file shows it.  Behind an interface so that tests can
// record what would be opened.

#include <QString>
#include <memory>

class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    // Starts the associated program on `path` and returns at once; false with
    // *error set when it could not be started.
    virtual bool open(const QString& path, QString* error) = 0;
    // The same for a web address (shown by the default browser).
    virtual bool openUrl(const QString& url, QString* error) { return open(url, error); }
};

// xdg-open, started with the file's percent-encoded file:// address (or the
// web address) as its one argument (no shell between).
std::unique_ptr<DesktopShell> makeXdgShell();
