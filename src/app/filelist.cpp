#include "app/filelist.h"

#include <QDirIterator>
#include <algorithm>

namespace filelist {

const std::vector<FilterEntry>& filterEntries()
{
    static const std::vector<FilterEntry> entries = {
        {QStringLiteral("すべてのファイル (*.*)"), QStringLiteral("*.*")},
        {QStringLiteral("HTMLﾌｧｲﾙ(*.htm;*.html)"), QStringLiteral("*.htm;*.html")},
        {QStringLiteral("GIFﾌｧｲﾙ(*.gif)"), QStringLiteral("*.gif")},
        {QStringLiteral("JPEGﾌｧｲﾙ(*.jpg)"), QStringLiteral("*.jpg")},
        {QStringLiteral("BMPﾌｧｲﾙ(*.bmp)"), QStringLiteral("*.bmp")},
        {QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)"), QStringLiteral("*.txt")},
        {QStringLiteral("MIDIｼｰｹﾝｻ(*.mid)"), QStringLiteral("*.mid")},
        {QStringLiteral("WAVEﾌｧｲﾙ(*.wav)"), QStringLiteral("*.wav")},
        // "*jpg" and "*wav" have no dot: they take every name ending so.
        {QStringLiteral("すべてのｻﾎﾟｰﾄﾌｧｲﾙ"), QStringLiteral("*.htm;*.html;*.gif;*jpg;*wav;*.mid;")},
    };
    return entries;
}

namespace {

// Wildcard match of a lower-cased name; iterative, with one backtrack point.
bool wildcard(const QChar* p, const QChar* pEnd, const QChar* s, const QChar* sEnd)
{
    const QChar* star = nullptr;
    const QChar* resume = nullptr;
    while (s != sEnd) {
        if (p != pEnd && (*p == QLatin1Char('?') || *p == *s)) {
            ++p;
            ++s;
        } else if (p != pEnd && *p == QLatin1Char('*')) {
            star = ++p;
            resume = s;
        } else if (star) {
            p = star;
            s = ++resume;
        } else {
            return false;
        }
    }
    while (p != pEnd && *p == QLatin1Char('*'))
        ++p;
    return p == pEnd;
}

} // namespace

NameFilter::NameFilter(const QString& patterns)
{
    for (const QString& piece : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString p = piece.trimmed().toLower();
        if (p.isEmpty())
            continue;
        if (p == QLatin1String("*.*") || p == QLatin1String("*"))
            m_all = true;
        m_patterns.push_back(p);
    }
}

bool NameFilter::matches(const QString& name) const
{
    if (m_all)
        return true;
    const QString lower = name.toLower();
    const QChar* s = lower.constData();
    for (const QString& p : m_patterns)
        if (wildcard(p.constData(), p.constData() + p.size(), s, s + lower.size()))
            return true;
    return false;
}

QStringList matchingFiles(const QString& dir, const NameFilter& filter)
{
    QStringList names;
    QDirIterator it(dir, QDir::Files);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (filter.matches(name))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

QString lowerExtension(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : fileName.mid(dot).toLower();
}

QString tagFor(const QString& fileName)
{
    const QString ext = lowerExtension(fileName);
    if (ext == QLatin1String(".gif") || ext == QLatin1String(".jpg"))
        return QStringLiteral("<IMG SRC=\"%1\" ALT=\"%1\">").arg(fileName);
    if (ext == QLatin1String(".au") || ext == QLatin1String(".wav") || ext == QLatin1String(".mid"))
        return QStringLiteral("<BGSOUND SRC=\"%1\" LOOP=INFINITE>").arg(fileName);
    return QStringLiteral("<A HREF=\"%1\"></A>").arg(fileName);
}

bool isHtml(const QString& fileName)
{
    const QString ext = lowerExtension(fileName);
    return ext == QLatin1String(".html") || ext == QLatin1String(".htm");
}

OpenAs openAsFor(const QString& fileName)
{
    const QString ext = lowerExtension(fileName);
    if (ext == QLatin1String(".gif") || ext == QLatin1String(".jpg") || ext == QLatin1String(".bmp"))
        return OpenAs::Image;
    if (ext == QLatin1String(".wav") || ext == QLatin1String(".mid"))
        return OpenAs::Sound;
    return OpenAs::Document;
}

QByteArray withCrLfLines(QByteArrayView text)
{
    QByteArray out;
    out.reserve(text.size() + text.size() / 16 + 2);
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        out.append(text.sliced(start, i - start));
        out.append("\r\n", 2);
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n) {
        out.append(text.sliced(start));
        out.append("\r\n", 2);
    }
    return out;
}

} // namespace filelist
