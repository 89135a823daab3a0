#pragma once
// Puts the tag tree panel into the main window's "ﾀｸﾞﾋﾞﾙﾀﾞｰ" tab and wires it
// to the documents, the document command switch and the settings file
// ([MTree] Tree, the user tree).

#include "app/settingsclient.h"

#include <QObject>
#include <QPointer>

class EditorHost;
class QWidget;
class TagTreePanel;

class TagTreeUnit : public QObject, public SettingsClient {
    Q_OBJECT
public:
    // `page`: the "ﾀｸﾞﾋﾞﾙﾀﾞｰ" tab (ToolTag2) the panel fills.
    TagTreeUnit(EditorHost& host, QWidget* page);
    ~TagTreeUnit() override;

    TagTreePanel* panel() const;

    void load(const Settings& s) override;
    void store(Settings& s) const override;

private:
    EditorHost& m_host;
    QPointer<TagTreePanel> m_panel;
};
