#pragma once
// The colour commands of the Tools menu: "ｶﾗｰﾋﾟｯｶｰ(&C)" (MColor and the
// tool button ToolColor) shows the colour picker, made once and placed at
// the main window + (250, 100) the first time; "ｲｰｼﾞｰｶﾗｰﾋﾟｯｶｰ(&I)" (MEasy)
// inserts one of the 16 colour names in double quotes.

#include "app/toolwindow.h"
#include "custom/tfmcolor.h"

#include <QObject>
#include <QPointer>

class EditorHost;
class QAction;
class QMenu;

// The controls the colour commands use.
struct ColorCommands {
    QAction* MColor = nullptr;
    QAction* ToolColor = nullptr;
    QMenu* MEasy = nullptr;
};

class ColorPickerUnit : public QObject {
    Q_OBJECT
public:
    ColorPickerUnit(EditorHost& host, const ColorCommands& c);
    ~ColorPickerUnit() override;

    TFmColor* window() const { return m_window; }
    ToolWindow* launcher() const { return m_launcher; }

private:
    EditorHost& m_host;
    QPointer<TFmColor> m_window;
    QPointer<ToolWindow> m_launcher;
};
