#pragma once
// The Edit, View and Settings menus: undo and the clipboard commands, line
// selection, <BR>/<HR>, date and time insertion, the search bar, the bars'
// visibility, word wrap and input assistance.

#include <QObject>
#include <QString>

class QDateTime;
class QLineEdit;
class TFmMain;

// The five date/time captions for a moment, in menu order:
// 2026/12/6, 2026年12月6日, 2026年12月6日（日）, 21:5:3JST, 21時5分3秒.
QStringList dateTimeCaptions(const QDateTime& t);

class EditCommands : public QObject {
    Q_OBJECT
public:
    explicit EditCommands(TFmMain& main);

    // The text position after the last match; one for the whole window.
    qsizetype SearchPos = 0;

    void MEditionClick();
    void MOneClick();
    void MDeleteClick();
    void FindNext();
    void BtnSearchClick();
    void MFindFocusClick();
    void MSuperClick();
    void MWordWrapClick(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setBar(const char* item, const char* bar, bool shown);
    TFmMain& m;
    QLineEdit* m_searchEdit = nullptr;
};
