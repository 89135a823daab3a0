#pragma once
// Every modal step of the application — message boxes, the file, colour and
// print dialogs, and showing one of our own dialogs modally — goes through
// this interface.  The application window receives one at construction; the
// real one (QtPrompts) uses Qt's dialogs, the tests answer with scripts.

#include <QColor>
#include <QString>
#include <functional>
#include <optional>

class QDialog;
class QPrinter;
class QWidget;

class Prompts {
public:
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    // A file dialog request.  `filter` is written "description|pattern|
    // description|pattern|..." (patterns separated by ';'); `filterIndex`
    // counts the entries from 1.
    struct FileRequest {
        QString title;
        QString filter;
        int filterIndex = 1;
        QString proposedName;   // file name or full path proposed to the user
        QString directory;      // folder to start in; empty = the dialog's own choice
    };
    struct FileAnswer {
        bool accepted = false;
        QString path;           // chosen file, absolute
        int filterIndex = 1;    // the entry chosen, from 1
    };

    virtual ~Prompts() = default;

    virtual Answer message(QWidget* parent, const QString& title, const QString& text,
                           Icon icon, Buttons buttons) = 0;
    virtual FileAnswer openFile(QWidget* parent, const FileRequest& request) = 0;
    virtual FileAnswer saveFile(QWidget* parent, const FileRequest& request) = 0;
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;
    // Printer set-up (page and printer choice) and the print dialog proper;
    // both return true when the user confirmed.
    virtual bool printerSetup(QWidget* parent, QPrinter& printer) = 0;
    virtual bool printDialog(QWidget* parent, QPrinter& printer) = 0;
    // Shows one of our own dialogs modally and returns its result code
    // (QDialog::exec() for the real thing).
    virtual int execDialog(QDialog& dialog) = 0;
};

// Turns a "description|pattern|..." filter into Qt's list of name filters
// ("description (pattern pattern)").
QStringList qtNameFilters(const QString& filter);

// The save dialog, asking before an existing file is replaced: the user who
// answers No is shown the dialog again.  `finalPath` turns the dialog's
// answer into the path that will really be written (an extension added by
// the chosen filter, say); the answer returned carries that path.
Prompts::FileAnswer askSavePath(
    Prompts& prompts, QWidget* parent, const Prompts::FileRequest& request,
    const std::function<QString(const QString& path, int filterIndex)>& finalPath = {});

// "…は既に存在します。上書きしますか？"
QString replaceQuestion(const QString& path);
