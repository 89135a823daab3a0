#include "builders/newpage/pageunit.h"

#include "app/editorhost.h"
#include "builders/frame/tfmframe.h"
#include "builders/newpage/tfmnew.h"
#include "platform/prompts.h"

#include <QAction>
#include <QWidget>

namespace {

// Where the page dialogs show, from the main window's position.
constexpr QPoint kPageDialogOffset(30, 70);

} // namespace

PageBuilderUnit::PageBuilderUnit(EditorHost& host, const PageCommands& commands) : m_host(host)
{
    for (QAction* a : commands.newPage) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, &PageBuilderUnit::MNewClick);
    }
    for (QAction* a : commands.frameSet) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, &PageBuilderUnit::MFrameClick);
    }
}

PageBuilderUnit::~PageBuilderUnit() = default;

TFmNew& PageBuilderUnit::fmNew()
{
    if (!m_fmNew)
        m_fmNew = new TFmNew(m_host.prompts(), m_host.mainWindow());
    return *m_fmNew;
}

TFmFrame& PageBuilderUnit::fmFrame()
{
    if (!m_fmFrame)
        m_fmFrame = new TFmFrame(m_host.mainWindow());
    return *m_fmFrame;
}

void PageBuilderUnit::MNewClick()
{
    TFmNew& dlg = fmNew();
    dlg.setCharset(m_host.newDocumentCharset());   // the page says what it will be saved in
    dlg.FormActivate();
    runDialog(dlg);
    if (dlg.outcome() == TFmNew::PageOnClipboard)
        m_host.newDocument(true);
    else if (dlg.outcome() == TFmNew::BlankPage)
        m_host.newDocument(false);
}

void PageBuilderUnit::MFrameClick()
{
    TFmFrame& dlg = fmFrame();
    dlg.FormActivate();
    runDialog(dlg);
    if (dlg.outcome() == 1)
        m_host.newDocument(true);
}

void PageBuilderUnit::runDialog(QDialog& dialog)
{
    dialog.move(m_host.mainWindow()->pos() + kPageDialogOffset);
    m_host.prompts().execDialog(dialog);
}
