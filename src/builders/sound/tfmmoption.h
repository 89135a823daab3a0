#pragma once
// "設定": the sound builder's loop dialog.  "1", "5", "10", "無限回" or a whole
// number typed in.  Made for each use; "確定" stores the loop value, a
// refused entry keeps the dialog open.

#include <QDialog>

class Prompts;
class QComboBox;
class QPushButton;
class SoundTag;

class TFmMoption : public QDialog {
    Q_OBJECT
public:
    TFmMoption(SoundTag& values, Prompts& prompts, QWidget* parent = nullptr);

    void FormActivate();
    void BitBtn1Click();    // 確定
    void BitBtn2Click();    // ｷｬﾝｾﾙ

    QComboBox* LoopEdit() const { return m_loopEdit; }
    QPushButton* BitBtn1() const { return m_ok; }
    QPushButton* BitBtn2() const { return m_cancel; }

private:
    SoundTag& m_values;
    Prompts& m_prompts;
    QComboBox* m_loopEdit = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
