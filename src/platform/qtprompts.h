#pragma once
#include "platform/prompts.h"

// Prompts answered by the user through Qt's own dialogs.
class QtPrompts : public Prompts {
public:
    Answer message(QWidget* parent, const QString& title, const QString& text, Icon icon,
                   Buttons buttons) override;
    FileAnswer openFile(QWidget* parent, const FileRequest& request) override;
    FileAnswer saveFile(QWidget* parent, const FileRequest& request) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
    bool printerSetup(QWidget* parent, QPrinter& printer) override;
    bool printDialog(QWidget* parent, QPrinter& printer) override;
    int execDialog(QDialog& dialog) override;
};
