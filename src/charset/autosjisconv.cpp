#include "charset/autosjisconv.h"

#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// Both walks work in place: the write position never passes the read
// position, because pairs become pairs and escapes, shift codes and EUC-JP
// kana prefixes are dropped.  Runs of plain ASCII are skipped sixteen bytes
// at a time.

namespace {

using uchar = unsigned char;

// The Shift_JIS code of every pair (j1, j2) with both bytes below 0x80.
struct PairTable {
    std::uint16_t code[128][128];
    constexpr PairTable() : code{}
    {
        for (unsigned a = 0; a < 128; ++a)
            for (unsigned b = 0; b < 128; ++b)
                code[a][b] = std::uint16_t(TAutoSjisConv::jisToSjis(a, b));
    }
};
constexpr PairTable kPairs;

inline void putPair(uchar* p, std::size_t& w, unsigned j1, unsigned j2)
{
    const unsigned code = kPairs.code[j1 & 0x7F][j2 & 0x7F];
    p[w] = uchar(code >> 8);
    p[w + 1] = uchar(code);
    w += 2;
}

// Bit masks over up to 16 bytes (bit i = byte i).
struct Masks {
    unsigned high = 0;     // 0x80 and above
    unsigned end = 0;      // CR, LF, NUL, Ctrl-Z: the examined part ends here
    unsigned sjis = 0;     // 0x80-0x9F except 0x8E: only Shift_JIS has these
    unsigned prefix = 0;   // 0x8E
};

inline Masks scanTail(const uchar* p, std::size_t len)
{
    Masks m;
    for (std::size_t i = 0; i < len; ++i) {
        const uchar b = p[i];
        const unsigned bit = 1u << i;
        if (b >= 0x80)
            m.high |= bit;
        if (b == 0x0D || b == 0x0A || b == 0x00 || b == 0x1A)
            m.end |= bit;
        if (b >= 0x80 && b < 0xA0 && b != 0x8E)
            m.sjis |= bit;
        if (b == 0x8E)
            m.prefix |= bit;
    }
    return m;
}

#ifdef __SSE2__
inline Masks scan16(const uchar* p)
{
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i ends = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_setzero_si128()), _mm_cmpeq_epi8(v, _mm_set1_epi8(0x0A))),
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(0x0D)), _mm_cmpeq_epi8(v, _mm_set1_epi8(0x1A))));
    const __m128i prefix = _mm_cmpeq_epi8(v, _mm_set1_epi8(char(0x8E)));
    // Signed: 0x80-0x9F are -128..-97.
    const __m128i low = _mm_cmplt_epi8(v, _mm_set1_epi8(char(0xA0)));
    Masks m;
    m.high = unsigned(_mm_movemask_epi8(v));
    m.end = unsigned(_mm_movemask_epi8(ends));
    m.prefix = unsigned(_mm_movemask_epi8(prefix));
    m.sjis = unsigned(_mm_movemask_epi8(_mm_andnot_si128(prefix, low)));
    return m;
}

// Bytes that end a run of text that stays as it is: SO, SI, ESC, and (if
// `high`) bytes of 0x80 and above.
inline unsigned specials16(const uchar* p, bool high)
{
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i shift = _mm_or_si128(_mm_cmpeq_epi8(_mm_and_si128(v, _mm_set1_epi8(char(0xFE))),
                                                      _mm_set1_epi8(0x0E)),
                                       _mm_cmpeq_epi8(v, _mm_set1_epi8(0x1B)));
    return unsigned(_mm_movemask_epi8(high ? _mm_or_si128(shift, v) : shift));
}
#endif

// Length of the run at p[0, n) free of SO, SI and ESC (and, if `stopHigh`,
// of bytes 0x80 and above).
inline std::size_t plainRun(const uchar* p, std::size_t n, bool stopHigh)
{
    std::size_t i = 0;
#ifdef __SSE2__
    for (; i + 16 <= n; i += 16)
        if (const unsigned m = specials16(p + i, stopHigh))
            return i + std::size_t(std::countr_zero(m));
#endif
    for (; i < n; ++i) {
        const uchar b = p[i];
        if (b == 0x0E || b == 0x0F || b == 0x1B || (stopHigh && b >= 0x80))
            return i;
    }
    return n;
}

// Moves a run that stays as it is; nothing to do while nothing was dropped.
inline void keepRun(uchar* p, std::size_t& w, std::size_t& r, std::size_t len)
{
    if (w != r) {
        // Forward copy, eight bytes at a time: each chunk is read before the
        // store that may overlap it (w < r).  Runs are short, so no memmove call.
        std::size_t k = 0;
        for (; k + 8 <= len; k += 8) {
            std::uint64_t x;
            std::memcpy(&x, p + r + k, 8);
            std::memcpy(p + w + k, &x, 8);
        }
        for (; k < len; ++k)
            p[w + k] = p[r + k];
    }
    w += len;
    r += len;
}

} // namespace

// Detection, sixteen bytes at a time.  Within the examined part (up to the
// first CR, LF, NUL or Ctrl-Z):
// - any byte 0x80-0x9F other than 0x8E makes the line Shift_JIS;
// - otherwise a line with bytes of 0x80 and above is EUC-JP unless its pairs
//   do not come out even (a byte of 0x80 and above takes the next byte as its
//   partner) or the byte of 0x80 and above that follows its last 0x8E is not
//   half-width katakana (0xA1-0xDF).
// This is the byte-by-byte rule, computed run by run.
TAutoSjisConv::Encoding TAutoSjisConv::detect(const char* data, std::size_t n)
{
    const auto* p = reinterpret_cast<const uchar*>(data);
    std::size_t examined = n;
    std::size_t next = 0;          // where the next pair or single byte starts
    bool anyHigh = false;
    std::size_t lastPrefix = SIZE_MAX;
    for (std::size_t base = 0; base < n; base += 16) {
        std::size_t len = n - base < 16 ? n - base : 16;
#ifdef __SSE2__
        Masks m = len == 16 ? scan16(p + base) : scanTail(p + base, len);
#else
        Masks m = scanTail(p + base, len);
#endif
        if (m.end) {
            len = std::size_t(std::countr_zero(m.end));
            const unsigned keep = (1u << len) - 1;
            m.high &= keep;
            m.sjis &= keep;
            m.prefix &= keep;
            examined = base + len;
        }
        if (m.sjis)
            return Encoding::ShiftJis;
        if (m.high) {
            anyHigh = true;
            if (m.prefix)
                lastPrefix = base + 31 - std::size_t(std::countl_zero(m.prefix));
            while (next < base + len) {
                const unsigned bits = m.high >> (next - base);
                if (!bits) {
                    next = base + len;
                    break;
                }
                next += std::size_t(std::countr_zero(bits));
                const std::size_t run = std::size_t(std::countr_one(m.high >> (next - base)));
                next += run + (run & 1);   // an odd run takes the byte after it
            }
        } else if (next < base + len) {
            next = base + len;
        }
        if (m.end)
            break;
    }
    if (!anyHigh)
        return Encoding::Jis;
    if (next > examined)
        return Encoding::ShiftJis;   // the last byte of 0x80 and above has no partner
    if (lastPrefix != SIZE_MAX) {
        for (std::size_t i = lastPrefix + 1; i < examined; ++i)
            if (p[i] >= 0x80)
                return (p[i] >= 0xA1 && p[i] <= 0xDF) ? Encoding::EucJp : Encoding::ShiftJis;
    }
    return Encoding::EucJp;
}

QByteArray TAutoSjisConv::ConvertToSjis(QByteArray line)
{
    const std::size_t n = std::size_t(line.size());
    const Encoding enc = detect(line.constData(), n);
    if (enc == Encoding::ShiftJis)
        return line;
    // The common case, plain ASCII with both modes off, needs no copy.
    if (enc == Encoding::Jis && !twoByteMode && !kanaMode
        && plainRun(reinterpret_cast<const uchar*>(line.constData()), n, false) == n)
        return line;
    auto* p = reinterpret_cast<uchar*>(line.data());
    const std::size_t m = enc == Encoding::Jis ? convertJis(p, n) : convertEuc(p, n);
    line.truncate(qsizetype(m));
    return line;
}

std::size_t TAutoSjisConv::convertInPlace(char* data, std::size_t n)
{
    switch (detect(data, n)) {
    case Encoding::Jis: return convertJis(reinterpret_cast<uchar*>(data), n);
    case Encoding::EucJp: return convertEuc(reinterpret_cast<uchar*>(data), n);
    case Encoding::ShiftJis: break;
    }
    return n;
}

// ISO-2022-JP.  Detection found no byte of 0x80 or above before the first
// CR, LF, NUL or Ctrl-Z; such bytes after it are kept as they are and never
// taken into a pair or an escape sequence.
std::size_t TAutoSjisConv::convertJis(uchar* p, std::size_t n)
{
    std::size_t r = 0, w = 0;
    while (r < n) {
        if (!twoByteMode && !kanaMode) {
            keepRun(p, w, r, plainRun(p + r, n - r, false));
            if (r >= n)
                break;
        }
        const uchar b = p[r];
        if (b == 0x0E) {                 // SO
            kanaMode = true;
            twoByteMode = false;
            ++r;
            continue;
        }
        if (b == 0x0F) {                 // SI
            kanaMode = twoByteMode = false;
            ++r;
            continue;
        }
        if (b == 0x1B && n - r >= 3 && p[r + 1] < 0x80 && p[r + 2] < 0x80) {
            const uchar c1 = p[r + 1], c2 = p[r + 2];
            bool known = true;
            if (c1 == '$' && (c2 == '@' || c2 == 'B')) {
                twoByteMode = true;
                kanaMode = false;
            } else if (c1 == '(' && (c2 == 'B' || c2 == 'H' || c2 == 'J')) {
                twoByteMode = kanaMode = false;
            } else if (c1 == '(' && c2 == 'I') {
                kanaMode = true;
                twoByteMode = false;
            } else {
                known = false;
            }
            if (known) {
                r += 3;
                continue;
            }
        }
        if (twoByteMode) {
            if (b >= 0x21 && b <= 0x7E && n - r >= 2 && p[r + 1] < 0x80) {
                do {
                    putPair(p, w, p[r], p[r + 1]);
                    r += 2;
                } while (n - r >= 2 && p[r] >= 0x21 && p[r] <= 0x7E && p[r + 1] < 0x80);
            } else {
                p[w++] = b;              // blank, control, or a pair cut off by the end
                ++r;
            }
            continue;
        }
        if (kanaMode && b >= 0x21 && b <= 0x5F)
            p[w++] = uchar(b + 0x80);
        else
            p[w++] = b;
        ++r;
    }
    return w;
}

// EUC-JP.
std::size_t TAutoSjisConv::convertEuc(uchar* p, std::size_t n)
{
    std::size_t r = 0, w = 0;
    while (r < n) {
        if (!kanaMode) {
            keepRun(p, w, r, plainRun(p + r, n - r, true));
            // Kanji, kana and short ASCII stretches between them.
            while (n - r >= 2) {
                const uchar b = p[r];
                if (b >= 0xA1 && b <= 0xFE) {
                    putPair(p, w, b, p[r + 1]);
                    r += 2;
                } else if (b == 0x8E && p[r + 1] >= 0xA1 && p[r + 1] <= 0xDF) {
                    p[w++] = p[r + 1];   // half-width katakana: same byte in Shift_JIS
                    r += 2;
                } else if (b >= 0x20 && b < 0x80 && b != 0x1B) {
                    p[w++] = b;
                    ++r;
                } else {
                    break;
                }
            }
            if (r >= n)
                break;
        }
        const uchar b = p[r];
        if (b == 0x1B && n - r >= 3 && p[r + 1] == '(' && (p[r + 2] == 'I' || p[r + 2] == 'J')) {
            kanaMode = p[r + 2] == 'I';
            r += 3;
            continue;
        }
        if (b == 0x0E || b == 0x0F) {    // SO, SI
            kanaMode = b == 0x0E;
            ++r;
            continue;
        }
        if (kanaMode) {
            p[w++] = (b >= 0x21 && b <= 0x5F) ? uchar(b + 0x80) : b;
            ++r;
            continue;
        }
        if (b == 0x8E && n - r >= 2 && p[r + 1] >= 0xA1 && p[r + 1] <= 0xDF) {
            p[w++] = p[r + 1];
            r += 2;
        } else if (n - r == 1 && (b == 0x8E || (b >= 0xA1 && b <= 0xFE))) {
            p[w++] = b;                  // a lead byte cut off by the line's end stays
            ++r;
        } else if (b >= 0xA1 && b <= 0xFE) {
            putPair(p, w, b, p[r + 1]);
            r += 2;
        } else {
            p[w++] = uchar(b & 0x7F);
            ++r;
        }
    }
    return w;
}
