#pragma once
// Puts the tag tree panel into the main window's "ﾀｸﾞﾋﾞﾙﾀﾞｰ" tab and wires it
// to the documents, the document command switch and the settings file.

#include <QObject>
#include <QPointer>

class TFmMain;
class TagTreePanel;

class TagTreeUnit : public QObject {
    Q_OBJECT
public:
    explicit TagTreeUnit(TFmMain& main);
    ~TagTreeUnit() override;

    TagTreePanel* panel() const;

private:
    void connectCurrentEditor();

    TFmMain& m_main;
    QPointer<TagTreePanel> m_panel;
};
