#include "custom/fontunit.h"

#include "app/editorhost.h"
#include "custom/tfmfont.h"
#include "platform/prompts.h"

#include <QAction>
#include <QWidget>

FontUnit::FontUnit(EditorHost& host, QAction* mFont) : m_host(host)
{
    m_dialog = new TFmFont(host.prompts(), host.mainWindow());
    connect(mFont, &QAction::triggered, this, &FontUnit::MFontClick);
    mFont->setEnabled(true);
}

FontUnit::~FontUnit() = default;

void FontUnit::MFontClick()
{
    if (!m_dialog)
        return;
    // With a document open the dialog starts from the current editor's own
    // font and colours, and those become the setting even when cancelled.
    const std::optional<EditorLook> current = m_host.currentEditorLook();
    EditorLook setting = current ? *current : m_host.editorLook();

    m_dialog->move(m_host.mainWindow()->pos() + QPoint(140, 50));
    m_dialog->FormActivate(setting);
    m_host.prompts().execDialog(*m_dialog);
    if (m_dialog->confirmed())
        setting = m_dialog->look();

    // Without a document the setting waits for the next editor and the
    // next save of the settings.
    m_host.setEditorLook(setting);
    if (current)
        m_host.SaveSettings();
}
