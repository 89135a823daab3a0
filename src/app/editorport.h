#pragma once
// What a tool window may do to the editor: the builders, the colour picker,
// the Tag Optioner and the tag tree reach the current document only through
// this, so each can be shown and tested without a main window.  The main
// window implements it; tests hand a recording one.

#include <QString>

class EditorPort {
public:
    virtual ~EditorPort() = default;

    // True while at least one document is open.
    virtual bool hasDocument() const = 0;
    // Puts the text on the clipboard and, when a document is open, pastes it
    // at the caret of the current editor (replacing the selection).
    virtual void InsertAtCaret(const QString& text) = 0;
    // Inserts text at the caret (replacing the selection) as one undoable
    // edit, without the clipboard; false when no document is open.
    virtual bool insertText(const QString& text) = 0;
    // Wraps the selection in a tag pair ("<B></B>" around "abc").
    virtual void InsertTag(const QString& tagText) = 0;
    // Moves the keyboard focus to the current document's editor, if any.
    virtual void focusEditor() = 0;
    // The tag text around the caret as last computed.
    virtual QString CaretTagText() const = 0;
};
