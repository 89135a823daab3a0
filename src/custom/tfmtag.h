#pragma once
// "ﾀｸﾞﾒﾆｭｰ設定": the 99 common tags with check marks; the checked ones (ten
// at most) become the tag menu's items in list order.  Made once; the marks
// stay from one showing to the next.

#include "custom/tagmenu.h"

#include <QDialog>
#include <vector>

class Prompts;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class TFmTag : public QDialog {
    Q_OBJECT
public:
    explicit TFmTag(Prompts& prompts, QWidget* parent = nullptr);

    // Shared with the tag menu: the ten slots going in and, once confirmed,
    // coming out; `confirmed` is set by "確定" and cleared by the caller
    // after it has taken the slots.
    TagSlots transfer;
    bool confirmed = false;

    // Marks every entry that one of the transfer slots holds.
    void FormActivate();
    std::vector<int> checkedRows() const;

    QLabel* Panel2 = nullptr;
    QListWidget* CheckListBox1 = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCan = nullptr;

public slots:
    void CheckListBox1Click();
    void BtnOKClick();
    void BtnCanClick();

private:
    void CheckListBox1ClickCheck(QListWidgetItem* item);

    Prompts& m_prompts;
    bool m_marking = false;
};
