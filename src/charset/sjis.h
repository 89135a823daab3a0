#pragma once
// Lossless Shift_JIS (Windows code page 932) text layer.
//
// Files are bytes; the editor holds Unicode.  decode() maps every byte
// sequence that code page 932 maps, and that encodes back to the same bytes,
// to its character.  Every other byte (invalid lead or trail byte, unmapped
// pair, stray 0x80 / 0xA0 / 0xFD-0xFF, a lead byte at the very end) becomes
// a private code point that stands for that one byte, so that
// encode(decode(b)) == b for every byte string b.  Bytes below 0x80 are always
// ASCII, so only the 128 bytes 0x80-0xFF ever need a stand-in.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

namespace sjis {

// The stand-in for raw byte b (0x80-0xFF) is U+F700 + b, i.e. U+F780-U+F7FF,
// a private-use range that code page 932 itself never produces.
constexpr char16_t kRawByteBase = 0xF700;
constexpr bool isRawByte(char16_t c) { return c >= 0xF780 && c <= 0xF7FF; }
constexpr char16_t rawByteChar(unsigned char b) { return char16_t(kRawByteBase + b); }

// Decodes bytes as they stand (line breaks and NULs included).
QString decode(QByteArrayView bytes);

// Where encoding failed: the first character that code page 932 cannot hold.
// line and column count from 1 (for messages); a line ends at '\n', '\r' or
// U+2029, a "\r\n" pair counts as one break.  `offset` is the index of the
// character in the text (UTF-16 units).
struct EncodeError {
    qsizetype line = 0;
    qsizetype column = 0;
    qsizetype offset = 0;
    char32_t character = 0;
};

// Encodes text exactly (no line-break translation).  Returns nullopt and
// fills *error when a character cannot be held by code page 932.
std::optional<QByteArray> encode(QStringView text, EncodeError* error = nullptr);

// True when code page 932 can hold the character (raw-byte stand-ins count).
bool canEncode(char32_t c);

// "%1 行 %2 列の文字「x」(U+XXXX) は Shift_JIS で保存できません" style text
// for messages.
QString describe(const EncodeError& e);

} // namespace sjis
