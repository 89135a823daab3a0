#include "builders/builderunit.h"

#include "platform/product.h"
#include "platform/prompts.h"
#include "platform/textpanel.h"
#include "platform/widgetnames.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QToolButton>

BuilderUnit::BuilderUnit(EditorHost& host) : m_host(host) {}

BuilderUnit::~BuilderUnit() = default;

ToolWindow* BuilderUnit::launcher() const
{
    return m_launcher;
}

void BuilderUnit::install(QWidget& window, BuilderLaunchers launchers,
                          std::function<void()> beforeLaunch)
{
    m_window = &window;
    m_launcher = new ToolWindow(window, *m_host.mainWindow(), kBuilderWindowOffset,
                                {launchers.menuItem, launchers.toolButton});
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

TFmTagBuilder::TFmTagBuilder(Prompts& prompts, EditorPort& editor, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_prompts(prompts), m_editor(editor)
{
}

TFmTagBuilder::~TFmTagBuilder() = default;

QToolButton* TFmTagBuilder::commandButton(const char* name, const QString& caption, const QIcon& icon,
                                          int minimumWidth)
{
    auto* b = named(new QToolButton(this), QLatin1String(name), caption);
    b->setText(caption);
    b->setIcon(icon);
    b->setIconSize(QSize(16, 16));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setMinimumWidth(minimumWidth);
    return b;
}

void TFmTagBuilder::copyTag()
{
    QApplication::clipboard()->setText(m_panel->text());
}

void TFmTagBuilder::insertTag()
{
    m_editor.InsertAtCaret(m_panel->text());
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
