#pragma once
// "ﾃｰﾌﾞﾙﾋﾞﾙﾀﾞｰ(&T)": the table builder's grid window, made once, shown by
// MTable and ToolTable at the main window + (290, 100) the first time;
// `MTd` follows the document command switch.

#include "builders/builderunit.h"

#include <QObject>
#include <QPointer>

class TFmTableBody;
class ToolWindow;

class TableBuilderUnit : public QObject {
    Q_OBJECT
public:
    explicit TableBuilderUnit(EditorHost& host);
    ~TableBuilderUnit() override;

    TFmTableBody* window() const;
    ToolWindow* launcher() const;

private:
    HostBuilderSink m_sink;
    QPointer<TFmTableBody> m_window;
    QPointer<ToolWindow> m_launcher;
};
