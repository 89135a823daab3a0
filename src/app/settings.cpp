#include "app/settings.h"

#include "charset/sjis.h"
#include "app/namedcolors.h"

#include <QFile>
#include <QSaveFile>

#include <optional>
#include <vector>

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
    v.push_back({"View", "Preview", nullptr, &s.preview});
    v.push_back({"Charset", "New", &s.newEncoding, nullptr});
    return v;
}

bool oneLine(const QString& v)
{
    for (QChar c : v)
        if (c == u'\r' || c == u'\n' || c == QChar(0) || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return false;
    return true;
}

// The bytes of a text value, or nothing when it cannot stand on one INI line
// or Shift_JIS cannot hold it.
std::optional<QByteArray> storableBytes(const QString& v)
{
    if (!oneLine(v))
        return std::nullopt;
    return sjis::encode(v);
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
        const QString line = sjis::decode(raw);
        // Blanks around a section or a key name mean nothing; a value is
        // kept exactly as written, its blanks at either end included.
        const QStringView head = QStringView(line).trimmed();
        if (head.isEmpty() || head.startsWith(u';'))
            continue;
        if (head.startsWith(u'[')) {
            const qsizetype close = head.indexOf(u']');
            if (close < 0) {
                sectionKnown = false;
                continue;
            }
            section = head.mid(1, close - 1).trimmed().toString();
            sectionKnown = true;
            continue;
        }
        if (!sectionKnown)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        if (key.isEmpty())
            continue;
        const QString value = line.mid(eq + 1);
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

QByteArray formatSettings(const Settings& in, const Settings& previous, QStringList* kept)
{
    Settings s = in;
    Settings old = previous;
    const std::vector<Slot> now = slotsOf(s);
    const std::vector<Slot> before = slotsOf(old);
    QByteArray out;
    QString section;
    for (size_t i = 0; i < now.size(); ++i) {
        const Slot& slot = now[i];
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
        } else if (std::optional<QByteArray> b = storableBytes(*slot.str)) {
            out += *b;
        } else {
            // Never an empty value over a good one: the key keeps what the
            // file held.
            if (std::optional<QByteArray> b = storableBytes(*before[i].str))
                out += *b;
            if (kept)
                *kept << QStringLiteral("%1/%2").arg(QLatin1String(slot.section), QLatin1String(slot.key));
        }
        out += "\r\n";
    }
    return out;
}

QString settingsTextProblem(const QString& text)
{
    sjis::EncodeError e;
    if (!oneLine(text))
        return QStringLiteral("改行を含む文字列は設定ファイルに保存できません。");
    if (!sjis::encode(text, &e))
        return sjis::describe(e);
    return {};
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

bool saveSettingsFile(const QString& path, const Settings& s, QString* error, QStringList* kept)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    // What the file holds now stands in for any value that cannot be written.
    const QByteArray bytes = formatSettings(s, loadSettingsFile(path), kept);
    if (f.write(bytes) != bytes.size() || !f.commit()) {
        if (error)
            *error = f.errorString();
        f.cancelWriting();
        return false;
    }
    return true;
}
