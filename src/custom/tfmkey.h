#pragma once
// "ｷｰｺﾝﾄﾛｰﾙ一覧": the seventeen key-control shortcuts, one row each, with
// the text each inserts; the texts are edited in place.

#include "custom/keycontrol.h"

#include <QDialog>
#include <QStringList>

class Prompts;
class QPushButton;
class QTableWidget;

class TFmKey : public QDialog {
    Q_OBJECT
public:
    explicit TFmKey(Prompts& prompts, QWidget* parent = nullptr);

    // Column 1, row = slot number.
    void setTexts(const QStringList& texts);
    QStringList texts() const;
    bool confirmed() const { return m_confirmed; }

    // Fills the label column and centres the dialog on its screen.
    void FormActivate();

    QTableWidget* KeyGrid = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

public slots:
    void BitBtn1Click();
    void BitBtn2Click();

private:
    Prompts& m_prompts;
    bool m_confirmed = false;
};
