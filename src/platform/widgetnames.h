#pragma once
// Gives a control its name (for tests and diagnostics) and, when it has a
// caption, the name screen readers announce.  A control without a caption
// keeps no accessible name of its own: Qt then reads what it shows (a
// label's text) or its label, never the internal name.
#include <QString>

// A caption as it is spoken: the mnemonic marks left out ("開く(&O)" →
// "開く(O)", "&&" → "&").
inline QString spokenCaption(const QString& caption)
{
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        out += caption[i];
    }
    return out;
}

template <class W>
W* named(W* w, const QString& name, const QString& caption = {})
{
    w->setObjectName(name);
    if (!caption.isEmpty())
        w->setAccessibleName(spokenCaption(caption));
    return w;
}
