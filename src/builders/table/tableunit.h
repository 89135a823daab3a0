#pragma once
// "ﾃｰﾌﾞﾙﾋﾞﾙﾀﾞｰ(&T)": the table builder's grid window, made once, shown by
// MTable and ToolTable at the main window + (290, 100) the first time;
// `MTd` follows the document command switch.

#include "builders/builderunit.h"

#include <QPointer>

class TFmTableBody;

class TableBuilderUnit : public BuilderUnit {
    Q_OBJECT
public:
    TableBuilderUnit(EditorHost& host, BuilderLaunchers launchers);
    ~TableBuilderUnit() override;

    TFmTableBody* window() const;

private:
    QPointer<TFmTableBody> m_window;
};
