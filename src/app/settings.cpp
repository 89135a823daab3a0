#include "app/settings.h"

#include "charset/sjis.h"
#include "app/namedcolors.h"

#include <QFile>
#include <QSaveFile>

namespace {

// Plain decimal with an optional sign; anything else is absent (-1).
int toInt(const QString& v)
{
    bool ok = false;
    const QString t = v.trimmed();
    if (t.isEmpty())
        return -1;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (!(c.isDigit() && c.unicode() < 0x80) && !(i == 0 && (c == u'-' || c == u'+')))
            return -1;
    }
    const int n = t.toInt(&ok);
    return ok ? n : -1;
}

// Key lookup inside one section: (section, key) -> where the value goes.
struct Slot {
    const char* section;
    const char* key;
    QString* str;
    int* num;
};

std::vector<Slot> slotsOf(Settings& s)
{
    static const char* const digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8",
                                         "9", "10", "11", "12", "13", "14", "15", "16"};
    std::vector<Slot> v;
    v.push_back({"Font", "Type", &s.fontType, nullptr});
    v.push_back({"Font", "Size", nullptr, &s.fontSize});
    v.push_back({"Font", "Color", nullptr, &s.color});
    v.push_back({"Font", "BkColor", nullptr, &s.bkColor});
    v.push_back({"Key", "Input", nullptr, &s.input});
    v.push_back({"Key", "WordWrap", nullptr, &s.wordWrap});
    v.push_back({"Tool", "Bar", nullptr, &s.bar});
    v.push_back({"Tool", "Build", nullptr, &s.build});
    v.push_back({"Tool", "Search", nullptr, &s.search});
    v.push_back({"Tool", "Function", nullptr, &s.function});
    for (int i = 0; i < 5; ++i)
        v.push_back({"MR", digits[i + 1], &s.mr[size_t(i)], nullptr});
    for (int i = 0; i < 10; ++i)
        v.push_back({"MTag", digits[i], &s.mtag[size_t(i)], nullptr});
    v.push_back({"File", "Drive", nullptr, &s.drive});
    v.push_back({"File", "Directory", &s.directory, nullptr});
    for (int i = 0; i < 17; ++i)
        v.push_back({"MKey", digits[i], &s.mkey[size_t(i)], nullptr});
    v.push_back({"MTree", "Tree", &s.tree, nullptr});
    v.push_back({"Size", "X", nullptr, &s.sizeX});
    v.push_back({"Size", "Y", nullptr, &s.sizeY});
    v.push_back({"View", "Coloring", nullptr, &s.coloring});
    return v;
}

bool oneLine(const QString& v)
{
    for (QChar c : v)
        if (c == u'\r' || c == u'\n' || c == QChar(0) || c == QChar(0x2028) || c == QChar(0x2029))
            return false;
    return true;
}

} // namespace

Settings parseSettings(QByteArrayView bytes)
{
    Settings s;
    std::vector<Slot> entries = slotsOf(s);
    std::vector<bool> seen(entries.size(), false);
    QString section;
    bool sectionKnown = false;

    qsizetype pos = 0;
    const qsizetype n = bytes.size();
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        const QByteArrayView raw = bytes.sliced(pos, end - pos);
        pos = end;
        if (pos < n && bytes[pos] == '\r')
            ++pos;
        if (pos < n && bytes[pos] == '\n')
            ++pos;

        if (raw.size() > kMaxSettingsLineBytes || raw.contains('\0'))
            continue;
        const QString line = sjis::decode(raw).trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            if (close < 0) {
                sectionKnown = false;
                continue;
            }
            section = line.mid(1, close - 1).trimmed();
            sectionKnown = true;
            continue;
        }
        if (!sectionKnown)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        for (size_t i = 0; i < entries.size(); ++i) {
            if (seen[i] || section.compare(QLatin1String(entries[i].section), Qt::CaseInsensitive) != 0
                || key.compare(QLatin1String(entries[i].key), Qt::CaseInsensitive) != 0)
                continue;
            seen[i] = true;
            if (entries[i].str)
                *entries[i].str = value;
            else
                *entries[i].num = toInt(value);
            break;
        }
    }
    return s;
}

QByteArray formatSettings(const Settings& in, int* dropped)
{
    Settings s = in;
    int lost = 0;
    QByteArray out;
    QString section;
    for (const Slot& slot : slotsOf(s)) {
        if (section != QLatin1String(slot.section)) {
            if (!section.isEmpty())
                out += "\r\n";
            section = QLatin1String(slot.section);
            out += '[';
            out += slot.section;
            out += "]\r\n";
        }
        out += slot.key;
        out += '=';
        if (slot.num) {
            out += QByteArray::number(*slot.num);
        } else if (oneLine(*slot.str)) {
            if (auto b = sjis::encode(*slot.str))
                out += *b;
            else
                ++lost;
        } else {
            ++lost;
        }
        out += "\r\n";
    }
    if (dropped)
        *dropped = lost;
    return out;
}

QColor settingsColor(int index)
{
    return namedColor(index);
}

int settingsColorIndex(const QColor& c)
{
    return namedColorIndex(c);
}

Settings loadSettingsFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    // A settings file is small; anything past a few megabytes is not ours.
    const QByteArray bytes = f.read(8 * 1024 * 1024);
    return parseSettings(bytes);
}

bool saveSettingsFile(const QString& path, const Settings& s, QString* error)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    const QByteArray bytes = formatSettings(s);
    if (f.write(bytes) != bytes.size() || !f.commit()) {
        if (error)
            *error = f.errorString();
        f.cancelWriting();
        return false;
    }
    return true;
}
