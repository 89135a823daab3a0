#pragma once
// "ｶﾗｰﾋﾟｯｶｰ": mixes a colour from red, green and blue with three bars and
// gives its HTML code ('"#RRGGBB"') to copy or to insert.  The picker keeps a
// text colour and a background colour; the bars edit the one of the current
// mode, and the sample shows both.  Made once and kept for the run.

#include <QColor>
#include <QWidget>

class EditorPort;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

class TFmColor : public QWidget {
    Q_OBJECT
public:
    explicit TFmColor(EditorPort& editor, QWidget* parent = nullptr);

    enum Mode { TextColor = 0, BackgroundColor = 1 };   // RadioGroup1's items

    QString code() const;                  // the code Panel11 shows
    QColor textColor() const { return m_stored[TextColor]; }
    QColor backgroundColor() const { return m_stored[BackgroundColor]; }
    Mode mode() const { return m_mode; }

    QLabel* Panel1 = nullptr;
    QLabel* Panel2 = nullptr;
    QLabel* Panel3 = nullptr;
    QScrollBar* ScrollBar1 = nullptr;
    QScrollBar* ScrollBar2 = nullptr;
    QScrollBar* ScrollBar3 = nullptr;
    QLabel* Panel7 = nullptr;
    QLabel* Panel8 = nullptr;
    QLabel* Panel9 = nullptr;
    QLineEdit* Edit1a = nullptr;
    QLineEdit* Edit2a = nullptr;
    QLineEdit* Edit3a = nullptr;
    QLabel* Panel10 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QRadioButton* RadioText = nullptr;     // "文字色"
    QRadioButton* RadioBack = nullptr;     // "背景色"
    QLabel* Panel11 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* BtnColor = nullptr;
    QAction* V91 = nullptr;
    QAction* Help1 = nullptr;
    QAction* Exit1 = nullptr;

public slots:
    void Button1Click();
    void BtnColorClick();
    void RadioGroup1Click();

private:
    void ScrollBarChange(int component, int position);
    void showSample();

    EditorPort& m_editor;
    QScrollBar* m_bars[3] = {};
    QLineEdit* m_edits[3] = {};
    QLabel* m_swatches[3] = {};
    int m_components[3] = {0, 0, 0};
    QColor m_stored[2] = {QColor(255, 255, 255), QColor(0, 0, 0)};
    Mode m_mode = BackgroundColor;
};
