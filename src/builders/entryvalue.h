#pragma once
// The values the builders' option dialogs read from their combo boxes:
// "(なし)" leaves an attribute out; numeric entries are whole numbers,
// written back in plain decimal.

#include <QString>
#include <optional>

namespace entry {

// The entry that leaves an attribute out; also the caption of an insert
// command that has nothing to insert yet.
inline const QString kNothing = QStringLiteral("(なし)");

// "050" -> "50", " 7" -> "7", "-3" -> "-3"; nothing when the entry is not a
// whole number that fits 32 bits.
std::optional<QString> wholeNumber(const QString& text);

// "'abc' は数値ではありません"
QString notANumber(const QString& text);

// "'-50' は 1 から 9999 までの数値ではありません"
QString outOfRange(const QString& text, int low, int high);

// The refusal of an entry that must be a whole number from `low` to `high`
// (one of the two messages above), or nothing when it is one.
std::optional<QString> refusal(const QString& text, int low, int high);

} // namespace entry
