// Lossless EUC-JP: JIS X 0208 pairs (0xA1-0xFE twice) read through the code
// page 932 tables, half-width katakana after the prefix 0x8E, and JIS X 0212
// triples (0x8F and two bytes 0xA1-0xFE) kept as three raw bytes, since the
// editor's tables do not hold that set.  A pair the tables do not map is
// kept as two raw bytes; any other byte over 0x7F as one.

#include "charset/encodingscore.h"
#include "charset/jis0208.h"
#include "charset/sjiscore.h"

namespace charset {
namespace {

using sjis::rawByteChar;

constexpr bool isGr(uchar b) { return b >= 0xA1 && b <= 0xFE; }

} // namespace

namespace detail {

QString decodeEucJp(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    auto* const out = reinterpret_cast<char16_t*>(text.data());
    char16_t* o = out;
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        const uchar b = *p;
        const qsizetype left = end - p;
        if (b < 0x80) {
            *o++ = b;
            ++p;
        } else if (b == 0x8E && left >= 2 && p[1] >= 0xA1 && p[1] <= 0xDF) {
            *o++ = char16_t(0xFEC0 + p[1]);
            p += 2;
        } else if (b == 0x8F && left >= 3 && isGr(p[1]) && isGr(p[2])) {
            o[0] = rawByteChar(b);
            o[1] = rawByteChar(p[1]);
            o[2] = rawByteChar(p[2]);
            o += 3;
            p += 3;
        } else if (isGr(b) && left >= 2 && isGr(p[1])) {
            const char16_t c = jisToChar(b - 0x80, p[1] - 0x80);
            if (c) {
                *o++ = c;
            } else {
                o[0] = rawByteChar(b);
                o[1] = rawByteChar(p[1]);
                o += 2;
            }
            p += 2;
        } else {
            *o++ = rawByteChar(b);
            ++p;
        }
    }
    text.resize(o - out);
    sjis::detail::releaseSlack(text);
    return text;
}

std::optional<QByteArray> encodeEucJp(QStringView text, const Breaks& breaks, EncodeError* error)
{
    const qsizetype size = text.size();
    QByteArray result;
    result.reserve(size * 2 + 16);
    const char16_t* const s = text.utf16();
    size_t line = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = s[i];
        if (breaks.translate && (c == u'\n' || c == 0x2029)) {
            const LineBreak lb = breaks.at(line++);
            result.append(lb == LineBreak::Lf ? "\n" : lb == LineBreak::Cr ? "\r" : "\r\n");
        } else if (c < 0x80) {
            result.append(char(c));
        } else if (sjis::isRawByte(c)) {
            result.append(char(c - sjis::kRawByteBase));
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            result.append(char(0x8E));
            result.append(char(c - 0xFEC0));
        } else if (c == 0x00A5 || c == 0x203E) {
            // As the Shift_JIS encoder writes them.
            result.append(c == 0x00A5 ? '\\' : '~');
        } else if (const uint16_t jis = charToJis(c)) {
            result.append(char((jis >> 8) | 0x80));
            result.append(char((jis & 0xFF) | 0x80));
        } else {
            locateError(text, i, error);
            return std::nullopt;
        }
    }
    return result;
}

} // namespace detail
} // namespace charset
