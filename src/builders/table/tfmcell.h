#pragma once
// "ｾﾙ設定": the cell settings dialog.  Shows the selected cell's width and
// height; "確定" stores them as whole numbers and closes, or stores neither
// when one is refused.

#include <QDialog>

struct SelectedCell;
class Prompts;
class QLineEdit;
class QPushButton;

class TFmCell : public QDialog {
    Q_OBJECT
public:
    TFmCell(SelectedCell& cell, Prompts& prompts, QWidget* parent = nullptr);

    // Runs each time the dialog is about to be shown: the edits take the
    // selected cell's size texts.
    void FormActivate();
    void BtnOkClick();

    QLineEdit* WidthEdit() const { return m_widthEdit; }
    QLineEdit* HeightEdit() const { return m_heightEdit; }
    QPushButton* BtnOk() const { return m_btnOk; }

private:
    SelectedCell& m_cell;
    Prompts& m_prompts;
    QLineEdit* m_widthEdit = nullptr;
    QLineEdit* m_heightEdit = nullptr;
    QPushButton* m_btnOk = nullptr;
};
