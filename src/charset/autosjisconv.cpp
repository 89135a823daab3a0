#include "charset/autosjisconv.h"

#include <algorithm>
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


// ---------------------------------------------------------------- AVX-512
// The same walks, 64 bytes at a time, on processors with AVX-512 VBMI2.
// A block is converted lane by lane and the dropped bytes (EUC-JP kana
// prefixes, escapes, shift codes) are squeezed out with one compress; loads
// and stores are masked, so nothing outside the line is read or written and
// nothing past the read position is overwritten.  A block never splits a
// pair: a lead byte in the last lane waits for the next block.  Whatever the
// block cannot take as it stands (a malformed pair, a byte that changes kana
// mode in EUC-JP, a byte of 0x80 and above in JIS) ends the block there and
// the byte-by-byte walk takes one step.

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QN4_WIDE 1
#define QN4_WIDE_FN \
    __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,avx512vbmi2,bmi,bmi2,popcnt,lzcnt")))
#define QN4_WIDE_INLINE QN4_WIDE_FN __attribute__((always_inline)) inline
#include <immintrin.h>

using Mask = std::uint64_t;

QN4_WIDE_INLINE Mask lowMask(std::size_t n)   // bits [0, n), n <= 64
{
    return n >= 64 ? ~Mask(0) : _bzhi_u64(~Mask(0), unsigned(n));
}

// Pair starts in `h`: each run of set bits is read as pairs from its first
// bit (bit 0 of the block is never the second byte of a pair).
QN4_WIDE_INLINE Mask pairLeads(Mask h)
{
    constexpr Mask even = 0x5555555555555555ull;
    const Mask starts = h & ~(h << 1);
    const Mask evenRuns = h & ~(h + (starts & even));   // runs starting on an even bit
    return (evenRuns & even) | (h & ~evenRuns & ~even);
}

struct PrevIndex {
    alignas(64) std::uint8_t idx[64];
    constexpr PrevIndex() : idx{}
    {
        for (int i = 1; i < 64; ++i)
            idx[i] = std::uint8_t(i - 1);
    }
};
constexpr PrevIndex kPrevIndex;

// JIS X 0208 pairs of 7-bit bytes `j` (both bytes 0x21-0x7E) to Shift_JIS:
// lead lanes `lead`, trail lanes `lead << 1`; other lanes come from `v`.
QN4_WIDE_INLINE __m512i convertPairs(__m512i v, __m512i j, Mask lead)
{
    const Mask trail = lead << 1;
    // Lead: (j1 + 1) / 2 + 0x70, then 0xA0-0xDF skipped.
    const __m512i half = _mm512_avg_epu8(j, _mm512_setzero_si512());
    __m512i leadByte = _mm512_add_epi8(half, _mm512_set1_epi8(0x70));
    leadByte = _mm512_mask_add_epi8(leadByte, _mm512_cmpgt_epu8_mask(half, _mm512_set1_epi8(0x2F)), leadByte,
                                    _mm512_set1_epi8(0x40));
    // Trail: j2 + 0x1F (and one more from 0x60, skipping 0x7F) after an odd
    // j1, j2 + 0x7E after an even one.
    const __m512i prev = _mm512_maskz_permutexvar_epi8(~Mask(0), _mm512_load_si512(kPrevIndex.idx), j);
    const Mask oddLead = _mm512_test_epi8_mask(prev, _mm512_set1_epi8(1));
    const Mask upper = _mm512_cmpge_epu8_mask(j, _mm512_set1_epi8(0x60));
    __m512i add = _mm512_mask_blend_epi8(oddLead, _mm512_set1_epi8(0x7E), _mm512_set1_epi8(0x1F));
    add = _mm512_mask_add_epi8(add, oddLead & upper, add, _mm512_set1_epi8(1));
    const __m512i trailByte = _mm512_add_epi8(j, add);
    return _mm512_mask_blend_epi8(trail, _mm512_mask_blend_epi8(lead, v, leadByte), trailByte);
}

// Squeezes the lanes `keep` of `out` to the front and stores them at p.
QN4_WIDE_INLINE std::size_t storeKept(uchar* p, __m512i out, Mask keep)
{
    const std::size_t count = std::size_t(_mm_popcnt_u64(keep));
    _mm512_mask_storeu_epi8(p, lowMask(count), _mm512_maskz_compress_epi8(keep, out));
    return count;
}

QN4_WIDE_INLINE Mask inRange(__m512i v, int lo, int hi)
{
    return _mm512_cmpge_epu8_mask(v, _mm512_set1_epi8(char(lo))) & _mm512_cmple_epu8_mask(v, _mm512_set1_epi8(char(hi)));
}

// Detection (the rule of TAutoSjisConv::detect).  Runs of bytes of 0x80 and
// above pair up on their own, so only a run that reaches the end of the
// examined part can leave a byte without a partner; and only the first byte
// of 0x80 and above after the last 0x8E matters for the kana check.
// `*examined` receives the end of the examined part, or for a Shift_JIS line
// a position no further than it.
QN4_WIDE_FN TAutoSjisConv::Encoding detectWide(const uchar* p, std::size_t n, std::size_t* examined = nullptr)
{
    using Enc = TAutoSjisConv::Encoding;
    bool anyHigh = false;
    bool afterPrefix = false;    // a 0x8E waits for the next byte of 0x80 and above
    bool kanaOk = true;          // that byte, for the last 0x8E, was 0xA1-0xDF
    std::size_t last = 0;        // the last block examined
    std::size_t len = 0;         // ... its examined lanes
    Mask high = 0;               // ... and its bytes of 0x80 and above
    for (std::size_t base = 0; base < n; base += 64) {
        last = base;
        const Mask k = lowMask(n - base);
        const __m512i v = _mm512_maskz_loadu_epi8(k, p + base);
        const Mask end = k & (_mm512_cmpeq_epi8_mask(v, _mm512_setzero_si512())
                              | _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(0x0A))
                              | _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(0x0D))
                              | _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(0x1A)));
        len = end ? std::size_t(std::countr_zero(end)) : std::min<std::size_t>(n - base, 64);
        high = _mm512_movepi8_mask(v) & lowMask(len);
        if (high) {
            const Mask prefix = high & _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(char(0x8E)));
            if (high & _mm512_cmple_epu8_mask(v, _mm512_set1_epi8(char(0x9F))) & ~prefix) {
                if (examined)
                    *examined = base + len;   // no terminator before here
                return Enc::ShiftJis;
            }
            anyHigh = true;
            Mask after = high;
            if (prefix) {
                const unsigned last = 63u - unsigned(std::countl_zero(prefix));
                after = last == 63 ? 0 : high & ~lowMask(last + 1);
                afterPrefix = true;
                kanaOk = true;           // none after it so far: that passes
            }
            if (afterPrefix && after) {
                const Mask first = after & -after;
                kanaOk = (first & inRange(v, 0xA1, 0xDF)) != 0;
                afterPrefix = false;
            }
        }
        if (end)
            break;
    }
    if (examined)
        *examined = last + len;
    if (!anyHigh)
        return Enc::Jis;
    // The run of bytes of 0x80 and above that ends the examined part.
    std::size_t run = len ? std::size_t(std::countl_one(high << (64 - len))) : 0;
    if (run == len) {                // it may go on into earlier blocks
        std::size_t i = last;
        while (i > 0 && p[i - 1] >= 0x80)
            --i;
        run += last - i;
    }
    if (run & 1)
        return Enc::ShiftJis;        // the last byte of 0x80 and above has no partner
    return kanaOk ? Enc::EucJp : Enc::ShiftJis;
}

// EUC-JP with kana mode off, from (r, w) on, as far as the blocks go.
QN4_WIDE_FN void eucWide(uchar* p, std::size_t n, std::size_t& r, std::size_t& w)
{
    while (r < n) {
        const std::size_t left = n - r;
        const __m512i v = _mm512_maskz_loadu_epi8(lowMask(left), p + r);
        std::size_t m = left < 64 ? left : 64;
        // ESC, SO, SI; 0x80-0xA0 other than 0x8E; 0xFF.
        const Mask high = _mm512_movepi8_mask(v);
        const Mask prefix = _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(char(0x8E)));
        const Mask stop = lowMask(m)
            & (_mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(0x1B))
               | _mm512_cmpeq_epi8_mask(_mm512_and_si512(v, _mm512_set1_epi8(char(0xFE))), _mm512_set1_epi8(0x0E))
               | (high & ~prefix & _mm512_cmple_epu8_mask(v, _mm512_set1_epi8(char(0xA0))))
               | _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(char(0xFF))));
        if (stop)
            m = std::size_t(std::countr_zero(stop));
        Mask lead = pairLeads(high & lowMask(m));
        if (m && (lead >> (m - 1)) & 1) {
            lead &= ~(Mask(1) << (m - 1));
            if (m < left)
                --m;   // its partner is in the next block (or is the stop byte)
            // else: a lead byte cut off by the line's end stays
        }
        // Partners: 0xA1-0xFE after a lead, 0xA1-0xDF after a prefix.
        const Mask kanaLead = lead & prefix;
        const Mask bad = ((lead & ~prefix) << 1 & ~inRange(v, 0xA1, 0xFE))
                         | (kanaLead << 1 & ~inRange(v, 0xA1, 0xDF));
        if (bad) {
            const std::size_t at = std::size_t(std::countr_zero(bad)) - 1;   // the lead
            if (at < m)
                m = at;
        }
        if (m == 0)
            return;
        const Mask k = lowMask(m);
        lead &= k;
        const __m512i j = _mm512_and_si512(v, _mm512_set1_epi8(0x7F));
        const __m512i out = convertPairs(v, j, lead & ~prefix);
        w += storeKept(p + w, out, k & ~(lead & prefix));
        r += m;
        if (m < 63)
            return;   // stopped early: the byte-by-byte walk decides
    }
}

QN4_WIDE_INLINE Mask eqMask(__m512i v, int c)
{
    return _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(char(c)));
}

QN4_WIDE_INLINE Mask prefixXor(Mask x)
{
    x ^= x << 1;
    x ^= x << 2;
    x ^= x << 4;
    x ^= x << 8;
    x ^= x << 16;
    x ^= x << 32;
    return x;
}

// The lanes where a flag is on, given the lanes `changes` where it is set
// anew (to the bits `to`, in lane order) and its value before the block.
QN4_WIDE_INLINE Mask flagLanes(Mask changes, Mask to, bool before)
{
    const Mask seq = _pext_u64(to, changes);
    const Mask flips = _pdep_u64(seq ^ ((seq << 1) | Mask(before)), changes);
    return prefixXor(flips) ^ (before ? ~Mask(0) : 0);
}

// JIS from (r, w) on in any shift state, as far as the blocks go.  The
// escapes and shift codes of a block are found all at once, on the guess
// that each starts a step; the pairs then confirm it (a control byte that
// is the second byte of a pair ends the block before that pair).
QN4_WIDE_FN void jisWide(uchar* p, std::size_t n, std::size_t& r, std::size_t& w, bool& twoByte, bool& kana)
{
    while (r < n) {
        const std::size_t left = n - r;
        const __m512i v = _mm512_maskz_loadu_epi8(lowMask(left), p + r);
        std::size_t m = left < 64 ? left : 64;
        if (const Mask high = _mm512_movepi8_mask(v))
            m = std::min<std::size_t>(m, std::size_t(std::countr_zero(high)));
        Mask esc = eqMask(v, 0x1B);
        if (left > 64 && (esc >> 62))   // its operands are in the next block
            m = std::min<std::size_t>(m, 62 + std::size_t(std::countr_zero(esc >> 62)));
        Mask k = lowMask(m);
        esc &= k;
        const Mask so = eqMask(v, 0x0E) & k, si = eqMask(v, 0x0F) & k;
        const Mask paren = eqMask(v, '(') >> 1;
        const Mask escTwo = esc & (eqMask(v, '$') >> 1) & ((eqMask(v, '@') | eqMask(v, 'B')) >> 2);
        const Mask escKana = esc & paren & (eqMask(v, 'I') >> 2);
        const Mask escAscii = esc & paren & ((eqMask(v, 'B') | eqMask(v, 'H') | eqMask(v, 'J')) >> 2);
        const Mask escs = escTwo | escKana | escAscii;
        const Mask changes = escs | so | si;
        const Mask drop = so | si | escs | (escs << 1) | (escs << 2);
        const Mask twoState = flagLanes(changes, escTwo, twoByte);
        const Mask kanaState = flagLanes(changes, escKana | so, kana);
        const Mask twoLanes = twoState & k & ~drop;
        const Mask kanaLanes = kanaState & ~twoState & k & ~drop;
        bool t2 = twoByte, tk = kana;
        if (changes) {
            const unsigned last = 63u - unsigned(std::countl_zero(changes));
            t2 = (twoState >> last) & 1;
            tk = (kanaState >> last) & 1;
        }
        // In two-byte mode a byte 0x21-0x7E starts a pair.
        const Mask pairBytes = twoLanes & inRange(v, 0x21, 0x7E);
        Mask lead = pairLeads(pairBytes);
        const Mask bad = (lead << 1) & ~pairBytes & k;
        std::size_t cut = m;
        if (bad) {
            cut = std::size_t(std::countr_zero(bad)) - 1;
        } else if (m && (lead >> (m - 1)) & 1) {
            if (m < left)
                cut = m - 1;               // its partner is in the next block
            else
                lead &= ~(Mask(1) << (m - 1));   // cut off by the line's end: stays
        }
        if (cut < m) {
            // A pair start in two-byte mode.
            m = cut;
            t2 = true;
            tk = (kanaState >> cut) & 1;
            k = lowMask(m);
        }
        if (m == 0)
            return;
        lead &= k;
        __m512i out = convertPairs(v, v, lead);
        out = _mm512_mask_add_epi8(out, kanaLanes & k & inRange(v, 0x21, 0x5F), v, _mm512_set1_epi8(char(0x80)));
        w += storeKept(p + w, out, k & ~drop);
        r += m;
        twoByte = t2;
        kana = tk;
        if (m < 62)
            return;
    }
}

bool cpuHasWide()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")
        && __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi")
        && __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("bmi2");
}
#else
bool cpuHasWide() { return false; }
#endif

bool g_wide = cpuHasWide();

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
#ifdef QN4_WIDE
    if (g_wide)
        return detectWide(p, n);
#endif
    return detectNarrow(p, n);
}

void TAutoSjisConv::setWideVectors(bool on) { g_wide = on && cpuHasWide(); }
bool TAutoSjisConv::wideVectors() { return g_wide; }

TAutoSjisConv::Encoding TAutoSjisConv::detectNarrow(const uchar* p, std::size_t n)
{
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
    const std::size_t m = enc == Encoding::Jis ? convertJis(p, n, 0, 0) : convertEuc(p, n, 0, 0);
    line.truncate(qsizetype(m));
    return line;
}

std::size_t TAutoSjisConv::convertInPlace(char* data, std::size_t n)
{
    switch (detect(data, n)) {
    case Encoding::Jis: return convertJis(reinterpret_cast<uchar*>(data), n, 0, 0);
    case Encoding::EucJp: return convertEuc(reinterpret_cast<uchar*>(data), n, 0, 0);
    case Encoding::ShiftJis: break;
    }
    return n;
}

std::size_t TAutoSjisConv::convertLines(char* data, std::size_t size)
{
    auto* p = reinterpret_cast<uchar*>(data);
    std::size_t r = 0, w = 0;
    for (;;) {
        // The line p[r, end) and its encoding; the examined part usually
        // ends at the line's '\n'.
        std::size_t end;
        Encoding enc;
#ifdef QN4_WIDE
        if (g_wide) {
            std::size_t examined;
            enc = detectWide(p + r, size - r, &examined);
            end = r + examined;
        } else
#endif
        {
            end = r;
            enc = Encoding::ShiftJis;   // set below
        }
        if (end < size && p[end] != '\n') {
            const void* nl = std::memchr(p + end, '\n', size - end);
            end = nl ? std::size_t(static_cast<const uchar*>(nl) - p) : size;
        }
#ifdef QN4_WIDE
        if (!g_wide)
#endif
            enc = detectNarrow(p + r, end - r);
        switch (enc) {
        case Encoding::Jis: w = convertJis(p, end, r, w); break;
        case Encoding::EucJp: w = convertEuc(p, end, r, w); break;
        case Encoding::ShiftJis:
            if (w != r)
                std::memmove(p + w, p + r, end - r);
            w += end - r;
            break;
        }
        if (end >= size)
            return w;
        p[w++] = '\n';
        r = end + 1;
    }
}

// ISO-2022-JP.  Detection found no byte of 0x80 or above before the first
// CR, LF, NUL or Ctrl-Z; such bytes after it are kept as they are and never
// taken into a pair or an escape sequence.
std::size_t TAutoSjisConv::convertJis(uchar* p, std::size_t n, std::size_t r, std::size_t w)
{
    while (r < n) {
#ifdef QN4_WIDE
        if (g_wide) {
            jisWide(p, n, r, w, twoByteMode, kanaMode);
            if (r >= n)
                break;
        } else
#endif
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
std::size_t TAutoSjisConv::convertEuc(uchar* p, std::size_t n, std::size_t r, std::size_t w)
{
    while (r < n) {
#ifdef QN4_WIDE
        if (!kanaMode && g_wide) {
            eucWide(p, n, r, w);
            if (r >= n)
                break;
        } else
#endif
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
