#pragma once
// Wires the Tag Optioner to the main window: its commands (MTo, MTo2,
// ToolTo, FTO), the caret's tag after every caret update, and MoPaste in the
// document command switch.

#include <QObject>
#include <QPointer>

class EditorHost;
class QAction;
class TFmTO;

// The commands that show the Tag Optioner.
struct OptionerCommands {
    QAction* MTo = nullptr;       // EditMenu1
    QAction* MTo2 = nullptr;      // Tools menu
    QAction* ToolTo = nullptr;    // tool bar
    QAction* FTO = nullptr;       // function-key bar; stays enabled while shown
};

class TagOptionerUnit : public QObject {
    Q_OBJECT
public:
    TagOptionerUnit(EditorHost& host, const OptionerCommands& c);
    ~TagOptionerUnit() override;

    TFmTO* window() const;

private:
    QPointer<TFmTO> m_window;
};
