#include "platform/commandheader.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {

// One section, as a button.
class SectionAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    SectionAccessible(CommandHeader* header, int index) : m_header(header), m_index(index) {}

    bool isValid() const override { return m_header && m_index < m_header->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override
    {
        return m_header ? m_header->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override
    {
        return m_header ? QAccessible::queryAccessibleInterface(m_header.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && m_header)
            return m_header->sectionCaption(m_index);
        return QString();
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override
    {
        if (!m_header)
            return QRect();
        const QRect r = m_header->sectionRect(m_index);
        return QRect(m_header->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::PushButton; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!m_header)
            return s;
        s.focusable = true;
        s.focused = m_header->hasFocus() && m_header->currentSection() == m_index;
        s.disabled = !m_header->isEnabled();
        s.invisible = !m_header->isVisible() || m_header->isSectionHidden(m_index);
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    void doAction(const QString& name) override
    {
        if (!m_header || !m_header->isEnabled())
            return;
        if (name == pressAction()) {
            m_header->runSection(m_index);
        } else if (name == setFocusAction()) {
            m_header->setCurrentSection(m_index);
            m_header->setFocus(Qt::OtherFocusReason);
        }
    }
    QStringList keyBindingsForAction(const QString& name) const override
    {
        return name == pressAction() ? QStringList{QStringLiteral("Space")} : QStringList();
    }

private:
    QPointer<CommandHeader> m_header;
    int m_index;
};

// The header as a tool bar of those buttons.
class CommandHeaderAccessible final : public QAccessibleWidget {
public:
    explicit CommandHeaderAccessible(CommandHeader* header) : QAccessibleWidget(header, QAccessible::ToolBar) {}
    ~CommandHeaderAccessible() override
    {
        for (QAccessible::Id id : std::as_const(m_children))
            QAccessible::deleteAccessibleInterface(id);
    }

    CommandHeader* header() const { return static_cast<CommandHeader*>(widget()); }

    int childCount() const override { return header()->count(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= header()->count())
            return nullptr;
        auto it = m_children.constFind(index);
        if (it != m_children.constEnd())
            return QAccessible::accessibleInterface(*it);
        auto* section = new SectionAccessible(header(), index);
        m_children.insert(index, QAccessible::registerAccessibleInterface(section));
        return section;
    }
    int indexOfChild(const QAccessibleInterface* c) const override
    {
        for (auto it = m_children.constBegin(); it != m_children.constEnd(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == c)
                return it.key();
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint p = header()->viewport()->mapFromGlobal(QPoint(x, y));
        const int i = header()->logicalIndexAt(p);
        return i >= 0 ? child(i) : nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        return header()->hasFocus() ? child(header()->currentSection()) : nullptr;
    }

private:
    mutable QHash<int, QAccessible::Id> m_children;
};

QAccessibleInterface* commandHeaderInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("CommandHeader"))
        if (auto* header = qobject_cast<CommandHeader*>(object))
            return new CommandHeaderAccessible(header);
    return nullptr;
}

} // namespace

CommandHeader::CommandHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(commandHeaderInterface);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    // Tab reaches the header; a mouse click leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QHeaderView::sectionPressed, this, [this](int i) { m_current = i; });
}

void CommandHeader::setCurrentSection(int logicalIndex)
{
    if (logicalIndex < 0 || logicalIndex >= count() || logicalIndex == m_current)
        return;
    m_current = logicalIndex;
    viewport()->update();
    announceCurrent();
}

QString CommandHeader::sectionCaption(int logicalIndex) const
{
    return model() ? model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString()
                   : QString();
}

QRect CommandHeader::sectionRect(int logicalIndex) const
{
    const QPoint origin = viewport()->mapTo(this, QPoint(0, 0));
    return QRect(origin.x() + sectionViewportPosition(logicalIndex), origin.y(),
                 sectionSize(logicalIndex), viewport()->height());
}

void CommandHeader::runSection(int logicalIndex)
{
    if (logicalIndex < 0 || logicalIndex >= count() || !isEnabled())
        return;
    setCurrentSection(logicalIndex);
    emit sectionActivated(logicalIndex);
}

void CommandHeader::announceCurrent()
{
    if (!hasFocus())
        return;
    QAccessibleInterface* me = QAccessible::queryAccessibleInterface(this);
    if (QAccessibleInterface* section = me ? me->child(m_current) : nullptr) {
        QAccessibleEvent e(section, QAccessible::Focus);
        QAccessible::updateAccessibility(&e);
    }
}

void CommandHeader::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier || count() == 0) {
        QHeaderView::keyPressEvent(event);
        return;
    }
    // Sections in the order they are shown.
    const int visual = visualIndex(m_current);
    switch (event->key()) {
    case Qt::Key_Left:
        setCurrentSection(logicalIndex(qMax(0, visual - 1)));
        break;
    case Qt::Key_Right:
        setCurrentSection(logicalIndex(qMin(count() - 1, visual + 1)));
        break;
    case Qt::Key_Home:
        setCurrentSection(logicalIndex(0));
        break;
    case Qt::Key_End:
        setCurrentSection(logicalIndex(count() - 1));
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        runSection(m_current);
        break;
    default:
        QHeaderView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CommandHeader::focusInEvent(QFocusEvent* event)
{
    QHeaderView::focusInEvent(event);
    viewport()->update();
    announceCurrent();
}

void CommandHeader::focusOutEvent(QFocusEvent* event)
{
    QHeaderView::focusOutEvent(event);
    viewport()->update();
}

void CommandHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    QHeaderView::paintSection(painter, rect, logicalIndex);
    if (!hasFocus() || logicalIndex != m_current)
        return;
    QStyleOptionFocusRect o;
    o.initFrom(this);
    o.rect = rect.adjusted(2, 2, -2, -2);
    o.backgroundColor = palette().color(QPalette::Button);
    painter->save();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &o, painter, this);
    painter->restore();
}
