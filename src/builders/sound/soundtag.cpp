#include "builders/sound/soundtag.h"

#include "builders/entryvalue.h"

#include <QFileInfo>

QString SoundTag::loopEntry() const
{
    return m_loop == infinite() ? infiniteEntry() : m_loop;
}

std::optional<QString> SoundTag::confirmLoop(const QString& text)
{
    if (text == infiniteEntry()) {
        m_loop = infinite();
        return std::nullopt;
    }
    const std::optional<QString> number = entry::wholeNumber(text);
    if (!number)
        return text;
    m_loop = *number;
    return std::nullopt;
}

QString SoundTag::tag(const QString& soundFile) const
{
    const QString name = soundFile.isEmpty() ? QString() : QFileInfo(soundFile).fileName();
    return QStringLiteral("<BGSOUND SRC=\"") + name + QStringLiteral("\" LOOP=\"") + m_loop
           + QStringLiteral("\">");
}
