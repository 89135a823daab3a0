#pragma once
// "ﾘｽﾄﾋﾞﾙﾀﾞｰ(&L)": the list builder window, made once, shown by MList and
// ToolList at the main window + (290, 100) the first time; `ListPaste` and
// `MPopList` follow the document command switch.

#include "builders/builderunit.h"

#include <QPointer>

class TFmList;

class ListBuilderUnit : public BuilderUnit {
    Q_OBJECT
public:
    ListBuilderUnit(EditorHost& host, BuilderLaunchers launchers);
    ~ListBuilderUnit() override;

    TFmList* window() const;

private:
    QPointer<TFmList> m_window;
};
