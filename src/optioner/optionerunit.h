#pragma once
// Wires the Tag Optioner to the main window: its commands (MTo, MTo2,
// ToolTo, FTO), the caret's tag after every UpdateCaret, and MoPaste in the
// document command switch.

#include <QObject>
#include <QPointer>

class TFmMain;
class TFmTO;

class TagOptionerUnit : public QObject {
    Q_OBJECT
public:
    explicit TagOptionerUnit(TFmMain& main);
    ~TagOptionerUnit() override;

    TFmTO* window() const;

private:
    QPointer<TFmTO> m_window;
};
