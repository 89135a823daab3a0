#pragma once
// Internal entry points shared by sjis.cpp and textfile.cpp.  Use sjis.h and
// textfile.h instead.

#include "charset/sjis.h"
#include "charset/textfile.h"

#include <span>

namespace sjis::detail {

// Which line break was met first while decoding with translated breaks.
enum class FirstBreak { None, CrLf, Lf, Cr };

// Decodes `bytes` into `out`, which has room for bytes.size() units, and
// returns the number of units written.  With `translateBreaks`, CR LF, lone
// CR and lone LF each become '\n' and *firstBreak receives the first one.
qsizetype decodeInto(QByteArrayView bytes, char16_t* out, bool translateBreaks,
                     FirstBreak* firstBreak);

// Output is sized for the worst case; give a large unused tail back (cheap:
// big blocks shrink in place) so that a loaded document does not keep it.
template <typename String>
void releaseSlack(String& s)
{
    if (s.capacity() - s.size() > 64 * 1024)
        s.squeeze();
}

// Encodes `text`.  With `lineBreak` (1 or 2 bytes) each '\n' and U+2029 is
// written as those bytes; without, they are encoded like any character.
std::optional<QByteArray> encodeWithBreaks(QStringView text, QByteArrayView lineBreak,
                                           bool translateBreaks, EncodeError* error);

// Fills *error for the character at `offset` (line and column from 1).
// Only runs on failure, so a second walk over the text is fine.
void locateError(QStringView text, qsizetype offset, EncodeError* error);

// The bytes of a line break.
QByteArrayView breakBytes(LineBreak b);

// Appends `lf` (bytes where 0x0A only ever stands for a break) to `out`,
// each LF given its line's own break from `breaks`, lines past the list
// `fallback`.
void appendWithBreaks(QByteArray& out, QByteArrayView lf, std::span<const LineBreak> breaks,
                      LineBreak fallback);

} // namespace sjis::detail
