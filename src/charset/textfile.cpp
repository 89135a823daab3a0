// Documents: decoding with line-break normalisation, encoding with the
// file's own line break.  Both are one pass of the codec core.

#include "charset/textfile.h"
#include "charset/sjiscore.h"

#include <cstring>

namespace sjis {

DocumentText decodeDocument(QByteArrayView bytes)
{
    DocumentText doc;
    doc.text = QString(bytes.size(), Qt::Uninitialized);
    auto* out = reinterpret_cast<char16_t*>(doc.text.data());
    detail::FirstBreak first = detail::FirstBreak::None;
    doc.text.resize(detail::decodeInto(bytes, out, true, &first));
    detail::releaseSlack(doc.text);
    switch (first) {
    case detail::FirstBreak::Lf:
        doc.lineBreak = LineBreak::Lf;
        break;
    case detail::FirstBreak::Cr:
        doc.lineBreak = LineBreak::Cr;
        break;
    case detail::FirstBreak::CrLf:
    case detail::FirstBreak::None:
        doc.lineBreak = LineBreak::CrLf;
        break;
    }
    return doc;
}

std::optional<QByteArray> encodeDocument(QStringView text, LineBreak lineBreak,
                                         EncodeError* error)
{
    return detail::encodeWithBreaks(text, detail::breakBytes(lineBreak), true, error);
}

QByteArrayView detail::breakBytes(LineBreak b)
{
    switch (b) {
    case LineBreak::Lf: return "\n";
    case LineBreak::Cr: return "\r";
    case LineBreak::CrLf: break;
    }
    return "\r\n";
}

void detail::appendWithBreaks(QByteArray& out, QByteArrayView lf, std::span<const LineBreak> breaks,
                              LineBreak fallback)
{
    const char* const data = lf.data();
    const qsizetype size = lf.size();
    out.reserve(out.size() + size + qsizetype(breaks.size()) + 16);
    qsizetype at = 0;
    size_t line = 0;
    while (at < size) {
        const void* hit = std::memchr(data + at, '\n', size_t(size - at));
        if (!hit) {
            out.append(data + at, size - at);
            break;
        }
        const qsizetype end = static_cast<const char*>(hit) - data;
        out.append(data + at, end - at);
        out.append(breakBytes(line < breaks.size() ? breaks[line] : fallback));
        ++line;
        at = end + 1;
    }
}

bool hasMixedBreaks(QByteArrayView bytes, LineBreak first)
{
    const char* const data = bytes.data();
    const qsizetype size = bytes.size();
    if (size == 0)
        return false;   // (an empty array may have no data pointer at all)
    // CR and LF are never part of a double-byte character, so a byte search
    // is exact.
    switch (first) {
    case LineBreak::Lf:
        return std::memchr(data, '\r', size_t(size)) != nullptr;
    case LineBreak::Cr:
        return std::memchr(data, '\n', size_t(size)) != nullptr;
    case LineBreak::CrLf:
        break;
    }
    // Every CR must be followed by an LF and every LF preceded by a CR.
    for (const char* p = data; (p = static_cast<const char*>(
                                    std::memchr(p, '\r', size_t(data + size - p))));) {
        if (p + 1 == data + size || p[1] != '\n')
            return true;
        p += 2;
    }
    for (const char* p = data; (p = static_cast<const char*>(
                                    std::memchr(p, '\n', size_t(data + size - p))));) {
        if (p == data || p[-1] != '\r')
            return true;
        ++p;
    }
    return false;
}

std::vector<LineBreak> lineBreaksOf(QByteArrayView bytes)
{
    std::vector<LineBreak> breaks;
    const char* const data = bytes.data();
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '\r') {
            if (i + 1 < size && data[i + 1] == '\n') {
                breaks.push_back(LineBreak::CrLf);
                ++i;
            } else {
                breaks.push_back(LineBreak::Cr);
            }
        } else if (c == '\n') {
            breaks.push_back(LineBreak::Lf);
        }
    }
    return breaks;
}

std::optional<QByteArray> encodeDocumentLines(QStringView text, std::span<const LineBreak> breaks,
                                              LineBreak fallback, EncodeError* error)
{
    // Encode once with LF breaks (the codec's fastest form), then give each
    // LF its line's own break.  0x0A only ever stands for a break here.
    std::optional<QByteArray> lf = detail::encodeWithBreaks(text, "\n", true, error);
    if (!lf)
        return lf;
    QByteArray out;
    detail::appendWithBreaks(out, *lf, breaks, fallback);
    return out;
}

} // namespace sjis
