#include "builders/image/imagetag.h"

#include "builders/entryvalue.h"

#include <QFileInfo>

namespace {

void appendAttribute(QString& tag, const char* name, const QString& value)
{
    if (value == entry::kNothing)
        return;
    tag += QLatin1Char(' ');
    tag += QLatin1String(name);
    tag += QLatin1String("=\"");
    tag += value;
    tag += QLatin1Char('"');
}

} // namespace

ImageTag::ImageTag()
{
    m_size.fill(entry::kNothing);
    m_details.fill(entry::kNothing);
}

void ImageTag::pictureLoaded(const QString& path, QSize natural)
{
    m_imageFile = path;
    m_natural = natural;
    m_hasNatural = true;
    m_size.fill(entry::kNothing);
}

QString ImageTag::fileName() const
{
    return QFileInfo(m_imageFile).fileName();
}

QString ImageTag::naturalWidthText() const
{
    return m_hasNatural ? QString::number(m_natural.width()) : QString();
}

QString ImageTag::naturalHeightText() const
{
    return m_hasNatural ? QString::number(m_natural.height()) : QString();
}

QString ImageTag::shortTag() const
{
    return QStringLiteral(" <IMG SRC=\"") + fileName() + QStringLiteral("\">");
}

QString ImageTag::fullTag() const
{
    QString tag = QStringLiteral(" <IMG SRC=\"") + fileName() + QLatin1Char('"');
    appendAttribute(tag, "WIDTH", m_size[Width]);
    appendAttribute(tag, "HEIGHT", m_size[Height]);
    appendAttribute(tag, "BORDER", m_details[Border]);
    appendAttribute(tag, "ALIGN", m_details[Align]);
    appendAttribute(tag, "VSPACE", m_details[VSpace]);
    appendAttribute(tag, "HSPACE", m_details[HSpace]);
    appendAttribute(tag, "ALT", m_details[Alt]);
    tag += QLatin1Char('>');
    return tag;
}

std::optional<QString> ImageTag::confirmSize(const QString& width, const QString& height)
{
    // Every entry is checked before anything is stored.
    std::array<QString, 2> values;
    const QString* entries[2] = {&width, &height};
    for (size_t i = 0; i < 2; ++i) {
        if (*entries[i] == entry::kNothing) {
            values[i] = entry::kNothing;
            continue;
        }
        const std::optional<QString> number = entry::wholeNumber(*entries[i]);
        if (!number)
            return *entries[i];
        values[i] = *number;
    }
    m_size = values;
    return std::nullopt;
}

std::optional<QString> ImageTag::confirmDetails(const std::array<QString, kDetailCount>& entries)
{
    // Every entry is checked before anything is stored.
    std::array<QString, kDetailCount> values;
    values.fill(entry::kNothing);
    for (int i = 0; i < kDetailCount; ++i) {
        const QString& e = entries[size_t(i)];
        if (e == entry::kNothing)
            continue;
        if (i == Align || i == Alt) {
            values[size_t(i)] = e;
            continue;
        }
        const std::optional<QString> number = entry::wholeNumber(e);
        if (!number)
            return e;
        values[size_t(i)] = *number;
    }
    m_details = values;
    return std::nullopt;
}
