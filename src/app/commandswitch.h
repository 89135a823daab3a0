#pragma once
// The switch of the document-dependent commands: every control in the list
// is enabled when the first document opens and disabled after the last one
// closes.  Windows other than the main window add their controls as they are
// made.

#include <QAction>
#include <QPointer>
#include <QWidget>
#include <vector>

class CommandSwitch {
public:
    void add(QAction* action) { m_actions.emplace_back(action); if (action) action->setEnabled(m_on); }
    void add(QWidget* widget) { m_widgets.emplace_back(widget); if (widget) widget->setEnabled(m_on); }
    void setEnabled(bool on)
    {
        m_on = on;
        for (auto& a : m_actions)
            if (a) a->setEnabled(on);
        for (auto& w : m_widgets)
            if (w) w->setEnabled(on);
    }
    bool isOn() const { return m_on; }
    bool contains(const QObject* o) const
    {
        for (auto& a : m_actions) if (a == o) return true;
        for (auto& w : m_widgets) if (w == o) return true;
        return false;
    }

private:
    bool m_on = false;
    std::vector<QPointer<QAction>> m_actions;
    std::vector<QPointer<QWidget>> m_widgets;
};
