#include "app/recentfiles.h"

QString RecentFiles::emptyCaption()
{
    return QStringLiteral("(なし)");
}

bool RecentFiles::contains(const Captions& captions, const QString& path)
{
    for (const QString& c : captions)
        if (c == path)
            return true;
    return false;
}

int RecentFiles::add(Captions& captions, const QString& path)
{
    if (contains(captions, path))
        return 0;
    const int changed = m_slot;
    captions[size_t(changed - 1)] = path;
    m_slot = changed % kCount + 1;
    return changed;
}
