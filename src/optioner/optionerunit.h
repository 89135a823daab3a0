#pragma once
// Wires the Tag Optioner to the main window: its commands (MTo, MTo2,
// ToolTo, FTO), the caret's tag after every caret update, and MoPaste in the
// document command switch.

#include <QObject>
#include <QPointer>

class EditorHost;
class TFmTO;

class TagOptionerUnit : public QObject {
    Q_OBJECT
public:
    explicit TagOptionerUnit(EditorHost& host);
    ~TagOptionerUnit() override;

    TFmTO* window() const;

private:
    QPointer<TFmTO> m_window;
};
