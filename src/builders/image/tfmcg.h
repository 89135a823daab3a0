#pragma once
// "ｲﾒｰｼﾞﾋﾞﾙﾀﾞｰ": the image builder window.  It reads a GIF, JPEG or BMP
// picture for its size, shows ` <IMG SRC="name">`, lets the size dialog and
// the detail dialog add WIDTH/HEIGHT and BORDER/ALIGN/VSPACE/HSPACE/ALT,
// copies or inserts the tag, and opens the picture in the desktop's viewer.
// Each time the window becomes active it reads its picture again.  In super
// mode, which the main window switches on, it shows the picture itself on
// teal.  Closing hides the window and forgets the picture.

#include "builders/image/imagetag.h"
#include "builders/builderunit.h"

#include <QDateTime>
#include <QImage>

class DesktopShell;
class EditorPort;
class Prompts;
class QLabel;
class QScrollArea;
class QStatusBar;
class QToolButton;
class TextPanel;

class TFmCg : public TFmTagBuilder {
    Q_OBJECT
public:
    TFmCg(Prompts& prompts, EditorPort& editor, DesktopShell& shell, QWidget* parent = nullptr);
    ~TFmCg() override;

    // Handlers, public so that the program and tests can drive them.
    void SpeedButton1Click();     // 開く
    void CgCopyClick() { copyTag(); }
    void CGPasteClick() { insertTag(); }
    void CgSizeClick();
    void SpeedButton4Click();     // 詳細ﾞ設定
    void BtnViewClick();
    void FormActivate() override;
    // Super mode: shows the preview on teal, 300 pixels high; the main
    // window's super mode runs it at every press of its key.
    void MSuperClick();

    // The picture the next activation reads (the file panel's hand-over;
    // empty from the window's own command).  That activation counts, even
    // right after one of the window's dialogs.
    void setImageFile(const QString& path);
    void setShell(DesktopShell& shell) { m_shell = &shell; }

    const ImageTag& values() const { return m_tag; }
    QString tagText() const;
    QString statusText() const;
    // The preview's picture (decoded only in super mode, made smaller when
    // the picture is too large to hold) and its display size; why there is
    // none when the picture reads but its preview cannot be made.
    const QImage& previewImage() const { return m_read.preview; }
    const QString& previewError() const { return m_read.previewError; }
    QSize previewSize() const;

    QToolButton* SpeedButton1() const { return m_open; }
    QToolButton* CgCopy() const { return m_copy; }
    QToolButton* CGPaste() const { return m_paste; }
    QToolButton* CgSize() const { return m_size; }
    QToolButton* CgOp() const { return m_op; }
    QToolButton* BtnView() const { return m_view; }
    TextPanel* TagPanel() const { return m_tagPanel; }
    QScrollArea* ScrollBox1() const { return m_scrollBox1; }
    QStatusBar* StatusBar1() const { return m_status; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Reads the picture at `path`; on failure the reader's text is shown and
    // nothing changes.
    bool loadPicture(const QString& path);
    // True once super mode has shown the preview: only then are pictures
    // decoded beyond their size.
    bool previewShown() const;
    // Decodes the preview of the picture read last, once.
    void makePreview();
    void showFullTag();
    void updatePreview();

    DesktopShell* m_shell;
    ImageTag m_tag;
    QString m_pendingFile;   // handed over, read at the next activation
    // The picture read last, kept while its file stays the same, so that
    // coming back to the window does not decode it again.
    struct ReadPicture {
        QString path;
        qint64 bytes = -1;
        QDateTime modified;
        QSize size;
        bool previewMade = false;
        QImage preview;
        QString previewError;
    };
    ReadPicture m_read;

    QToolButton* m_open = nullptr;
    QToolButton* m_copy = nullptr;
    QToolButton* m_paste = nullptr;
    QToolButton* m_size = nullptr;
    QToolButton* m_op = nullptr;
    QToolButton* m_view = nullptr;
    TextPanel* m_tagPanel = nullptr;
    QScrollArea* m_scrollBox1 = nullptr;
    QWidget* m_image = nullptr;
    QStatusBar* m_status = nullptr;
    TextPanel* m_statusPanel = nullptr;
};
