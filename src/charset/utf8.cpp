// Lossless UTF-8.  A well-formed sequence becomes its character, except
// that U+F780-U+F7FF, which stand for raw bytes, stay raw bytes themselves
// (else a file holding them would save back as single bytes).  Any other
// byte (a stray continuation, a truncated or overlong sequence, an encoded
// surrogate, a code point past U+10FFFF, 0xC0, 0xC1, 0xF5-0xFF) becomes its
// raw-byte stand-in and decoding resumes at the next byte.
//
// Runs of ASCII are copied 16 bytes (decode) or 8 units (encode) at a time,
// as in the Shift_JIS codec; three-byte sequences (kana and kanji) have a
// short path of their own.

#include "charset/asciirun.h"
#include "charset/encodingscore.h"
#include "charset/sjiscore.h"

#include <bit>
#include <cstdint>
#include <cstring>


namespace charset {
namespace {

using sjis::detail::FirstBreak;
using sjis::rawByteChar;

constexpr bool isCont(uchar b) { return (b & 0xC0) == 0x80; }

// The length of the well-formed sequence at p (2-4), 0 when there is none.
// The caller has seen that *p >= 0x80.
inline int sequenceAt(const uchar* p, const uchar* end, char32_t* cp)
{
    const uchar b = *p;
    const qsizetype left = end - p;
    if (b >= 0xC2 && b <= 0xDF) {
        if (left < 2 || !isCont(p[1]))
            return 0;
        *cp = char32_t(b & 0x1F) << 6 | (p[1] & 0x3F);
        return 2;
    }
    if (b >= 0xE0 && b <= 0xEF) {
        if (left < 3 || !isCont(p[1]) || !isCont(p[2]))
            return 0;
        const char32_t c = char32_t(b & 0x0F) << 12 | char32_t(p[1] & 0x3F) << 6 | (p[2] & 0x3F);
        if (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF) || sjis::isRawByte(char16_t(c)))
            return 0;
        *cp = c;
        return 3;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        if (left < 4 || !isCont(p[1]) || !isCont(p[2]) || !isCont(p[3]))
            return 0;
        const char32_t c = char32_t(b & 0x07) << 18 | char32_t(p[1] & 0x3F) << 12
            | char32_t(p[2] & 0x3F) << 6 | (p[3] & 0x3F);
        if (c < 0x10000 || c > 0x10FFFF)
            return 0;
        *cp = c;
        return 4;
    }
    return 0;
}

template <bool TranslateBreaks>
qsizetype decodeImpl(const uchar* p, const uchar* const end, char16_t* const out,
                     FirstBreak* firstBreak)
{
    char16_t* o = out;
    FirstBreak first = FirstBreak::None;

    for (;;) {
        sjis::detail::copyAscii<TranslateBreaks>(p, end, o, first);
        if (p == end)
            break;
        uchar b = *p;
        do {
            // Kana and kanji first: three bytes, 1110xxxx 10xxxxxx 10xxxxxx.
            if ((b & 0xF0) == 0xE0 && end - p >= 3) {
                const unsigned b1 = p[1];
                const unsigned b2 = p[2];
                const unsigned c = (b & 0x0Fu) << 12 | (b1 & 0x3Fu) << 6 | (b2 & 0x3Fu);
                if (((b1 & 0xC0u) | (b2 & 0xC0u) >> 2) == 0xA0u && c >= 0x800
                    && (c - 0xD800u) >= 0x800u && (c - 0xF780u) >= 0x80u) {
                    *o++ = char16_t(c);
                    p += 3;
                    continue;
                }
            }
            char32_t c = 0;
            const int n = sequenceAt(p, end, &c);
            if (n == 0) {
                *o++ = rawByteChar(b);
                ++p;
            } else if (c >= 0x10000) {
                o[0] = QChar::highSurrogate(c);
                o[1] = QChar::lowSurrogate(c);
                o += 2;
                p += n;
            } else {
                *o++ = char16_t(c);
                p += n;
            }
        } while (p < end && (b = *p) >= 0x80);
    }
    if (firstBreak)
        *firstBreak = first;
    return o - out;
}

} // namespace

namespace detail {

qsizetype decodeUtf8Into(QByteArrayView bytes, char16_t* out, bool translateBreaks,
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

bool isValidUtf8(QByteArrayView bytes, bool cut)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        char32_t c = 0;
        const int n = sequenceAt(p, end, &c);
        if (n) {
            p += n;
            continue;
        }
        // A sequence the sample's end cuts short is not held against it:
        // check what there is of it against a completed copy.
        const qsizetype left = end - p;
        if (!cut || left >= 4)
            return false;
        uchar padded[4] = {0x80, 0x80, 0x80, 0x80};
        std::memcpy(padded, p, size_t(left));
        if (padded[0] == 0xE0 && left == 1)
            padded[1] = 0xA0;
        if (padded[0] == 0xF0 && left == 1)
            padded[1] = 0x90;
        const int full = sequenceAt(padded, padded + 4, &c);
        return full > left;
    }
    return true;
}

std::optional<QByteArray> encodeUtf8(QStringView text, QByteArrayView lineBreak,
                                     bool translateBreaks, EncodeError* error)
{
    const qsizetype size = text.size();
    // A unit becomes at most three bytes (a surrogate pair four).
    QByteArray result(size * 3 + 1, Qt::Uninitialized);
    auto* const outBegin = reinterpret_cast<uchar*>(result.data());
    uchar* o = outBegin;
    const char16_t* const begin = text.utf16();
    const char16_t* const end = begin + size;
    const char16_t* p = begin;

    const sjis::detail::AsciiOut ascii(lineBreak, translateBreaks);

    for (;;) {
        ascii.copy(p, end, o);
        if (p == end)
            break;
        char16_t c = *p;
        do {
            // Kana and kanji first, in a tight run: each is one four-byte
            // store of which three bytes count (the buffer has a spare byte).
            if (c >= 0x800 && c < 0xD800) {
                for (;;) {
                    if constexpr (std::endian::native == std::endian::little) {
                        const uint32_t v = (0xE0u | c >> 12) | (0x80u | ((c >> 6) & 0x3Fu)) << 8
                            | (0x80u | (c & 0x3Fu)) << 16;
                        std::memcpy(o, &v, 4);
                    } else {
                        o[0] = uchar(0xE0 | c >> 12);
                        o[1] = uchar(0x80 | ((c >> 6) & 0x3F));
                        o[2] = uchar(0x80 | (c & 0x3F));
                    }
                    o += 3;
                    if (++p == end || (c = *p) < 0x800 || c >= 0xD800)
                        break;
                }
                continue;
            }
            if (c < 0x800) {
                o[0] = uchar(0xC0 | c >> 6);
                o[1] = uchar(0x80 | (c & 0x3F));
                o += 2;
            } else if (c >= 0xD800 && c <= 0xDFFF) {
                if (c <= 0xDBFF && end - p >= 2 && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
                    const char32_t u = QChar::surrogateToUcs4(c, p[1]);
                    o[0] = uchar(0xF0 | u >> 18);
                    o[1] = uchar(0x80 | ((u >> 12) & 0x3F));
                    o[2] = uchar(0x80 | ((u >> 6) & 0x3F));
                    o[3] = uchar(0x80 | (u & 0x3F));
                    o += 4;
                    ++p;
                } else {
                    detail::locateError(text, p - begin, error);
                    return std::nullopt;
                }
            } else if (sjis::isRawByte(c)) {
                *o++ = uchar(c - sjis::kRawByteBase);
            } else if (c == 0x2029 && translateBreaks) {
                ascii.writeBreak(o);
            } else {
                o[0] = uchar(0xE0 | c >> 12);
                o[1] = uchar(0x80 | ((c >> 6) & 0x3F));
                o[2] = uchar(0x80 | (c & 0x3F));
                o += 3;
            }
            ++p;
        } while (p < end && (c = *p) >= 0x80);
    }
    result.resize(o - outBegin);
    sjis::detail::releaseSlack(result);
    return result;
}

} // namespace detail
} // namespace charset
