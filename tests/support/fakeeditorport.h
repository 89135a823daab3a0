#pragma once
// An editor for tool windows tested without a main window: it records what
// they insert and how, and answers as a document would.

#include "app/editorport.h"

#include <QStringList>

struct FakeEditorPort : EditorPort {
    bool document = true;
    QString caretTag;
    QStringList inserted;   // by InsertAtCaret (the clipboard way)
    QStringList edits;      // by insertText (one undoable edit)
    QStringList tags;       // by InsertTag
    int focused = 0;

    bool hasDocument() const override { return document; }
    void InsertAtCaret(const QString& text) override { inserted << text; }
    bool insertText(const QString& text) override
    {
        if (!document)
            return false;
        edits << text;
        return true;
    }
    void InsertTag(const QString& tagText) override { tags << tagText; }
    void focusEditor() override { ++focused; }
    QString CaretTagText() const override { return caretTag; }
};
