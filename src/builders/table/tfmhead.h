#pragma once
// "設定": the table settings dialog.  Three tabs of attributes for the <TABLE>
// tag: six editable combo boxes (ALIGN, WIDTH, HEIGHT, BORDER, CELLSPACING,
// CELLPADDING) read on "確定", and two colour panels (BGCOLOR on the first tab,
// BORDERCOLOR on the others) whose popup stores the colour at once.

#include "builders/table/tablesettings.h"

#include <QDialog>

class Prompts;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;

class TFmHead : public QDialog {
    Q_OBJECT
public:
    // The settings live with the caller for the whole run.
    TFmHead(TableSettings& settings, Prompts& prompts, QWidget* parent = nullptr);

    // Runs each time the dialog is about to be shown: the combo boxes take
    // the stored values; the colour panels keep what they last showed.
    void FormActivate();

    void BitBtn1Click();          // 確定
    void BitBtn2Click();          // ｷｬﾝｾﾙ
    // Item `index` of the colour popup: 0..15 the named colours, 16 "(なし)".
    void colorItemClick(int index);

    QMenu* PopupMenu1() const { return m_popup; }
    QComboBox* combo(int attr) const { return m_combos[attr]; }
    QLabel* panel1() const { return m_panel1; }
    QLabel* Panel2() const { return m_panel2; }
    QTabWidget* tabs() const { return m_tabs; }

private:
    QWidget* makeColorPanel(QLabel*& panel, const char* name, const QString& caption, QWidget* owner);
    QComboBox* makeCombo(int attr, const char* name, const QStringList& items, QWidget* owner);

    TableSettings& m_settings;
    Prompts& m_prompts;
    QTabWidget* m_tabs = nullptr;
    QComboBox* m_combos[TableSettings::kComboCount] = {};
    QLabel* m_panel1 = nullptr;
    QLabel* m_panel2 = nullptr;
    QMenu* m_popup = nullptr;
    QPushButton* m_bitBtn1 = nullptr;
    QPushButton* m_bitBtn2 = nullptr;
};
