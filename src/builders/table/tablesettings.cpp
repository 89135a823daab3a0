#include "builders/table/tablesettings.h"

#include <algorithm>

const char* TableSettings::attrName(int attr)
{
    static const char* const names[kCount] = {"ALIGN",       "WIDTH",       "HEIGHT",  "BORDER",
                                              "CELLSPACING", "CELLPADDING", "BGCOLOR", "BORDERCOLOR"};
    return attr >= 0 && attr < kCount ? names[attr] : "";
}

QString TableSettings::tagText() const
{
    QString out = QStringLiteral(" <TABLE");
    for (int i = 0; i < kCount; ++i) {
        if (values[i] == entry::kNothing)
            continue;
        out += QLatin1Char(' ');
        out += QLatin1String(attrName(i));
        out += QLatin1String("=\"");
        out += values[i];
        out += QLatin1Char('"');
    }
    out += QLatin1String(" >");
    return out;
}

std::optional<int> TableSettings::confirm(const std::array<QString, kComboCount>& entries)
{
    std::array<QString, kComboCount> checked;
    for (int i = 0; i < kComboCount; ++i) {
        if (entries[i] == entry::kNothing || i == Align) {
            checked[i] = entries[i];
            continue;
        }
        const std::optional<QString> number = entry::wholeNumber(entries[i]);
        if (!number)
            return i;
        checked[i] = *number;
    }
    std::copy(checked.begin(), checked.end(), values.begin());
    return std::nullopt;
}
