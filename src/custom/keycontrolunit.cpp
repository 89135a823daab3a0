#include "custom/keycontrolunit.h"

#include "app/commandswitch.h"
#include "app/editorhost.h"
#include "app/icons.h"
#include "app/settings.h"
#include "custom/tfmkey.h"
#include "platform/prompts.h"

#include <QAction>
#include <QMenu>

KeyControlUnit::KeyControlUnit(EditorHost& host, QMenu* keyMenu, QAction* settingsItem) : m_host(host)
{
    QList<QKeySequence> keys;
    for (int i = 0; i < kKeySlotCount; ++i) {
        m_texts << keySlotDefault(i);
        const char* name = kKeySlots[size_t(i)].item;
        // In the hidden "ｷｰｺﾝﾄﾛｰﾙ" menu; the window carries the shortcut.
        auto* a = m_ct[i] = new QAction(itemIcon(QLatin1String(name)), m_texts[i], keyMenu);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(keySlotShortcut(i));
        a->setEnabled(false);
        keyMenu->addAction(a);
        host.mainWindow()->addAction(a);
        keys << a->shortcut();
        connect(a, &QAction::triggered, this, [this, i] { CTClick(i); });
        host.documentCommands().add(a);
    }
    host.claimEditorKeys(keys);

    m_dialog = new TFmKey(host.prompts(), host.mainWindow());
    connect(settingsItem, &QAction::triggered, this, &KeyControlUnit::N30Click);
    settingsItem->setEnabled(true);
}

KeyControlUnit::~KeyControlUnit() = default;

void KeyControlUnit::setText(int slot, const QString& text)
{
    m_texts[slot] = text;
    // The caption is the text; the menu holding it is never shown.
    m_ct[slot]->setText(text);
}

void KeyControlUnit::CTClick(int slot)
{
    // An emptied slot inserts nothing and leaves the selection alone.
    if (!m_host.hasDocument() || m_texts[slot].isEmpty())
        return;
    m_host.InsertAtCaret(m_texts[slot]);
}

void KeyControlUnit::load(const Settings& s)
{
    for (int i = 0; i < kKeySlotCount; ++i)
        if (!s.mkey[size_t(i)].isEmpty())
            setText(i, s.mkey[size_t(i)]);
}

void KeyControlUnit::store(Settings& s) const
{
    for (int i = 0; i < kKeySlotCount; ++i)
        s.mkey[size_t(i)] = m_texts[i];
}

void KeyControlUnit::N30Click()
{
    if (!m_dialog)
        return;
    m_dialog->setTexts(m_texts);
    m_dialog->FormActivate();
    m_host.prompts().execDialog(*m_dialog);
    if (m_dialog->confirmed()) {
        const QStringList edited = m_dialog->texts();
        for (int i = 0; i < kKeySlotCount; ++i)
            setText(i, edited.value(i));
    }
    // Saved whether confirmed or not.
    m_host.SaveSettings();
}
