#pragma once
// The builders' view of the main window: inserting at the caret, whether a
// document is open, and the editor's focus, taken from the editor host.

#include "app/editorhost.h"
#include "builders/buildersink.h"

class HostBuilderSink final : public BuilderSink {
public:
    explicit HostBuilderSink(EditorHost& host) : m_host(host) {}
    void insertAtCaret(const QString& text) override { m_host.InsertAtCaret(text); }
    bool hasDocument() const override { return m_host.hasDocument(); }
    void focusEditor() override { m_host.focusEditor(); }

private:
    EditorHost& m_host;
};
