#pragma once
// Gives a control its name (for tests and diagnostics) and the name screen
// readers announce: its caption, else its name.
#include <QString>

template <class W>
W* named(W* w, const QString& name, const QString& caption = {})
{
    w->setObjectName(name);
    w->setAccessibleName(caption.isEmpty() ? name : caption);
    return w;
}
