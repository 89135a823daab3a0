#pragma once
// "ﾘｽﾄﾋﾞﾙﾀﾞｰ": the list builder window.  Items typed in the edit box are
// collected in a list box ("追加(&A)", also on receiving the focus, or
// Shift+Enter in the edit box); "挿入" inserts the whole list of the chosen
// kind at the caret, and the list box's popup inserts one item's tag.
// Closing hides the window; kind, choices and items last for the run.

#include "builders/list/listbuilder.h"

#include <QWidget>

class EditorPort;
class Prompts;
class QAction;
class QComboBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

class TFmList : public QWidget {
    Q_OBJECT
public:
    TFmList(Prompts& prompts, EditorPort& editor, QWidget* parent = nullptr);

    // Handlers, public so that the program and tests can drive them.
    void ComboBox1Change();
    void Button1Click();
    void Button3Click();
    void Button4Click();
    void ListPasteClick();
    void PopupMenu1Popup();
    void MPopListClick();

    // The controls the document command switch enables and disables.
    QPushButton* ListPaste() const { return m_listPaste; }
    QAction* MPopList() const { return m_mPopList; }

    QMenu* PopupMenu1() const { return m_popupMenu1; }
    QComboBox* ComboBox1() const { return m_comboBox1; }
    QComboBox* ComboBox2() const { return m_comboBox2; }
    QComboBox* ComboBox3() const { return m_comboBox3; }
    QLineEdit* ListEdit1() const { return m_listEdit1; }
    QPushButton* Button1() const { return m_button1; }
    QListWidget* ListBox() const { return m_listBox; }

    ListKind kind() const;
    QStringList items() const;
    // The list as "挿入" would insert it now.
    QString listText() const;
    // The text `MPopList` inserts (its caption as last prepared by the popup).
    const QString& popListCaption() const { return m_popListCaption; }

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Prompts& m_prompts;
    EditorPort& m_editor;
    QString m_popListCaption;

    QComboBox* m_comboBox1 = nullptr;
    QComboBox* m_comboBox2 = nullptr;
    QComboBox* m_comboBox3 = nullptr;
    QLineEdit* m_listEdit1 = nullptr;
    QPushButton* m_button1 = nullptr;
    QListWidget* m_listBox = nullptr;
    QMenu* m_popupMenu1 = nullptr;
    QAction* m_mPopList = nullptr;
    QPushButton* m_listPaste = nullptr;
    QPushButton* m_button3 = nullptr;
    QPushButton* m_button4 = nullptr;
};
