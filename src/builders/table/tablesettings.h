#pragma once
// The attributes of the <TABLE> tag that the table builder writes at the head
// of a converted table.

#include "builders/entryvalue.h"

#include <QString>
#include <array>
#include <optional>

struct TableSettings {
    // In the order the tag writes them.
    enum Attr { Align, Width, Height, Border, CellSpacing, CellPadding, BgColor, BorderColor };
    static constexpr int kCount = 8;
    // The six set from the combo boxes of the settings dialog (Align..CellPadding).
    static constexpr int kComboCount = 6;

    std::array<QString, kCount> values{entry::kNothing, entry::kNothing, entry::kNothing, entry::kNothing,
                                         entry::kNothing, entry::kNothing, entry::kNothing, entry::kNothing};

    static const char* attrName(int attr);

    // " <TABLE" + one ` NAME="value"` per attribute that is not "(なし)" + " >".
    QString tagText() const;

    // The settings dialog's confirm step: each entry that is not "(なし)" is
    // stored, ALIGN as typed, the others as whole numbers; "(なし)" leaves the
    // attribute out.  Every entry is checked before anything is stored: when
    // one is not a whole number, its index (the first such, in tag order) is
    // returned and all eight settings stay as they were.
    std::optional<int> confirm(const std::array<QString, kComboCount>& entries);
};
