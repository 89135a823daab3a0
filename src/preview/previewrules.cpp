#include "preview/previewrules.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace preview {

namespace {

bool isScheme(const QUrl& url, QLatin1StringView scheme)
{
    return url.scheme().compare(scheme, Qt::CaseInsensitive) == 0;
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

} // namespace

QUrl documentUrl(const QString& path, const QString& name, const QString& fallbackFolder)
{
    QString file = path;
    if (file.isEmpty()) {
        const QString folder = fallbackFolder.isEmpty() ? QDir::homePath() : fallbackFolder;
        file = QDir(folder).filePath(name.isEmpty() ? QStringLiteral("Page") : name);
    }
    QUrl url;
    url.setScheme(QLatin1String(kScheme));
    url.setPath(QFileInfo(file).absoluteFilePath());
    return url;
}

QString localFileOf(const QUrl& url)
{
    // A host ("//server/x.png" in the page) names another machine.
    if (!url.host().isEmpty() && url.host() != QLatin1String("localhost"))
        return {};
    if (isScheme(url, QLatin1StringView(kScheme)))
        return url.path();
    if (url.isLocalFile())
        return url.toLocalFile();
    return {};
}

bool mayServe(const QString& file)
{
    static const QStringList kinds = {
        QStringLiteral("htm"),  QStringLiteral("html"), QStringLiteral("shtml"), QStringLiteral("css"),
        QStringLiteral("js"),   QStringLiteral("png"),  QStringLiteral("jpg"),   QStringLiteral("jpeg"),
        QStringLiteral("gif"),  QStringLiteral("bmp"),  QStringLiteral("svg"),   QStringLiteral("webp"),
        QStringLiteral("ico"),  QStringLiteral("mid"),  QStringLiteral("midi"),  QStringLiteral("wav"),
        QStringLiteral("mp3"),  QStringLiteral("ogg"),  QStringLiteral("mp4"),   QStringLiteral("webm"),
        QStringLiteral("woff"), QStringLiteral("woff2"), QStringLiteral("ttf"),  QStringLiteral("otf")};
    return kinds.contains(QFileInfo(file).suffix().toLower());
}

bool isLocal(const QUrl& url)
{
    static const QLatin1StringView local[] = {QLatin1StringView(kScheme), QLatin1StringView("file"),
                                              QLatin1StringView("data"), QLatin1StringView("blob"),
                                              QLatin1StringView("about")};
    if (!url.host().isEmpty() && url.host() != QLatin1String("localhost")
        && (isScheme(url, QLatin1StringView("file")) || isScheme(url, QLatin1StringView(kScheme))))
        return false;   // another machine's share
    for (QLatin1StringView s : local)
        if (isScheme(url, s))
            return true;
    return false;
}

bool mayLoad(const QUrl& url, bool allowExternal)
{
    return allowExternal || isLocal(url);
}

bool sameDocument(const QUrl& a, const QUrl& b)
{
    return a.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment)
           == b.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment);
}

LinkTarget classifyLink(const QUrl& link, const QUrl& document)
{
    if (!link.isValid())
        return LinkTarget::Ignore;
    if (link.hasFragment() && sameDocument(link, document))
        return LinkTarget::InPage;
    const QString file = localFileOf(link);
    if (!file.isEmpty()) {
        const QString suffix = QFileInfo(file).suffix().toLower();
        if (suffix == QLatin1String("htm") || suffix == QLatin1String("html"))
            return LinkTarget::OpenTab;
        return LinkTarget::Shell;
    }
    // Only addresses a browser or mail program is for; never script or data.
    for (const char* s : {"http", "https", "ftp", "mailto"})
        if (isScheme(link, QLatin1StringView(s)))
            return LinkTarget::Shell;
    return LinkTarget::Ignore;
}

int overPauseSizeByLength(qsizetype length)
{
    if (length > kPauseBytes)
        return 1;
    if (length * 3 <= kPauseBytes)
        return 0;
    return -1;
}

bool overPauseSize(QStringView text)
{
    const int byLength = overPauseSizeByLength(text.size());
    if (byLength >= 0)
        return byLength == 1;
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80)
            bytes += 1;
        else if (c < 0x800)
            bytes += 2;
        else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            bytes += 4;
            ++i;
        } else {
            bytes += 3;
        }
    }
    return bytes > kPauseBytes;
}

int refreshDelayMs(qint64 sinceFirstPendingMs)
{
    const qint64 left = kLongestMs - sinceFirstPendingMs;
    return int(std::clamp<qint64>(left, 0, kQuietMs));
}

qsizetype offsetOf(QStringView text, int line, int column)
{
    qsizetype at = 0;
    for (int l = 0; l < line; ++l) {
        const qsizetype nl = text.indexOf(u'\n', at);
        if (nl < 0)
            return text.size();
        at = nl + 1;
    }
    const qsizetype end = text.indexOf(u'\n', at);
    const qsizetype lineEnd = end < 0 ? text.size() : end;
    return std::min(at + std::max(column, 0), lineEnd);
}

qsizetype markerPosition(QStringView text, qsizetype caret)
{
    caret = std::clamp<qsizetype>(caret, 0, text.size());
    if (text.contains(u"<frameset", Qt::CaseInsensitive))
        return -1;   // anything before the frame set would make a body of it
    const bool hasBody = text.contains(u"<body", Qt::CaseInsensitive);
    const bool hasHead = text.contains(u"<head", Qt::CaseInsensitive);
    bool bodyStarted = false;
    bool headEnded = false;
    qsizetype result = caret;
    qsizetype i = 0;
    while (i < caret) {
        if (text[i] != u'<') {
            ++i;
            continue;
        }
        if (text.sliced(i).startsWith(u"<!--")) {
            const qsizetype close = text.indexOf(u"-->", i + 4);
            const qsizetype end = close < 0 ? text.size() : close + 3;
            if (end > caret) {
                result = i;
                break;
            }
            i = end;
            continue;
        }
        const qsizetype next = i + 1;
        if (next >= text.size()
            || !(isAsciiLetter(text[next]) || text[next] == u'/' || text[next] == u'!' || text[next] == u'?')) {
            ++i;
            continue;
        }
        // The tag's name, then its end: a '>' outside a quoted value.
        qsizetype n = next + (text[next] == u'/' ? 1 : 0);
        const qsizetype nameStart = n;
        while (n < text.size() && (isAsciiLetter(text[n]) || text[n].isDigit()))
            ++n;
        const QString name = text.sliced(nameStart, n - nameStart).toString().toLower();
        const bool endTag = text[next] == u'/';
        QChar quote;
        QChar lastNonSpace;
        qsizetype e = n;
        for (; e < text.size(); ++e) {
            const QChar c = text[e];
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
                continue;
            }
            if ((c == u'"' || c == u'\'') && lastNonSpace == u'=')
                quote = c;
            else if (c == u'>')
                break;
            if (!c.isSpace())
                lastNonSpace = c;
        }
        const qsizetype tagStart = i;
        const qsizetype tagEnd = e < text.size() ? e + 1 : text.size();
        if (tagEnd > caret) {
            result = tagStart;
            break;
        }
        i = tagEnd;
        if (endTag) {
            headEnded = headEnded || name == QLatin1String("head");
            continue;
        }
        if (name == QLatin1String("body"))
            bodyStarted = true;
        if (name == QLatin1String("script") || name == QLatin1String("style")
            || name == QLatin1String("title") || name == QLatin1String("textarea")) {
            const qsizetype close = text.indexOf(QStringLiteral("</") + name, tagEnd, Qt::CaseInsensitive);
            qsizetype end = text.size();
            if (close >= 0) {
                const qsizetype gt = text.indexOf(u'>', close);
                end = gt < 0 ? text.size() : gt + 1;
            }
            if (end > caret) {
                result = tagStart;
                break;
            }
            i = end;
        }
    }
    if (hasBody && !bodyStarted)
        return -1;
    if (!hasBody && hasHead && !headEnded)
        return -1;
    return result;
}

QString withMarker(const QString& text, qsizetype position)
{
    if (position < 0 || position > text.size())
        return text;
    return text.left(position) + QStringLiteral("<span id=\"%1\"></span>").arg(QLatin1String(kMarkerId))
           + text.mid(position);
}

QString blockedLine(int count)
{
    return QStringLiteral("外部ﾘｿｰｽを %1 件ﾌﾞﾛｯｸしました").arg(count);
}

} // namespace preview
