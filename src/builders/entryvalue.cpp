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

} // namespace entry
