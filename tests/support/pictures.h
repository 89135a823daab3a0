#pragma once
// Pictures written by the tests themselves: JPEG through libjpeg, GIF
// through giflib, BMP through Qt, each with a pattern of known colours.

#include <QByteArray>
#include <QColor>

namespace pictures {

struct JpegOptions {
    bool progressive = false;
    bool gray = false;
    int quality = 90;
};
QByteArray jpeg(int width, int height, const JpegOptions& options = {});

struct GifOptions {
    bool interlaced = false;
    int transparentIndex = -1;   // colour index drawn transparent, -1 none
};
// Colour index of pixel (x, y) is (x / 4 + y) % 4 over red, green, blue, white.
QByteArray gif(int width, int height, const GifOptions& options = {});
QColor gifColor(int x, int y);

QByteArray bmp(int width, int height);

// The same bytes with the picture's size in the header replaced (the
// frame of a JPEG, the logical screen of a GIF, the info header of a BMP).
QByteArray withClaimedSize(QByteArray bytes, const char* kind, int width, int height);

} // namespace pictures
