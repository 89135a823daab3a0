#include "builders/builderunit.h"

#include "app/toolwindow.h"

#include <QApplication>
#include <QWidget>

BuilderUnit::BuilderUnit(EditorHost& host) : m_host(host), m_sink(host) {}

BuilderUnit::~BuilderUnit() = default;

ToolWindow* BuilderUnit::launcher() const
{
    return m_launcher;
}

void BuilderUnit::install(QWidget& window, std::vector<QAction*> launchers,
                          std::function<void()> beforeLaunch)
{
    m_window = &window;
    m_launcher = new ToolWindow(window, *m_host.mainWindow(), kBuilderWindowOffset, std::move(launchers));
    m_launcher->setBeforeLaunch(std::move(beforeLaunch));
}

void BuilderUnit::handOver(const std::function<void()>& give, const std::function<void()>& read)
{
    if (!m_window || !m_launcher)
        return;
    const bool active = QApplication::activeWindow() == m_window;
    give();
    m_launcher->launch();
    if (active)
        read();
}
