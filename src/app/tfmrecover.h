#pragma once
// "文書の復元": lists the documents a run that ended without closing them
// left behind.  Each is ticked to be restored; unticked ones are discarded.
// A file that cannot be read is listed as such, never ticked, and goes with
// either button.
// "復元" (the default button, Enter) restores the ticked ones; "すべて破棄"
// discards them all.  Closing it otherwise keeps every file for the next
// start: nothing is lost to a stray Escape.

#include <QDialog>
#include <vector>

class QListWidget;
class QPushButton;
struct RecoveredDocument;

class TFmRecover : public QDialog {
    Q_OBJECT
public:
    TFmRecover(const std::vector<RecoveredDocument>& documents, QWidget* parent = nullptr);

    enum class Outcome { Keep, Restore, DiscardAll };
    Outcome outcome() const { return m_outcome; }
    // Ticked or not, per document.
    std::vector<bool> ticked() const;

    QListWidget* DocList = nullptr;
    QPushButton* BtnRestore = nullptr;
    QPushButton* BtnDiscard = nullptr;

private:
    Outcome m_outcome = Outcome::Keep;
};
