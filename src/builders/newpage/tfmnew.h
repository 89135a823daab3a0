#pragma once
// "初期設定": the new-page dialog.  It composes a page skeleton from the
// title, base font size, background music, background picture and five
// colours, puts it on the clipboard and reports how it was closed:
// 0 cancelled (also by the title bar), 1 skeleton on the clipboard,
// 2 blank page wanted.  The colours last for the run; the entries are
// cleared each time the dialog is shown (FormActivate).

#include "builders/newpage/newpageskeleton.h"

#include <QDialog>

class Prompts;
class QButtonGroup;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TFmNew : public QDialog {
    Q_OBJECT
public:
    enum Outcome { Cancelled = 0, PageOnClipboard = 1, BlankPage = 2 };

    explicit TFmNew(Prompts& prompts, QWidget* parent = nullptr);

    int outcome() const { return m_outcome; }
    // The colour values ("#RRGGBB") by role.
    const std::array<QString, kPageColorRoles>& colorValues() const { return m_colors; }
    // The settings as the controls hold them now.
    NewPageSettings settings() const;
    // The charset the page will declare (empty: none).
    void setCharset(const QString& charset) { m_charset = charset; }
    int selectedRole() const;
    void selectRole(int role);

    // Runs each time the dialog is about to be shown.
    void FormActivate();

    void ButMusicClick();
    void BtnImgClick();
    void BtnColorClick();
    void BtnOkClick();
    void BtnWhiteClick();
    void BtnCancelClick();

private:
    Prompts& m_prompts;
    int m_outcome = Cancelled;
    QString m_charset;
    std::array<QString, kPageColorRoles> m_colors = NewPageSettings::defaultColors();

    QPushButton* m_btnOk = nullptr;
    QPushButton* m_btnWhite = nullptr;
    QPushButton* m_btnCancel = nullptr;
    QLineEdit* m_editb = nullptr;   // background music
    QLineEdit* m_editc = nullptr;   // title
    QLineEdit* m_edita = nullptr;   // background picture
    QComboBox* m_comboBox1 = nullptr;
    QButtonGroup* m_radioGroup1 = nullptr;
    QFrame* m_panel1 = nullptr;
    QLabel* m_labels[4] = {};       // Label1, Label2, Label3, Label6
};
