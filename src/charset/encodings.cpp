// The document level of the encodings: dispatch to each codec, and line
// breaks found and written as the Shift_JIS documents' are.

#include "charset/encodings.h"
#include "charset/encodingscore.h"
#include "charset/sjiscore.h"

#include <QChar>

#include <cstring>

namespace charset {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

bool hasBom(QByteArrayView bytes)
{
    return bytes.startsWith(QByteArrayView(kBom, 3));
}

using sjis::detail::breakBytes;

LineBreak toLineBreak(sjis::detail::FirstBreak first)
{
    switch (first) {
    case sjis::detail::FirstBreak::Lf: return LineBreak::Lf;
    case sjis::detail::FirstBreak::Cr: return LineBreak::Cr;
    case sjis::detail::FirstBreak::CrLf:
    case sjis::detail::FirstBreak::None: break;
    }
    return LineBreak::CrLf;
}

QByteArray withBom(QByteArray bytes)
{
    bytes.prepend(kBom, 3);
    return bytes;
}

// ISO-2022-JP keeps some CR and LF bytes as stand-ins (inside two-byte
// text), so its breaks are found in the decoded text: only '\r' and '\n'
// characters are breaks.  Returns the text with '\n' for every break.
QString translateBreaks(const QString& raw, std::vector<LineBreak>* breaks)
{
    QString out(raw.size(), Qt::Uninitialized);
    char16_t* o = reinterpret_cast<char16_t*>(out.data());
    char16_t* const begin = o;
    const char16_t* s = QStringView(raw).utf16();
    const qsizetype n = raw.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (c == u'\r') {
            const bool pair = i + 1 < n && s[i + 1] == u'\n';
            if (breaks)
                breaks->push_back(pair ? LineBreak::CrLf : LineBreak::Cr);
            i += pair ? 1 : 0;
            *o++ = u'\n';
        } else {
            if (c == u'\n' && breaks)
                breaks->push_back(LineBreak::Lf);
            *o++ = c;
        }
    }
    out.resize(o - begin);
    return out;
}

std::vector<LineBreak> isoBreaks(QByteArrayView bytes)
{
    std::vector<LineBreak> breaks;
    translateBreaks(detail::decodeIso2022Jp(bytes), &breaks);
    return breaks;
}

} // namespace

namespace detail {

void locateError(QStringView text, qsizetype offset, EncodeError* error)
{
    sjis::detail::locateError(text, offset, error);
}

} // namespace detail

QString encodingName(Encoding e)
{
    switch (e) {
    case Encoding::ShiftJis: return QStringLiteral("Shift_JIS");
    case Encoding::Utf8: return QStringLiteral("UTF-8");
    case Encoding::Utf8Bom: return QStringLiteral("UTF-8 (BOM)");
    case Encoding::EucJp: return QStringLiteral("EUC-JP");
    case Encoding::Iso2022Jp: return QStringLiteral("ISO-2022-JP");
    }
    return QStringLiteral("Shift_JIS");
}

QString charsetLabel(Encoding e)
{
    return e == Encoding::Utf8Bom ? QStringLiteral("UTF-8") : encodingName(e);
}

std::optional<Encoding> encodingFromName(QStringView name)
{
    for (Encoding e : {Encoding::ShiftJis, Encoding::Utf8, Encoding::Utf8Bom, Encoding::EucJp,
                       Encoding::Iso2022Jp}) {
        if (name == encodingName(e))
            return e;
    }
    return std::nullopt;
}

QString decode(QByteArrayView bytes, Encoding e)
{
    switch (e) {
    case Encoding::ShiftJis:
        return sjis::decode(bytes);
    case Encoding::Utf8Bom:
        if (hasBom(bytes))
            bytes = bytes.sliced(3);
        [[fallthrough]];
    case Encoding::Utf8: {
        QString text(bytes.size(), Qt::Uninitialized);
        auto* out = reinterpret_cast<char16_t*>(text.data());
        text.resize(detail::decodeUtf8Into(bytes, out, false, nullptr));
        sjis::detail::releaseSlack(text);
        return text;
    }
    case Encoding::EucJp:
        return detail::decodeEucJp(bytes);
    case Encoding::Iso2022Jp:
        return detail::decodeIso2022Jp(bytes);
    }
    return {};
}

std::optional<QByteArray> encode(QStringView text, Encoding e, EncodeError* error)
{
    switch (e) {
    case Encoding::ShiftJis:
        return sjis::encode(text, error);
    case Encoding::Utf8:
        return detail::encodeUtf8(text, {}, false, error);
    case Encoding::Utf8Bom: {
        auto bytes = detail::encodeUtf8(text, {}, false, error);
        if (bytes)
            return withBom(std::move(*bytes));
        return bytes;
    }
    case Encoding::EucJp:
        return detail::encodeEucJp(text, {}, error);
    case Encoding::Iso2022Jp:
        return detail::encodeIso2022Jp(text, {}, error);
    }
    return std::nullopt;
}

bool canEncode(char32_t c, Encoding e)
{
    if (e == Encoding::ShiftJis)
        return sjis::canEncode(c);
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return false;
    if (e == Encoding::Utf8 || e == Encoding::Utf8Bom)
        return true;
    // (Not QString::fromUcs4(), which takes U+FEFF for a byte-order mark.)
    if (c >= 0x10000) {
        const char16_t pair[2] = {QChar::highSurrogate(c), QChar::lowSurrogate(c)};
        return encode(QStringView(pair, 2), e).has_value();
    }
    const char16_t one = char16_t(c);
    return encode(QStringView(&one, 1), e).has_value();
}

QString describe(const EncodeError& error, Encoding e)
{
    QString text = sjis::describe(error);
    if (e != Encoding::ShiftJis)
        text.replace(QStringLiteral("は Shift_JIS で"),
                     QStringLiteral("は %1 で").arg(encodingName(e)));
    return text;
}

DocumentText decodeDocument(QByteArrayView bytes, Encoding e)
{
    DocumentText doc;
    switch (e) {
    case Encoding::ShiftJis:
        return sjis::decodeDocument(bytes);
    case Encoding::Utf8Bom:
        if (hasBom(bytes))
            bytes = bytes.sliced(3);
        [[fallthrough]];
    case Encoding::Utf8: {
        doc.text = QString(bytes.size(), Qt::Uninitialized);
        auto* out = reinterpret_cast<char16_t*>(doc.text.data());
        sjis::detail::FirstBreak first = sjis::detail::FirstBreak::None;
        doc.text.resize(detail::decodeUtf8Into(bytes, out, true, &first));
        sjis::detail::releaseSlack(doc.text);
        doc.lineBreak = toLineBreak(first);
        return doc;
    }
    case Encoding::EucJp: {
        // CR and LF are never part of an EUC-JP character.
        std::vector<LineBreak> breaks;
        doc.text = translateBreaks(detail::decodeEucJp(bytes), &breaks);
        if (!breaks.empty())
            doc.lineBreak = breaks.front();
        return doc;
    }
    case Encoding::Iso2022Jp: {
        std::vector<LineBreak> breaks;
        doc.text = translateBreaks(detail::decodeIso2022Jp(bytes), &breaks);
        if (!breaks.empty())
            doc.lineBreak = breaks.front();
        return doc;
    }
    }
    return doc;
}

std::optional<QByteArray> encodeDocument(QStringView text, Encoding e, LineBreak lineBreak,
                                         EncodeError* error)
{
    switch (e) {
    case Encoding::ShiftJis:
        return sjis::encodeDocument(text, lineBreak, error);
    case Encoding::Utf8:
        return detail::encodeUtf8(text, breakBytes(lineBreak), true, error);
    case Encoding::Utf8Bom: {
        auto bytes = detail::encodeUtf8(text, breakBytes(lineBreak), true, error);
        if (bytes)
            return withBom(std::move(*bytes));
        return bytes;
    }
    case Encoding::EucJp:
    case Encoding::Iso2022Jp: {
        detail::Breaks breaks;
        breaks.translate = true;
        breaks.fallback = lineBreak;
        return e == Encoding::EucJp ? detail::encodeEucJp(text, breaks, error)
                                    : detail::encodeIso2022Jp(text, breaks, error);
    }
    }
    return std::nullopt;
}

std::optional<QByteArray> encodeDocumentLines(QStringView text, Encoding e,
                                              std::span<const LineBreak> breaks,
                                              LineBreak fallback, EncodeError* error)
{
    switch (e) {
    case Encoding::ShiftJis:
        return sjis::encodeDocumentLines(text, breaks, fallback, error);
    case Encoding::Utf8:
    case Encoding::Utf8Bom: {
        // As the Shift_JIS form: encode with LF breaks, then give each LF
        // (0x0A only ever stands for a break here) its line's own break.
        std::optional<QByteArray> lf = detail::encodeUtf8(text, "\n", true, error);
        if (!lf)
            return lf;
        QByteArray out;
        if (e == Encoding::Utf8Bom)
            out.append(kBom, 3);
        sjis::detail::appendWithBreaks(out, *lf, breaks, fallback);
        return out;
    }
    case Encoding::EucJp:
    case Encoding::Iso2022Jp: {
        detail::Breaks perLine;
        perLine.translate = true;
        perLine.perLine = breaks;
        perLine.fallback = fallback;
        return e == Encoding::EucJp ? detail::encodeEucJp(text, perLine, error)
                                    : detail::encodeIso2022Jp(text, perLine, error);
    }
    }
    return std::nullopt;
}

std::vector<LineBreak> lineBreaksOf(QByteArrayView bytes, Encoding e)
{
    if (e == Encoding::Iso2022Jp)
        return isoBreaks(bytes);
    // Elsewhere CR and LF bytes are always breaks (a byte-order mark holds
    // neither).
    return sjis::lineBreaksOf(bytes);
}

bool hasMixedBreaks(QByteArrayView bytes, Encoding e, LineBreak first)
{
    if (e != Encoding::Iso2022Jp)
        return sjis::hasMixedBreaks(bytes, first);
    for (LineBreak b : isoBreaks(bytes))
        if (b != first)
            return true;
    return false;
}

} // namespace charset
