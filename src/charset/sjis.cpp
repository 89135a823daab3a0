// Lossless code page 932 codec.  See sjis.h for the rules.
//
// Both directions are single table-driven passes.  Runs of ASCII, by far the
// most common bytes in HTML, are copied 16 bytes (decode) or 8 characters
// (encode) at a time; everything else goes through the flat tables generated
// by scripts/gen_cp932.py.

#include "charset/sjis.h"

#include "charset/asciirun.h"
#include "charset/sjiscore.h"

#include <QChar>

#include <array>
#include <bit>
#include <cstdint>


namespace sjis {
namespace {

#include "charset/cp932_tables.inc"

static_assert(sizeof(kDouble) == kLeadCount * 256 * sizeof(char16_t));

// Row of pair characters for every byte; bytes that lead no pair get a row
// of zeros, so the decoder can look up a pair without asking first.
constexpr char16_t kNoPairs[256] = {};
constexpr auto kPairRow = [] {
    std::array<const char16_t*, 256> rows{};
    for (int b = 0; b < 256; ++b)
        rows[b] = kLeadRow[b] >= 0 ? kDouble[kLeadRow[b]] : kNoPairs;
    return rows;
}();

// Unicode BMP -> bytes: 0 = not encodable, < 0x100 = one byte, else lead<<8|trail.
// Built once by inverting the decode tables, so the two can never disagree.
struct EncodeTable {
    uint16_t value[0x10000] = {};

    EncodeTable()
    {
        for (unsigned c = 1; c < 0x80; ++c)
            value[c] = uint16_t(c);
        for (unsigned b = 0x80; b < 0x100; ++b) {
            value[rawByteChar(uchar(b))] = uint16_t(b); // kana bytes' too
            value[kAlone[b - 0x80]] = uint16_t(b);
        }
        for (unsigned lead = 0; lead < 0x100; ++lead) {
            const int row = kLeadRow[lead];
            if (row < 0)
                continue;
            for (unsigned trail = 0; trail < 0x100; ++trail) {
                const char16_t c = kDouble[row][trail];
                if (c)
                    value[c] = uint16_t(lead << 8 | trail);
            }
        }
        // Characters that Linux input methods and keyboards type for what
        // Windows users see as the same character: they are written as
        // Windows writes its own.  Decoding never gives them back, so files
        // still round-trip byte for byte.
        static constexpr struct { char16_t c; uint16_t bytes; } kTyped[] = {
            {0x301C, 0x8160}, // WAVE DASH -> FULLWIDTH TILDE's bytes
            {0x2212, 0x817C}, // MINUS SIGN
            {0x2016, 0x8161}, // DOUBLE VERTICAL LINE
            {0x2014, 0x815C}, // EM DASH
            {0x00A2, 0x8191}, // CENT SIGN
            {0x00A3, 0x8192}, // POUND SIGN
            {0x00AC, 0x81CA}, // NOT SIGN
            {0x00A5, 0x5C},   // YEN SIGN (Japanese keyboards)
            {0x203E, 0x7E},   // OVERLINE
        };
        for (const auto& t : kTyped)
            if (!value[t.c])
                value[t.c] = t.bytes;
    }
};

const uint16_t* encodeTable()
{
    static const EncodeTable table;
    return table.value;
}

template <bool TranslateBreaks>
qsizetype decodeImpl(const uchar* p, const uchar* const end, char16_t* const out,
                     detail::FirstBreak* firstBreak)
{
    using detail::FirstBreak;
    char16_t* o = out;
    FirstBreak first = FirstBreak::None;

    for (;;) {
        detail::copyAscii<TranslateBreaks>(p, end, o, first);
        if (p == end)
            break;
        uchar b = *p;
        // A run of non-ASCII bytes: kanji, kana, raw bytes.  A mapped pair
        // wins; otherwise the byte is taken alone and decoding resumes at
        // the next one.  (The branches are cheaper than a branch-free
        // form: they let the CPU run ahead instead of waiting on each
        // lookup to learn where the next character starts.)
        do {
            if (end - p >= 2) {
                const char16_t pair = kPairRow[b][p[1]];
                if (pair) {
                    *o++ = pair;
                    p += 2;
                    continue;
                }
            }
            *o++ = kAlone[b - 0x80];
            ++p;
        } while (p < end && (b = *p) >= 0x80);
    }
    if (firstBreak)
        *firstBreak = first;
    return o - out;
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

namespace detail {

qsizetype decodeInto(QByteArrayView bytes, char16_t* out, bool translateBreaks,
                     FirstBreak* firstBreak)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const auto* end = p + bytes.size();
    if (translateBreaks)
        return decodeImpl<true>(p, end, out, firstBreak);
    if (firstBreak)
        *firstBreak = FirstBreak::None;
    return decodeImpl<false>(p, end, out, nullptr);
}

void locateError(QStringView text, qsizetype offset, EncodeError* error)
{
    if (!error)
        return;
    qsizetype line = 1;
    qsizetype column = 1;
    const char16_t* s = text.utf16();
    for (qsizetype i = 0; i < offset; ++i) {
        const char16_t c = s[i];
        if (c == u'\r') {
            if (i + 1 < offset && s[i + 1] == u'\n')
                ++i;
            ++line;
            column = 1;
        } else if (c == u'\n' || c == QChar::ParagraphSeparator) {
            ++line;
            column = 1;
        } else {
            if (isHighSurrogate(c) && i + 1 < offset && isLowSurrogate(s[i + 1]))
                ++i;
            ++column;
        }
    }
    char32_t character = s[offset];
    if (isHighSurrogate(s[offset]) && offset + 1 < text.size() && isLowSurrogate(s[offset + 1]))
        character = QChar::surrogateToUcs4(s[offset], s[offset + 1]);
    error->line = line;
    error->column = column;
    error->offset = offset;
    error->character = character;
}

std::optional<QByteArray> encodeWithBreaks(QStringView text, QByteArrayView lineBreak,
                                           bool translateBreaks, EncodeError* error)
{
    const uint16_t* const table = encodeTable();
    const qsizetype size = text.size();
    // Every unit becomes at most two bytes (a line break is at most two).
    QByteArray result(size * 2, Qt::Uninitialized);
    auto* const outBegin = reinterpret_cast<uchar*>(result.data());
    uchar* o = outBegin;
    const char16_t* const begin = text.utf16();
    const char16_t* const end = begin + size;
    const char16_t* p = begin;

    const detail::AsciiOut ascii(lineBreak, translateBreaks);

    for (;;) {
        ascii.copy(p, end, o);
        if (p == end)
            break;
        char16_t c = *p;
        do {
            const uint16_t value = table[c];
            if (value >= 0x100) {
                o[0] = uchar(value >> 8);
                o[1] = uchar(value);
                o += 2;
            } else if (value) {
                *o++ = uchar(value);
            } else if (c == QChar::ParagraphSeparator && translateBreaks) {
                ascii.writeBreak(o);
            } else {
                locateError(text, p - begin, error);
                return std::nullopt;
            }
            ++p;
        } while (p < end && (c = *p) >= 0x80);
    }
    result.resize(o - outBegin);
    releaseSlack(result);
    return result;
}

} // namespace detail

QString decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    auto* out = reinterpret_cast<char16_t*>(text.data());
    text.resize(detail::decodeInto(bytes, out, false, nullptr));
    detail::releaseSlack(text);
    return text;
}

std::optional<QByteArray> encode(QStringView text, EncodeError* error)
{
    return detail::encodeWithBreaks(text, {}, false, error);
}


bool canEncode(char32_t c)
{
    if (c < 0x80)
        return true;
    return c < 0x10000 && encodeTable()[c] != 0;
}

QString describe(const EncodeError& e)
{
    const char32_t c = e.character;
    const QString code = QStringLiteral("U+%1")
                             .arg(QString::number(uint(c), 16).toUpper(), 4, QLatin1Char('0'));
    const bool showable = c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF) && QChar::isPrint(c);
    const QString what = showable
        ? QStringLiteral("「%1」(%2)").arg(QString::fromUcs4(&c, 1), code)
        : QStringLiteral(" %1").arg(code);
    return QStringLiteral("%1 行 %2 列目の文字%3 は Shift_JIS で保存できません。")
        .arg(QString::number(e.line), QString::number(e.column), what);
}

} // namespace sjis
