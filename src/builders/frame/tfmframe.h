#pragma once
// "ﾌﾚｰﾑ作成": the frame dialog.  Four picture buttons, one per layout; a
// choice puts the whole frame-set page on the clipboard and closes with the
// outcome 1.  Closing by the title bar leaves the outcome 0.

#include <QDialog>
#include <QStringList>


class TFmFrame : public QDialog {
    Q_OBJECT
public:
    explicit TFmFrame(QWidget* parent = nullptr);

    int outcome() const { return m_outcome; }
    // The page assembled so far, line by line.
    const QStringList& TempMemo() const { return m_lines; }

    // Runs each time the dialog is about to be shown: outcome 0, page head.
    void FormActivate();

    void Frame1Click() { chooseLayout(1); }
    void Frame2Click() { chooseLayout(2); }
    void Frame3Click() { chooseLayout(3); }
    void Frame4Click() { chooseLayout(4); }

private:
    void chooseLayout(int layout);
    void Tagpaste();

    int m_outcome = 0;
    QStringList m_lines;
};
