// Choosing the reader by extension, BMP through Qt, and handing the file's
// bytes to the readers without copying them (the file is mapped).

#include "builders/image/picturereader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

namespace {

// A file that cannot be mapped is read instead, up to this size.
constexpr qint64 kMaxReadBytes = 256LL * 1024 * 1024;

class FileBytes {
public:
    explicit FileBytes(const QString& path) : m_file(path) {}

    // The whole file, or false with *error set.
    bool open(QString* error)
    {
        const QFileInfo info(m_file.fileName());
        if (!info.exists()) {
            *error = QStringLiteral("ファイルが見つかりません");
            return false;
        }
        if (!info.isFile()) {
            *error = QStringLiteral("通常のファイルではありません");
            return false;
        }
        if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            *error = m_file.errorString();
            return false;
        }
        const qint64 size = m_file.size();
        if (size == 0)
            return true;
        if (uchar* p = m_file.map(0, size)) {
            m_view = QByteArrayView(reinterpret_cast<const char*>(p), size);
            return true;
        }
        if (size > kMaxReadBytes) {
            *error = QStringLiteral("ファイルが大きすぎます");
            return false;
        }
        m_copy = m_file.readAll();
        if (m_copy.size() != size) {
            *error = m_file.errorString();
            return false;
        }
        m_view = m_copy;
        return true;
    }

    QByteArrayView bytes() const { return m_view; }

private:
    QFile m_file;
    QByteArray m_copy;
    QByteArrayView m_view;
};

QString unsupportedText(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.isEmpty() ? QStringLiteral("拡張子のないファイルは読み込めません (.gif .jpg .bmp)")
                            : QStringLiteral("拡張子 .%1 の画像は読み込めません (.gif .jpg .bmp)").arg(suffix);
}

// Qt's BMP reader alone, whatever the content looks like.
void bmpOnly(QImageReader& reader)
{
    reader.setFormat("bmp");
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
}

QString bmpError(const QImageReader& reader)
{
    const QString e = reader.errorString();
    return e.isEmpty() || reader.error() == QImageReader::UnknownError
               ? QStringLiteral("Not a readable BMP picture")
               : e;
}

} // namespace

PictureKind pictureKindOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("gif"))
        return PictureKind::Gif;
    if (suffix == QLatin1String("jpg"))
        return PictureKind::Jpeg;
    if (suffix == QLatin1String("bmp"))
        return PictureKind::Bmp;
    return PictureKind::Unsupported;
}

PictureResult bmpSize(QByteArrayView bytes)
{
    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    bmpOnly(reader);
    PictureResult r;
    const QSize size = reader.size();
    if (size.isValid() && size.width() > 0 && size.height() > 0)
        r.size = size;
    else
        r.error = bmpError(reader);
    return r;
}

QImage bmpPixels(QByteArrayView bytes, qint64 maxPixels, QString* error)
{
    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    bmpOnly(reader);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) {
        if (error)
            *error = bmpError(reader);
        return {};
    }
    QImage image = reader.read();
    if (image.isNull()) {
        if (error)
            *error = bmpError(reader);
        return {};
    }
    // Qt reads a bitmap whole; one over the budget is made smaller after.
    const int f = reductionFor(image.width(), image.height(), maxPixels);
    if (f > 1)
        image = image.scaled((image.width() + f - 1) / f, (image.height() + f - 1) / f, Qt::IgnoreAspectRatio,
                             Qt::FastTransformation);
    return image;
}

int reductionFor(qint64 width, qint64 height, qint64 maxPixels)
{
    maxPixels = std::max<qint64>(maxPixels, 1);
    width = std::max<qint64>(width, 1);
    height = std::max<qint64>(height, 1);
    auto fits = [&](qint64 f) { return ((width + f - 1) / f) * ((height + f - 1) / f) <= maxPixels; };
    // Whole factors fit from some point on; start near it and step up.
    qint64 f = 1;
    while (!fits(f * 2))
        f *= 2;
    f = std::max<qint64>(1, f / 2);
    while (!fits(f))
        ++f;
    return int(std::min<qint64>(f, std::max(width, height)));
}

PictureResult readPictureSize(const QString& path)
{
    const PictureKind kind = pictureKindOf(path);
    if (kind == PictureKind::Unsupported)
        return PictureResult{{}, unsupportedText(path)};
    FileBytes file(path);
    PictureResult r;
    if (!file.open(&r.error))
        return r;
    switch (kind) {
    case PictureKind::Gif: return gifSize(file.bytes());
    case PictureKind::Jpeg: return jpegSize(file.bytes());
    default: return bmpSize(file.bytes());
    }
}

QImage readPicturePixels(const QString& path, qint64 maxPixels, QString* error)
{
    QString ignored;
    QString& err = error ? *error : ignored;
    const PictureKind kind = pictureKindOf(path);
    if (kind == PictureKind::Unsupported) {
        err = unsupportedText(path);
        return {};
    }
    FileBytes file(path);
    if (!file.open(&err))
        return {};
    switch (kind) {
    case PictureKind::Gif: return gifPixels(file.bytes(), maxPixels, &err);
    case PictureKind::Jpeg: return jpegPixels(file.bytes(), maxPixels, &err);
    default: return bmpPixels(file.bytes(), maxPixels, &err);
    }
}

PictureRead readPicture(const QString& path, qint64 previewPixels)
{
    PictureRead r;
    const PictureKind kind = pictureKindOf(path);
    if (kind == PictureKind::Unsupported) {
        r.result.error = unsupportedText(path);
        return r;
    }
    FileBytes file(path);
    if (!file.open(&r.result.error))
        return r;
    const QByteArrayView bytes = file.bytes();
    switch (kind) {
    case PictureKind::Gif:
        // One reading gives both, and fails alike for both.
        r.result = gifSizeAndPixels(bytes, previewPixels, previewPixels > 0 ? &r.preview : nullptr);
        return r;
    case PictureKind::Jpeg: r.result = jpegSize(bytes); break;
    default: r.result = bmpSize(bytes); break;
    }
    if (!r.result.ok() || previewPixels <= 0)
        return r;
    if (kind == PictureKind::Jpeg)
        r.preview = jpegPixels(bytes, previewPixels, &r.previewError);
    else
        r.preview = bmpPixels(bytes, previewPixels, &r.previewError);
    return r;
}
