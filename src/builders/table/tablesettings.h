#pragma once
// The attributes of the <TABLE> tag that the table builder writes at the head
// of a converted table, and the whole-number entries its dialogs accept.

#include <QString>
#include <array>
#include <optional>

// The value that leaves an attribute out.
inline const QString kNone = QStringLiteral("(なし)");

// An entry read as a whole number and written back in plain decimal
// ("05" -> "5", " 7" -> "7"); nothing when it is not one.
std::optional<QString> wholeNumberText(const QString& entry);

// "'abc' は数値ではありません"
QString notANumberMessage(const QString& entry);

struct TableSettings {
    // In the order the tag writes them.
    enum Attr { Align, Width, Height, Border, CellSpacing, CellPadding, BgColor, BorderColor };
    static constexpr int kCount = 8;
    // The six set from the combo boxes of the settings dialog (Align..CellPadding).
    static constexpr int kComboCount = 6;

    std::array<QString, kCount> values{kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone};

    static const char* attrName(int attr);

    // " <TABLE" + one ` NAME="value"` per attribute that is not "(なし)" + " >".
    QString tagText() const;

    // The settings dialog's confirm step.  The six combo settings are reset to
    // "(なし)", then each entry that is not "(なし)" is stored in order: ALIGN as
    // typed, the others as whole numbers.  Returns the index of the first entry
    // that is not a whole number (those before it stay stored, it and those
    // after it stay "(なし)"), or nothing when all were stored.
    std::optional<int> confirm(const std::array<QString, kComboCount>& entries);
};
