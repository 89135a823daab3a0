#pragma once
// "ｲﾒｰｼﾞﾋﾞﾙﾀﾞｰ(&V)": the image builder window, made once, shown by MCg and
// ToolCg (with no picture) or by the file panel (with one) at the main
// window + (290, 100) the first time; `CGPaste` follows the document command
// switch; the main window's super mode (Ctrl+Alt+Q) enlarges the window.

#include "builders/builderunit.h"

#include <QPointer>
#include <memory>

class DesktopShell;
class TFmCg;

class ImageBuilderUnit : public BuilderUnit {
    Q_OBJECT
public:
    ImageBuilderUnit(EditorHost& host, BuilderLaunchers launchers);
    ~ImageBuilderUnit() override;

    // Shows the window for the picture at `path` (the file panel's hand-over).
    void openPicture(const QString& path);
    // The desktop shell the viewer button uses (tests put a recorder here).
    void setShell(DesktopShell& shell);

    TFmCg* window() const;

private:
    std::unique_ptr<DesktopShell> m_shell;
    QPointer<TFmCg> m_window;
};
