// Choosing the reader by extension, BMP through Qt, and handing the file's
// bytes to the readers without copying them (the file is mapped).

#include "builders/image/picturereader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

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
    if (qint64(size.width()) * size.height() > maxPixels) {
        if (error)
            *error = QStringLiteral("Picture too large to show (%1 x %2)").arg(size.width()).arg(size.height());
        return {};
    }
    QImage image = reader.read();
    if (image.isNull() && error)
        *error = bmpError(reader);
    return image;
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
