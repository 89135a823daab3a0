#pragma once
// Prompts for tests: answers come from queues filled by the test, and every
// prompt shown is recorded.  A prompt with no scripted answer fails the test
// and is answered with Cancel / not confirmed.

#include "platform/prompts.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

class ScriptedPrompts final : public Prompts {
public:
    struct Shown {
        QString kind;          // "message", "open", "save", "color", "printerSetup", "print", "dialog"
        QString title;
        QString text;          // message text, or the dialog's objectName for "dialog"
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        FileRequest file;      // for "open" and "save"
    };

    std::vector<Shown> shown;

    // When set, a message box is up as a real one is: a modal window over
    // its parent that holds the activation until it is answered.
    bool messagesTakeActivation = false;

    std::deque<Answer> messageAnswers;
    std::deque<FileAnswer> openAnswers;
    std::deque<FileAnswer> saveAnswers;
    std::deque<std::optional<QColor>> colorAnswers;
    std::deque<std::function<bool(QPrinter&)>> printerSetupAnswers;
    std::deque<std::function<bool(QPrinter&)>> printAnswers;
    // Each runs against the dialog (set its controls, press its buttons) and
    // returns the result code that exec() would have returned.
    std::deque<std::function<int(QDialog&)>> dialogAnswers;

    // Convenience: queue answers.
    void answerMessage(Answer a) { messageAnswers.push_back(a); }
    void answerSave(const QString& path, int filterIndex = 1)
    {
        saveAnswers.push_back(FileAnswer{true, path, filterIndex});
    }
    void cancelSave() { saveAnswers.push_back(FileAnswer{}); }
    void answerOpen(const QString& path, int filterIndex = 1)
    {
        openAnswers.push_back(FileAnswer{true, path, filterIndex});
    }
    void cancelOpen() { openAnswers.push_back(FileAnswer{}); }
    void answerDialog(std::function<int(QDialog&)> f) { dialogAnswers.push_back(std::move(f)); }

    // Texts of the message boxes shown, in order.
    QStringList messages() const;
    // All answers used up?
    bool exhausted() const;

    Answer message(QWidget* parent, const QString& title, const QString& text, Icon icon,
                   Buttons buttons) override;
    FileAnswer openFile(QWidget* parent, const FileRequest& request) override;
    FileAnswer saveFile(QWidget* parent, const FileRequest& request) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
    bool printerSetup(QWidget* parent, QPrinter& printer) override;
    bool printDialog(QWidget* parent, QPrinter& printer) override;
    int execDialog(QDialog& dialog) override;
};
