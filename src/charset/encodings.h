#pragma once
// The encodings a document can be read and saved in, beside the home
// encoding Shift_JIS.  Every codec here is lossless in the same way as the
// Shift_JIS one (sjis.h): a byte that does not form a character of the
// encoding becomes the stand-in sjis::rawByteChar(b), so that unedited text
// saves back to the very bytes it came from.
//
// ISO-2022-JP is a 7-bit code whose escapes can be placed in many ways; its
// codec writes escapes by fixed rules (see iso2022jp.cpp) and, reading,
// keeps as stand-ins the escape bytes those rules would not have written
// there, and any 7-bit byte that does not read as a character: byte b below
// 0x80 stands as U+F700 + b (isRawByte7()).

#include "charset/sjis.h"
#include "charset/textfile.h"

#include <QString>

#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace charset {

using sjis::DocumentText;
using sjis::EncodeError;
using sjis::LineBreak;

enum class Encoding { ShiftJis, Utf8, Utf8Bom, EucJp, Iso2022Jp };

// The name shown in the status bar: "Shift_JIS", "UTF-8", "UTF-8 (BOM)",
// "EUC-JP", "ISO-2022-JP".
QString encodingName(Encoding e);
// The encoding of a name given by encodingName() (for settings and
// recovery files); nullopt for anything else.
std::optional<Encoding> encodingFromName(QStringView name);

// ISO-2022-JP's stand-ins for 7-bit bytes (see above).
constexpr bool isRawByte7(char16_t c) { return c >= 0xF700 && c <= 0xF77F; }
constexpr char16_t rawByte7Char(unsigned char b) { return char16_t(0xF700 + b); }

// The encoding the bytes of a file are most likely in; the rules, in order:
// a UTF-8 byte-order mark; a charset declared by a <meta> in the first 4 KB
// when the bytes are valid in it; valid UTF-8 with bytes over 0x7F;
// unmistakable ISO-2022-JP or EUC-JP; else Shift_JIS.  Looks at a sample
// of at most 64 KB from the first byte over 0x7F (or ESC), so it is cheap
// for big files.
Encoding detectEncoding(QByteArrayView bytes);
// Where the first <meta> of the first 4 KB names a charset (<meta
// charset=...> or http-equiv's content="...; charset=..."): the offset and
// length of the name; nullopt when none does.
std::optional<std::pair<qsizetype, qsizetype>> declaredCharsetLabel(QByteArrayView bytes);
// The name a page declares for an encoding ("Shift_JIS", "UTF-8", "EUC-JP",
// "ISO-2022-JP"; a byte-order mark is no part of it).
QString charsetLabel(Encoding e);

// Decodes bytes as they stand.  For Utf8Bom a leading byte-order mark is
// dropped (encode() writes it again).
QString decode(QByteArrayView bytes, Encoding e);
std::optional<QByteArray> encode(QStringView text, Encoding e, EncodeError* error = nullptr);
bool canEncode(char32_t c, Encoding e);

// The message for a character that `e` cannot hold, as sjis::describe().
QString describe(const EncodeError& error, Encoding e);

// The document forms, as in textfile.h.
DocumentText decodeDocument(QByteArrayView bytes, Encoding e);
std::optional<QByteArray> encodeDocument(QStringView text, Encoding e, LineBreak lineBreak,
                                         EncodeError* error = nullptr);
std::optional<QByteArray> encodeDocumentLines(QStringView text, Encoding e,
                                              std::span<const LineBreak> breaks,
                                              LineBreak fallback, EncodeError* error = nullptr);
std::vector<LineBreak> lineBreaksOf(QByteArrayView bytes, Encoding e);
bool hasMixedBreaks(QByteArrayView bytes, Encoding e, LineBreak first);

} // namespace charset
