#pragma once
// The values the builders' option dialogs read from their combo boxes:
// "(なし)" leaves an attribute out; numeric entries are whole numbers,
// written back in plain decimal.

#include <QString>
#include <optional>

namespace entry {

// The entry that leaves an attribute out.
inline const QString kNothing = QStringLiteral("(なし)");

// "050" -> "50", " 7" -> "7", "-3" -> "-3"; nothing when the entry is not a
// whole number that fits 32 bits.
std::optional<QString> wholeNumber(const QString& text);

// "'abc' は数値ではありません"
QString notANumber(const QString& text);

} // namespace entry
