#pragma once
// The Edit, View and Settings menus: undo and the clipboard commands, line
// selection, <BR>/<HR>, date and time insertion, the search bar, the bars'
// visibility, word wrap and input assistance.

#include "app/settingsclient.h"

#include <QObject>
#include <QString>

class QDateTime;
class QLineEdit;
class TFmMain;

// The five date/time captions for a moment, in menu order:
// 2026/12/6, 2026年12月6日, 2026年12月6日（日）, 21:5:3JST, 21時5分3秒.
QStringList dateTimeCaptions(const QDateTime& t);

class EditCommands : public QObject, public SettingsClient {
    Q_OBJECT
public:
    explicit EditCommands(TFmMain& main);

    // [Key] Input and WordWrap, [Tool] the four bars.
    void load(const Settings& s) override;
    void store(Settings& s) const override;

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
    struct Bar;
    void setBar(const Bar& bar, bool shown);
    static const Bar kBars[4];
    TFmMain& m;
    QLineEdit* m_searchEdit = nullptr;
};
