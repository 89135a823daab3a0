#pragma once
// "ｻｳﾝﾄﾞﾋﾞﾙﾀﾞｰ(&S)": the sound builder window, made once, shown by MSound and
// ToolSound (with no sound) or by the file panel (with one) at the main
// window + (290, 100) the first time; `MusicPaste` follows the document
// command switch.

#include "builders/builderunit.h"

#include <QPointer>

class TFmMusic;

class SoundBuilderUnit : public BuilderUnit {
    Q_OBJECT
public:
    SoundBuilderUnit(EditorHost& host, BuilderLaunchers launchers);
    ~SoundBuilderUnit() override;

    // Shows the window for the sound at `path` (the file panel's hand-over).
    void openSound(const QString& path);

    TFmMusic* window() const;

private:
    QPointer<TFmMusic> m_window;
};
