#include "builders/entryvalue.h"

namespace entry {

std::optional<QString> wholeNumber(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return QString::number(value);
}

QString notANumber(const QString& text)
{
    return QStringLiteral("'%1' は数値ではありません").arg(text);
}

QString outOfRange(const QString& text, int low, int high)
{
    // One pass, so that a '%' typed in the entry is not taken for a place.
    return QStringLiteral("'%1' は %2 から %3 までの数値ではありません")
        .arg(text, QString::number(low), QString::number(high));
}

std::optional<QString> refusal(const QString& text, int low, int high)
{
    const std::optional<QString> number = wholeNumber(text);
    if (!number)
        return notANumber(text);
    const int value = number->toInt();
    if (value < low || value > high)
        return outOfRange(text, low, high);
    return std::nullopt;
}

} // namespace entry
