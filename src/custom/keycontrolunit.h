#pragma once
// Key control: the seventeen Ctrl shortcuts CT1 ... CT18 (no CT9), each
// inserting its text at the caret, ahead of the editor's own bindings; and
// "ｷｰｺﾝﾄﾛｰﾙ設定(&K)" (N30), which edits the texts in TFmKey.  Keeps the
// settings file's [MKey] section.

#include "app/settingsclient.h"
#include "custom/keycontrol.h"
#include "custom/tfmkey.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class EditorHost;
class QAction;
class QMenu;

class KeyControlUnit : public QObject, public SettingsClient {
    Q_OBJECT
public:
    // `keyMenu`: the hidden "ｷｰｺﾝﾄﾛｰﾙ" menu N7 the shortcuts go into;
    // `settingsItem`: N30, which edits their texts.
    KeyControlUnit(EditorHost& host, QMenu* keyMenu, QAction* settingsItem);
    ~KeyControlUnit() override;

    void load(const Settings& s) override;
    void store(Settings& s) const override;

    const QStringList& texts() const { return m_texts; }
    TFmKey* dialog() const { return m_dialog; }

    void N30Click();

private:
    void CTClick(int slot);
    void setText(int slot, const QString& text);

    EditorHost& m_host;
    QStringList m_texts;
    QAction* m_ct[kKeySlotCount] = {};   // CT1 ... CT8, CT10 ... CT18
    QPointer<TFmKey> m_dialog;
};
