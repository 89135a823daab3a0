#pragma once
// Internal entry points of the codecs in encodings.h.  Use encodings.h.

#include "charset/encodings.h"
#include "charset/sjiscore.h"

namespace charset::detail {

// How an encoder writes '\n' and U+2029: as themselves (no break), or as
// the breaks of a document, one per line.
struct Breaks {
    bool translate = false;
    std::span<const LineBreak> perLine; // the i-th break; past its end `fallback`
    LineBreak fallback = LineBreak::CrLf;

    LineBreak at(size_t line) const { return line < perLine.size() ? perLine[line] : fallback; }
};

// UTF-8: `out` has room for bytes.size() units; returns the units written.
qsizetype decodeUtf8Into(QByteArrayView bytes, char16_t* out, bool translateBreaks,
                         sjis::detail::FirstBreak* firstBreak);
// With a single break kind, `lineBreak` holds its bytes.
std::optional<QByteArray> encodeUtf8(QStringView text, QByteArrayView lineBreak,
                                     bool translateBreaks, EncodeError* error);

QString decodeEucJp(QByteArrayView bytes);
std::optional<QByteArray> encodeEucJp(QStringView text, const Breaks& breaks, EncodeError* error);

QString decodeIso2022Jp(QByteArrayView bytes);
// The decoder's own reading, without the check that falls back to
// stand-ins for every byte should its text not encode back to the bytes
// (for the fuzz target, which asserts that it always does).
QString decodeIso2022JpUnchecked(QByteArrayView bytes);
std::optional<QByteArray> encodeIso2022Jp(QStringView text, const Breaks& breaks,
                                          EncodeError* error);

// Validity of UTF-8 (as the decoder reads it: no stand-ins).  With `cut`, the
// bytes are a sample that may end inside a character, and a sequence cut by
// that end counts as valid.
bool isValidUtf8(QByteArrayView bytes, bool cut);

// Fills *error for the character at `offset` (line and column from 1).
void locateError(QStringView text, qsizetype offset, EncodeError* error);

} // namespace charset::detail
