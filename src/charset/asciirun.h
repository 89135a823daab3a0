#pragma once
// The ASCII stretch of the byte decoders (Shift_JIS, UTF-8): bytes below
// 0x80 are copied through, sixteen at a time where SSE2 is there, and with
// translated breaks CR LF, lone CR and lone LF each become '\n' and the
// first one met is noted.  Internal to the charset layer.

#include "charset/sjiscore.h"

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace sjis::detail {

// Copies from p to o up to the first byte over 0x7F or the end; p and o are
// left there.  `o` must have room for a unit per byte, and sixteen more
// units may be stored past what is written.
template <bool TranslateBreaks>
inline void copyAscii(const uchar*& p, const uchar* const end, char16_t*& o, FirstBreak& first)
{
    for (;;) {
#if defined(__SSE2__)
        // The 16 units are always stored, but p and o only move past the
        // leading bytes that need no further look.
        const __m128i zero = _mm_setzero_si128();
        while (end - p >= 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            __m128i special = v;
            if constexpr (TranslateBreaks) {
                special = _mm_or_si128(special, _mm_cmpeq_epi8(v, _mm_set1_epi8('\r')));
                if (first == FirstBreak::None)
                    special = _mm_or_si128(special, _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
            }
            const unsigned mask = unsigned(_mm_movemask_epi8(special));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_unpacklo_epi8(v, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 8), _mm_unpackhi_epi8(v, zero));
            if (mask == 0) {
                p += 16;
                o += 16;
                continue;
            }
            const int clean = std::countr_zero(mask);
            p += clean;
            o += clean;
            break;
        }
#endif
        if (p == end || *p >= 0x80)
            return;
        const uchar b = *p;
        if constexpr (TranslateBreaks) {
            if (b == '\r') {
                if (end - p >= 2 && p[1] == '\n') {
                    if (first == FirstBreak::None)
                        first = FirstBreak::CrLf;
                    p += 2;
                } else {
                    if (first == FirstBreak::None)
                        first = FirstBreak::Cr;
                    ++p;
                }
                *o++ = u'\n';
                continue;
            }
            if (b == '\n' && first == FirstBreak::None)
                first = FirstBreak::Lf;
        }
        *o++ = b;
        ++p;
    }
}

// The ASCII stretch of the encoders: units below 0x80 are written as
// bytes, eight at a time where SSE2 is there, and '\n' as the line break
// when one is given.
class AsciiOut {
public:
    AsciiOut(QByteArrayView lineBreak, bool translateBreaks)
        : m_breakLen(translateBreaks ? lineBreak.size() : 0),
          m_break0(m_breakLen > 0 ? uchar(lineBreak[0]) : 0),
          m_break1(m_breakLen > 1 ? uchar(lineBreak[1]) : 0),
          // '\n' needs the slow path only when it is written as something else.
          m_lfSpecial(translateBreaks && !(m_breakLen == 1 && m_break0 == '\n'))
    {
#if defined(__SSE2__)
        // U+FFFF never passes as ASCII anyway, so it is a harmless "no match".
        m_lfVector = _mm_set1_epi16(short(m_lfSpecial ? u'\n' : 0xFFFF));
#endif
    }

    // Writes from p to o up to the first unit over 0x7F or the end; p and o
    // are left there.  `o` must have room for two bytes a unit, and eight
    // more bytes may be stored past what is written.
    void copy(const char16_t*& p, const char16_t* const end, uchar*& o) const
    {
        for (;;) {
#if defined(__SSE2__)
            const __m128i highMask = _mm_set1_epi16(short(0xFF80));
            const __m128i zero = _mm_setzero_si128();
            while (end - p >= 8) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                __m128i plain = _mm_cmpeq_epi16(_mm_and_si128(v, highMask), zero);
                plain = _mm_andnot_si128(_mm_cmpeq_epi16(v, m_lfVector), plain);
                const unsigned mask = ~unsigned(_mm_movemask_epi8(plain)) & 0xFFFFu;
                _mm_storel_epi64(reinterpret_cast<__m128i*>(o), _mm_packus_epi16(v, v));
                if (mask == 0) {
                    p += 8;
                    o += 8;
                    continue;
                }
                const int clean = std::countr_zero(mask) / 2;
                p += clean;
                o += clean;
                break;
            }
#endif
            if (p == end || *p >= 0x80)
                return;
            const char16_t c = *p;
            if (c == u'\n' && m_lfSpecial) {
                o[0] = m_break0;
                o[1] = m_break1;
                o += m_breakLen;
            } else {
                *o++ = uchar(c);
            }
            ++p;
        }
    }

    // The line break, for a paragraph separator met outside the stretch.
    void writeBreak(uchar*& o) const
    {
        o[0] = m_break0;
        o[1] = m_break1;
        o += m_breakLen;
    }

private:
    qsizetype m_breakLen;
    uchar m_break0;
    uchar m_break1;
    bool m_lfSpecial;
#if defined(__SSE2__)
    __m128i m_lfVector;
#endif
};

} // namespace sjis::detail
