#pragma once
// The new-page and frame-set commands: "新規作成(&N)" (F6) shows the new-page
// dialog, "ﾌﾚｰﾑ作成(&T)" (F7) the frame dialog; each is placed at the main
// window + (30, 70) and hands its page over on the clipboard, which a new
// document is filled from.

#include <QObject>
#include <QPointer>
#include <vector>

class EditorHost;
class QAction;
class QDialog;
class TFmFrame;
class TFmNew;

// The commands the unit answers: its menu items, tool buttons and
// function keys.
struct PageCommands {
    std::vector<QAction*> newPage;    // MNew, ToolNew, FNew
    std::vector<QAction*> frameSet;   // MFrame, ToolFrame, FFrame
};

class PageBuilderUnit : public QObject {
    Q_OBJECT
public:
    PageBuilderUnit(EditorHost& host, const PageCommands& commands);
    ~PageBuilderUnit() override;

    void MNewClick();
    void MFrameClick();
    TFmNew& fmNew();
    TFmFrame& fmFrame();

private:
    void runDialog(QDialog& dialog);

    EditorHost& m_host;
    QPointer<TFmNew> m_fmNew;
    QPointer<TFmFrame> m_fmFrame;
};
