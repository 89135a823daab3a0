#pragma once
// Reading the pictures the image builder composes tags for: a GIF (giflib),
// JPEG (libjpeg) or BMP (Qt's own bitmap support) file, chosen by the
// file's extension.  The size comes from the header alone; pixels are
// decoded only when asked for, and only up to a pixel budget, so that a
// file claiming an enormous picture costs nothing.  Every failure comes
// back as the reader's error text.

#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

struct PictureResult {
    QSize size;        // width and height in pixels when read
    QString error;     // the reader's text when not
    bool ok() const { return error.isEmpty(); }
};

enum class PictureKind { Unsupported, Gif, Jpeg, Bmp };

// ".gif", ".jpg" or ".bmp" in any letter case.
PictureKind pictureKindOf(const QString& path);

// The largest picture decoded for a preview (width × height).
inline constexpr qint64 kPreviewPixelCap = 4096LL * 4096;

// ---- in-memory readers (also what the fuzz targets drive)
PictureResult jpegSize(QByteArrayView bytes);
PictureResult gifSize(QByteArrayView bytes);
PictureResult bmpSize(QByteArrayView bytes);
// The picture's pixels.  A JPEG larger than the budget is decoded at 1/2,
// 1/4 or 1/8 of its size when that fits; anything else larger than the
// budget fails.  A null image with *error set on failure.
QImage jpegPixels(QByteArrayView bytes, qint64 maxPixels, QString* error);
QImage gifPixels(QByteArrayView bytes, qint64 maxPixels, QString* error);
QImage bmpPixels(QByteArrayView bytes, qint64 maxPixels, QString* error);

// ---- files
PictureResult readPictureSize(const QString& path);
QImage readPicturePixels(const QString& path, qint64 maxPixels, QString* error);
