#include "builders/table/tablesettings.h"

std::optional<QString> wholeNumberText(const QString& entry)
{
    // Blanks around the number are tolerated; a sign, decimal digits and a
    // value that fits in 32 bits are required.
    bool ok = false;
    const int value = entry.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return QString::number(value);
}

QString notANumberMessage(const QString& entry)
{
    return QStringLiteral("'%1' は数値ではありません").arg(entry);
}

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
        if (values[i] == kNone)
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
    for (int i = 0; i < kComboCount; ++i)
        values[i] = kNone;
    for (int i = 0; i < kComboCount; ++i) {
        if (entries[i] == kNone)
            continue;
        if (i == Align) {
            values[i] = entries[i];
            continue;
        }
        const std::optional<QString> number = wholeNumberText(entries[i]);
        if (!number)
            return i;
        values[i] = *number;
    }
    return std::nullopt;
}
