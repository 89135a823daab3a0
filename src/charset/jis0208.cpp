// JIS X 0208 rows 1-94 are the double-byte area of code page 932 laid out
// differently, so the tables come from the Shift_JIS ones and can never
// disagree with them.

#include "charset/jis0208.h"

#include <array>

namespace charset::detail {
namespace {

#include "charset/cp932_tables.inc"

// Shift_JIS lead/trail bytes of JIS row r, cell c (both 1-94).
uint16_t sjisOfJis(unsigned r, unsigned c)
{
    const unsigned s1 = (r + 1) / 2 + (r <= 62 ? 0x80 : 0xC0);
    const unsigned s2 = (r & 1) ? c + (c <= 63 ? 0x3F : 0x40) : c + 0x9E;
    return uint16_t(s1 << 8 | s2);
}

struct Tables {
    char16_t toChar[94][94] = {};
    uint16_t toJis[0x10000] = {};

    Tables()
    {
        for (unsigned r = 1; r <= 94; ++r) {
            for (unsigned c = 1; c <= 94; ++c) {
                const uint16_t s = sjisOfJis(r, c);
                const int row = kLeadRow[s >> 8];
                const char16_t ch = row >= 0 ? kDouble[row][s & 0xFF] : 0;
                toChar[r - 1][c - 1] = ch;
                if (ch)
                    toJis[ch] = uint16_t((r + 0x20) << 8 | (c + 0x20));
            }
        }
        // As the Shift_JIS encoder: typed look-alikes take the pair Windows
        // writes.  Decoding never gives them back.
        static constexpr struct { char16_t c, like; } kTyped[] = {
            {0x301C, 0xFF5E}, {0x2212, 0xFF0D}, {0x2016, 0x2225}, {0x2014, 0x2015},
            {0x00A2, 0xFFE0}, {0x00A3, 0xFFE1}, {0x00AC, 0xFFE2},
        };
        for (const auto& t : kTyped)
            if (!toJis[t.c])
                toJis[t.c] = toJis[t.like];
    }
};

const Tables& tables()
{
    static const Tables t;
    return t;
}

} // namespace

char16_t jisToChar(uchar j1, uchar j2)
{
    return tables().toChar[j1 - 0x21][j2 - 0x21];
}

uint16_t charToJis(char16_t c)
{
    return tables().toJis[c];
}

} // namespace charset::detail
