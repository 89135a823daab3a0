#pragma once
// "ｻｲｽﾞ設定": the image builder's size dialog.  WIDTH and HEIGHT, each "(なし)"
// or a whole number typed in; the natural size beside them.  Made for each
// use; "確定" stores into the builder's values only when both entries pass, a
// refused number keeps the dialog open with nothing stored.

#include <QDialog>

class ImageTag;
class Prompts;
class QComboBox;
class QLabel;
class QPushButton;

class TFmSize : public QDialog {
    Q_OBJECT
public:
    TFmSize(ImageTag& values, Prompts& prompts, QWidget* parent = nullptr);

    void FormActivate();
    void BitBtn1Click();    // 確定
    void BitBtn2Click();    // ｷｬﾝｾﾙ

    QComboBox* WidthComb() const { return m_width; }
    QComboBox* HeightComb() const { return m_height; }
    QLabel* Label5() const { return m_label5; }
    QLabel* Label6() const { return m_label6; }
    QPushButton* BitBtn1() const { return m_ok; }
    QPushButton* BitBtn2() const { return m_cancel; }

private:
    ImageTag& m_values;
    Prompts& m_prompts;
    QComboBox* m_width = nullptr;
    QComboBox* m_height = nullptr;
    QLabel* m_label5 = nullptr;
    QLabel* m_label6 = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
