#pragma once
// Reading the pictures the image builder composes tags for: a GIF (giflib),
// JPEG (libjpeg) or BMP (Qt's own bitmap support) file, chosen by the
// file's extension.  JPEG and BMP sizes come from the header alone; a GIF
// is read to its end, so that damage anywhere in it is found whether or not
// a preview is asked for.  Pixels are decoded only when asked for, and
// never more than a pixel budget: a larger picture is made smaller, so
// that a file claiming an enormous picture costs little.  Every failure
// comes back as the reader's error text.

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

// The largest preview kept (width × height).
inline constexpr qint64 kPreviewPixelCap = 4096LL * 4096;

// A GIF is refused beyond these: each of its pictures is decoded in full.
inline constexpr int kMaxGifPictures = 10000;
inline constexpr qint64 kMaxGifPixels = 1LL << 30;

// ---- in-memory readers (also what the fuzz targets drive)
PictureResult jpegSize(QByteArrayView bytes);
PictureResult gifSize(QByteArrayView bytes);
PictureResult bmpSize(QByteArrayView bytes);
// The picture's pixels, made smaller when the whole picture is over the
// budget (a JPEG at 1/2, 1/4 or 1/8 of its size, then by a whole factor;
// a GIF or BMP by a whole factor).  A null image with *error set on
// failure.  A GIF fails exactly where gifSize() does.
QImage jpegPixels(QByteArrayView bytes, qint64 maxPixels, QString* error);
QImage gifPixels(QByteArrayView bytes, qint64 maxPixels, QString* error);
QImage bmpPixels(QByteArrayView bytes, qint64 maxPixels, QString* error);
// A GIF's size and, when `preview` is given, its pixels as gifPixels() makes
// them, from one reading.
PictureResult gifSizeAndPixels(QByteArrayView bytes, qint64 maxPixels, QImage* preview);

// ---- files
PictureResult readPictureSize(const QString& path);
QImage readPicturePixels(const QString& path, qint64 maxPixels, QString* error);

// The size and, when `previewPixels` > 0, a preview within that budget, with
// one reading of the file.  A picture whose size reads but whose preview
// cannot be made is no failure: `previewError` says why there is none.
struct PictureRead {
    PictureResult result;
    QImage preview;
    QString previewError;
};
PictureRead readPicture(const QString& path, qint64 previewPixels);

// The smallest whole factor that brings width × height within `maxPixels`.
int reductionFor(qint64 width, qint64 height, qint64 maxPixels);
