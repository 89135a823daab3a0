#pragma once
// JIS X 0208 as code page 932 maps it: the shared character table of the
// EUC-JP and ISO-2022-JP codecs.  Internal to the charset layer.

#include <QtGlobal>

#include <cstdint>

namespace charset::detail {

// The character of row/cell bytes j1, j2 (each 0x21-0x7E), 0 when code page
// 932 gives that pair no character that encodes back to the same pair.
char16_t jisToChar(uchar j1, uchar j2);

// The JIS pair (j1 << 8 | j2) that holds c, 0 when JIS X 0208 has no place
// for it.  Characters that input methods type for a code page 932 one
// (WAVE DASH for FULLWIDTH TILDE, ...) get that one's pair, as Shift_JIS
// saving does.
uint16_t charToJis(char16_t c);

} // namespace charset::detail
