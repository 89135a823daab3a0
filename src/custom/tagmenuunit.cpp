#include "custom/tagmenuunit.h"

#include "app/editorhost.h"
#include "app/settings.h"
#include "custom/tfmtag.h"
#include "platform/prompts.h"

#include <QAction>
#include <QMenu>

TagMenuUnit::TagMenuUnit(EditorHost& host, const TagMenuControls& controls)
    : m_host(host), m_c(controls)
{
    m_slots.fill(kUnregistered);
    const TagMenuControls& c = m_c;
    m_dialog = new TFmTag(host.prompts(), host.mainWindow());

    connect(c.N3, &QAction::triggered, this, [this] { useMenu(true); });
    connect(c.MENU1, &QAction::triggered, this, [this] { useMenu(false); });
    connect(c.ToolMenu1, &QAction::triggered, this, [this] { useMenu(false); });
    connect(c.ToolMenu2, &QAction::triggered, this, [this] { useMenu(true); });
    for (int i = 0; i < kTagSlotCount; ++i) {
        connect(c.MTag[i], &QAction::triggered, this, [this, i] {
            if (m_host.hasDocument())
                m_host.InsertTag(m_slots[size_t(i)]);
        });
    }
    connect(c.MTagMenu1, &QAction::triggered, this, &TagMenuUnit::MTagMenu1Click);
    connect(c.MTagMenu2, &QAction::triggered, this, &TagMenuUnit::MTagMenu1Click);

    for (QAction* a : {c.N3, c.MENU1, c.ToolMenu1, c.ToolMenu2, c.MTagMenu1, c.MTagMenu2})
        a->setEnabled(true);
    for (QAction* a : c.MTag)
        a->setEnabled(true);
    useMenu(false);
    showSlots();
}

TagMenuUnit::~TagMenuUnit() = default;

void TagMenuUnit::useMenu(bool second)
{
    const TagMenuControls& c = m_c;
    m_host.setActiveEditMenu(second ? c.EditMenu2 : c.EditMenu1);
    // The two tool buttons are one exclusive group: checking one releases
    // the other.
    (second ? c.ToolMenu2 : c.ToolMenu1)->setChecked(true);
}

void TagMenuUnit::showSlots()
{
    const TagMenuControls& c = m_c;
    for (int i = 0; i < kTagSlotCount; ++i) {
        const QString& tag = m_slots[size_t(i)];
        // A tag's '&' is text, not a menu accelerator.
        QString caption = tag;
        caption.replace(QLatin1Char('&'), QLatin1String("&&"));
        c.MTag[i]->setText(caption);
        c.MTag[i]->setVisible(tag != kUnregistered);
    }
}

void TagMenuUnit::load(const Settings& s)
{
    for (int i = 0; i < kTagSlotCount; ++i)
        if (!s.mtag[size_t(i)].isEmpty())
            m_slots[size_t(i)] = s.mtag[size_t(i)];
    showSlots();
}

void TagMenuUnit::store(Settings& s) const
{
    for (int i = 0; i < kTagSlotCount; ++i)
        s.mtag[size_t(i)] = m_slots[size_t(i)];
}

void TagMenuUnit::MTagMenu1Click()
{
    if (!m_dialog)
        return;
    QWidget* main = m_host.mainWindow();
    m_dialog->move(main->pos() + QPoint(230, 70));
    m_dialog->transfer = m_slots;
    m_dialog->FormActivate();
    m_host.prompts().execDialog(*m_dialog);
    if (!m_dialog->confirmed)
        return;
    m_slots = m_dialog->transfer;
    showSlots();
    m_host.SaveSettings();
    m_dialog->confirmed = false;
}
