#pragma once
// The new-page and frame-set commands: "新規作成(&N)" (F6) shows the new-page
// dialog, "ﾌﾚｰﾑ作成(&T)" (F7) the frame dialog; each is placed at the main
// window + (30, 70) and hands its page over on the clipboard, which a new
// document is filled from.

#include <QObject>
#include <QPointer>

class EditorHost;
class QDialog;
class TFmFrame;
class TFmNew;

class PageBuilderUnit : public QObject {
    Q_OBJECT
public:
    explicit PageBuilderUnit(EditorHost& host);
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
