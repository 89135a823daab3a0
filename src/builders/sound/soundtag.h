#pragma once
// The sound builder's tag: <BGSOUND SRC="name" LOOP="count">, the count being
// "INFINITE" (shown as "無限回" in the loop dialog) or a whole number.

#include <QString>
#include <optional>

class SoundTag {
public:
    static QString infinite() { return QStringLiteral("INFINITE"); }
    static QString infiniteEntry() { return QStringLiteral("無限回"); }

    const QString& loop() const { return m_loop; }
    // What the loop dialog shows for the stored value.
    QString loopEntry() const;
    // The loop dialog's confirm step: "無限回" stores "INFINITE", a whole
    // number is stored in plain decimal; anything else is returned, refused.
    std::optional<QString> confirmLoop(const QString& entry);

    // The tag for `soundFile` (a full path; only its name goes in).
    QString tag(const QString& soundFile) const;
    // The tag the window shows after closing, whatever the loop value.
    static QString closedTag() { return QStringLiteral("<BGSOUND SRC=\"\" LOOP=\"INFINITE\">"); }

private:
    QString m_loop = infinite();
};
