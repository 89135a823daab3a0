#pragma once
// "変換結果": the converted table, editable, with "全てｺﾋﾟｰして終了" to copy
// all of it (lines separated by CR LF) to the clipboard and close.

#include <QDialog>

class QPlainTextEdit;
class QToolButton;

class TFmTableResult : public QDialog {
    Q_OBJECT
public:
    explicit TFmTableResult(QWidget* parent = nullptr);

    // Runs each time the window is about to be shown, with the converted
    // table (lines separated by "\n").
    void FormActivate(const QString& text);
    void SpeedButton1Click();

    QPlainTextEdit* TableMemo() const { return m_tableMemo; }
    QToolButton* SpeedButton1() const { return m_speedButton1; }

private:
    QPlainTextEdit* m_tableMemo = nullptr;
    QToolButton* m_speedButton1 = nullptr;
};
