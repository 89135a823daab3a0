#include "platform/textpanel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QToolTip>

namespace {

// The panel as a screen reader sees it: its caption and whole text, and, for
// a command panel, a button that opens a menu.
class TextPanelAccessible final : public QAccessibleWidget {
public:
    explicit TextPanelAccessible(TextPanel* panel) : QAccessibleWidget(panel, QAccessible::StaticText) {}

    TextPanel* panel() const { return static_cast<TextPanel*>(widget()); }

    QAccessible::Role role() const override
    {
        return panel()->isCommand() ? QAccessible::ButtonMenu : QAccessible::StaticText;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.hasPopup = panel()->isCommand();
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && panel()->accessibleName().isEmpty())
            return panel()->spokenText();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (panel()->isCommand() && panel()->isEnabled())
            names.prepend(showMenuAction());
        return names;
    }

    void doAction(const QString& name) override
    {
        if (panel()->isCommand() && panel()->isEnabled()
            && (name == showMenuAction() || name == pressAction()))
            panel()->activate();
        else
            QAccessibleWidget::doAction(name);
    }

    QStringList keyBindingsForAction(const QString& name) const override
    {
        if (name == showMenuAction() && panel()->isCommand())
            return {QStringLiteral("Space")};
        return QAccessibleWidget::keyBindingsForAction(name);
    }
};

QAccessibleInterface* textPanelInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("TextPanel"))
        if (auto* panel = qobject_cast<TextPanel*>(object))
            return new TextPanelAccessible(panel);
    return nullptr;
}

void announceName(QWidget* w)
{
    QAccessibleEvent e(w, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&e);
}

} // namespace

TextPanel::TextPanel(const QString& objectName, QWidget* parent, const QString& text)
    : QLabel(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(textPanelInterface);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setObjectName(objectName);
    setTextFormat(Qt::PlainText);   // tags and paths, not markup
    // The accessible name stays unset: QLabel then announces every new text,
    // and the interface above reads it with the caption.
    QLabel::setText(text);
}

void TextPanel::setCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    announceName(this);
}

QString TextPanel::spokenText() const
{
    const QString shown = text().trimmed();
    if (m_caption.isEmpty())
        return shown;
    return shown.isEmpty() ? m_caption : m_caption + QLatin1Char(' ') + shown;
}

void TextPanel::setElideMode(Qt::TextElideMode mode)
{
    m_elide = mode;
    if (mode != Qt::ElideNone)
        setTextInteractionFlags(Qt::NoTextInteraction);   // what is painted is not the whole text
    updateGeometry();
    update();
}

void TextPanel::setCommand(bool command)
{
    m_command = command;
    setFocusPolicy(command ? Qt::StrongFocus : Qt::NoFocus);
}

void TextPanel::activate()
{
    if (m_command && isEnabled())
        emit activated();
}

QRect TextPanel::textRect() const
{
    QRect r = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    int ind = indent();
    if (ind < 0 && frameWidth() > 0)
        ind = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    if (ind > 0) {
        const Qt::Alignment a = QStyle::visualAlignment(layoutDirection(), alignment());
        if (a & Qt::AlignLeft)
            r.setLeft(r.left() + ind);
        else if (a & Qt::AlignRight)
            r.setRight(r.right() - ind);
    }
    return r;
}

QString TextPanel::shownText() const
{
    if (m_elide == Qt::ElideNone)
        return text();
    return fontMetrics().elidedText(text(), m_elide, textRect().width());
}

QSize TextPanel::minimumSizeHint() const
{
    QSize hint = QLabel::minimumSizeHint();
    if (m_elide != Qt::ElideNone) {
        // Room for a few characters and the ellipsis; the rest is cut.
        const int chrome = width() - textRect().width();
        hint.setWidth(chrome + fontMetrics().horizontalAdvance(QStringLiteral("<A…>")));
    }
    return hint;
}

void TextPanel::paintEvent(QPaintEvent* event)
{
    const QString shown = shownText();
    if (shown == text()) {
        QLabel::paintEvent(event);
    } else {
        QPainter p(this);
        drawFrame(&p);
        style()->drawItemText(&p, textRect(), QStyle::visualAlignment(layoutDirection(), alignment()),
                              palette(), isEnabled(), shown, foregroundRole());
    }
    if (m_command && hasFocus()) {
        QPainter p(this);
        QStyleOptionFocusRect o;
        o.initFrom(this);
        o.rect = contentsRect().adjusted(1, 1, -1, -1);
        o.backgroundColor = palette().color(backgroundRole());
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &o, &p, this);
    }
}

bool TextPanel::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (isElided())
            QToolTip::showText(help->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    if (event->type() == QEvent::ContextMenu && m_command
        && static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        activate();
        return true;
    }
    return QLabel::event(event);
}

void TextPanel::keyPressEvent(QKeyEvent* event)
{
    if (m_command) {
        const int key = event->key();
        const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
        const bool plain = mods == Qt::NoModifier;
        if ((plain && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter))
            || (mods == Qt::ShiftModifier && key == Qt::Key_F10)
            || (mods == Qt::AltModifier && key == Qt::Key_Down)) {
            activate();
            event->accept();
            return;
        }
    }
    QLabel::keyPressEvent(event);
}

void TextPanel::focusInEvent(QFocusEvent* event)
{
    QLabel::focusInEvent(event);
    update();
}

void TextPanel::focusOutEvent(QFocusEvent* event)
{
    QLabel::focusOutEvent(event);
    update();
}

TextPanel* sunkenPanel(const QString& objectName, QWidget* parent, const QString& text)
{
    auto* panel = new TextPanel(objectName, parent, text);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    panel->setAutoFillBackground(true);
    return panel;
}
