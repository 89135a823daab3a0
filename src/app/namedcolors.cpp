#include "app/namedcolors.h"

#include <algorithm>

int namedColorIndex(std::uint32_t rgb)
{
    rgb &= 0xFFFFFF;
    for (int i = 0; i < kNamedColorCount; ++i)
        if (kNamedColors[i].rgb == rgb)
            return i;
    return -1;
}

int namedColorIndex(const QColor& color)
{
    if (!color.isValid())
        return -1;
    return namedColorIndex(std::uint32_t(color.red()) << 16 | std::uint32_t(color.green()) << 8
                           | std::uint32_t(color.blue()));
}

QColor namedColor(int index)
{
    if (index < 0 || index >= kNamedColorCount)
        return {};
    const std::uint32_t rgb = kNamedColors[size_t(index)].rgb;
    return QColor(int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF));
}

QString quotedColorName(int index)
{
    if (index < 0 || index >= kNamedColorCount)
        return {};
    return QLatin1Char('"') + QLatin1String(kNamedColors[size_t(index)].name) + QLatin1Char('"');
}

QString colorCode(int red, int green, int blue)
{
    auto hex = [](int v) {
        return QStringLiteral("%1").arg(std::clamp(v, 0, 255), 2, 16, QLatin1Char('0')).toUpper();
    };
    return QStringLiteral("\"#") + hex(red) + hex(green) + hex(blue) + QLatin1Char('"');
}
