#pragma once
// "詳細設定": the image builder's detail dialog.  BORDER, ALT, ALIGN, VSPACE
// and HSPACE, each "(なし)" or typed in (BORDER, VSPACE, HSPACE whole
// numbers).  Made for each use; "確定" stores into the builder's values only
// when every entry passes, a refused number keeps the dialog open with
// nothing stored.

#include "builders/image/imagetag.h"

#include <QDialog>

class Prompts;
class QComboBox;
class QPushButton;

class TFmOption : public QDialog {
    Q_OBJECT
public:
    TFmOption(ImageTag& values, Prompts& prompts, QWidget* parent = nullptr);

    void FormActivate();
    void BitOkClick();
    void BtnCancelClick();

    QComboBox* BorderEdit() const { return m_edits[ImageTag::Border]; }
    QComboBox* Altedit() const { return m_edits[ImageTag::Alt]; }
    QComboBox* AlignEdit() const { return m_edits[ImageTag::Align]; }
    QComboBox* VSpaceEdit() const { return m_edits[ImageTag::VSpace]; }
    QComboBox* HSpaceEdit() const { return m_edits[ImageTag::HSpace]; }
    QPushButton* BitOk() const { return m_ok; }
    QPushButton* BtnCancel() const { return m_cancel; }

private:
    ImageTag& m_values;
    Prompts& m_prompts;
    QComboBox* m_edits[ImageTag::kDetailCount] = {};
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
