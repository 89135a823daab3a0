#include "builders/builderunit.h"

#include "platform/product.h"
#include "platform/prompts.h"
#include "platform/textpanel.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>

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

TFmTagBuilder::TFmTagBuilder(Prompts& prompts, BuilderSink& sink, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_prompts(prompts), m_sink(sink)
{
}

TFmTagBuilder::~TFmTagBuilder() = default;

void TFmTagBuilder::copyTag()
{
    QApplication::clipboard()->setText(m_panel->text());
}

void TFmTagBuilder::insertTag()
{
    m_sink.insertAtCaret(m_panel->text());
}

void TFmTagBuilder::modal(const std::function<void()>& step)
{
    m_activation.modal(this, step);
}

void TFmTagBuilder::showError(const QString& text)
{
    modal([&] { m_prompts.message(this, kProduct, text, Prompts::Icon::Error, Prompts::Buttons::Ok); });
}

void TFmTagBuilder::execDialog(QDialog& dialog)
{
    m_prompts.execDialog(dialog);
}

void TFmTagBuilder::changeEvent(QEvent* event)
{
    if (m_activation.becameActive(this, event))
        FormActivate();
    QWidget::changeEvent(event);
}
