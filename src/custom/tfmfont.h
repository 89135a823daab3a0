#pragma once
// "フォント設定": the editors' font face, size, text colour and background
// colour.  The colours are the 16 named colours, chosen from a pop-up menu
// opened by clicking either swatch.

#include "app/editorhost.h"

#include <QDialog>

class Prompts;
class QComboBox;
class QMenu;
class QPushButton;

class TFmFont : public QDialog {
    Q_OBJECT
public:
    explicit TFmFont(Prompts& prompts, QWidget* parent = nullptr);

    // Shows `look`: its face, its size when the list has it, its colours.
    void FormActivate(const EditorLook& look);
    // The look after "OK"; what FormActivate showed otherwise.
    EditorLook look() const { return m_look; }
    bool confirmed() const { return m_confirmed; }
    // The colour a swatch shows (0 text, 1 background).
    QColor swatchColor(int which) const { return m_colors[which]; }

    QComboBox* FontName = nullptr;
    QComboBox* FontSize = nullptr;
    QPushButton* PFontColor = nullptr;
    QPushButton* PBkColor = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* Cancel = nullptr;

public slots:
    void PFontColorClick();
    void PBkColorClick();
    void OKClick();
    void CancelClick();

private:
    void colorItemClick(int index);
    void showSwatch(int which, const QColor& color);

    Prompts& m_prompts;
    EditorLook m_look;
    QColor m_colors[2];
    int m_target = 0;          // the swatch clicked last
    bool m_confirmed = false;
};
