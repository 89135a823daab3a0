#pragma once
// The small edit dialog of the tag tree: one editable combo box whose list
// holds the texts confirmed so far in this run.

#include <QDialog>
#include <QPoint>
#include <QString>
#include <optional>

class Prompts;
class QComboBox;
class QPushButton;
class QWidget;

class TFmEdit : public QDialog {
    Q_OBJECT
public:
    explicit TFmEdit(QWidget* parent = nullptr);

    // Places the dialog, shows `text` and runs it modally through `prompts`.
    // The confirmed text, or nullopt when cancelled or closed.
    std::optional<QString> ask(Prompts& prompts, const QString& text, QPoint topLeft);

    QComboBox* Edit = nullptr;
    QPushButton* BOK = nullptr;
    QPushButton* BitBtn1 = nullptr;

    QStringList history() const;
    bool confirmed() const { return m_confirmed; }
    QString resultText() const { return m_result; }

public slots:
    void FormActivate(const QString& text);
    void BOKClick();
    void BitBtn1Click();

private:
    bool m_confirmed = false;
    QString m_result;
};
