#pragma once
// What a builder window needs from the rest of the program.  The main window
// hands one of these to each builder it makes; tests hand a recording one.

#include <QString>

struct BuilderSink {
    virtual ~BuilderSink() = default;
    // Puts the text on the clipboard and, when a document is open, pastes it
    // at the caret of the current editor (replacing the selection).
    virtual void insertAtCaret(const QString& text) = 0;
    // True while at least one document is open.
    virtual bool hasDocument() const = 0;
    // Moves the keyboard focus to the current document's editor, if any.
    virtual void focusEditor() = 0;
};
