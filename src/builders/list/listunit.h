#pragma once
// "ﾘｽﾄﾋﾞﾙﾀﾞｰ(&L)": the list builder window, made once, shown by MList and
// ToolList at the main window + (290, 100) the first time; `ListPaste` and
// `MPopList` follow the document command switch.

#include "builders/builderunit.h"

#include <QObject>
#include <QPointer>

class TFmList;
class ToolWindow;

class ListBuilderUnit : public QObject {
    Q_OBJECT
public:
    explicit ListBuilderUnit(EditorHost& host);
    ~ListBuilderUnit() override;

    TFmList* window() const;
    ToolWindow* launcher() const;

private:
    HostBuilderSink m_sink;
    QPointer<TFmList> m_window;
    QPointer<ToolWindow> m_launcher;
};
