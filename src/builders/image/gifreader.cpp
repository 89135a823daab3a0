// GIF through giflib: the logical screen's size from the header (the first
// picture's size when the screen claims none), and the first picture drawn
// on a transparent screen for a preview.

#include "builders/image/picturereader.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include <gif_lib.h>

namespace {

struct MemoryInput {
    const GifByteType* data;
    size_t size;
    size_t pos;
};

int readMemory(GifFileType* gif, GifByteType* buffer, int wanted)
{
    auto* in = static_cast<MemoryInput*>(gif->UserData);
    if (wanted <= 0)
        return 0;
    const size_t n = std::min(size_t(wanted), in->size - in->pos);
    if (n)
        std::memcpy(buffer, in->data + in->pos, n);
    in->pos += n;
    return int(n);
}

QString gifError(int code)
{
    const char* text = GifErrorString(code);
    return text ? QString::fromLatin1(text) : QStringLiteral("GIF error %1").arg(code);
}

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int ignored = 0;
        DGifCloseFile(gif, &ignored);
    }
};
using GifPtr = std::unique_ptr<GifFileType, GifCloser>;

// Opens the GIF; null with *error set when the header cannot be read.
GifPtr openGif(MemoryInput& in, QString* error)
{
    int code = D_GIF_SUCCEEDED;
    GifPtr gif(DGifOpen(&in, readMemory, &code));
    if (!gif && error)
        *error = gifError(code);
    return gif;
}

// Skips the data blocks of an extension whose first block was just read.
bool skipExtension(GifFileType* gif, GifByteType* block)
{
    while (block)
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
            return false;
    return true;
}

// Reads records up to the first picture's descriptor (GifFile->Image), with
// its graphic control block (transparency) when one comes before it.
bool toFirstImage(GifFileType* gif, GraphicsControlBlock& gcb, QString* error)
{
    gcb.TransparentColor = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) {
            *error = gifError(gif->Error);
            return false;
        }
        switch (type) {
        case IMAGE_DESC_RECORD_TYPE:
            if (DGifGetImageDesc(gif) == GIF_ERROR) {
                *error = gifError(gif->Error);
                return false;
            }
            return true;
        case EXTENSION_RECORD_TYPE: {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) {
                *error = gifError(gif->Error);
                return false;
            }
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] == 4)
                DGifExtensionToGCB(4, block + 1, &gcb);
            if (!skipExtension(gif, block)) {
                *error = gifError(gif->Error);
                return false;
            }
            break;
        }
        case TERMINATE_RECORD_TYPE:
            *error = QStringLiteral("GIF holds no picture");
            return false;
        default:
            break;
        }
    }
}

MemoryInput inputOf(QByteArrayView bytes)
{
    return MemoryInput{reinterpret_cast<const GifByteType*>(bytes.data()), size_t(bytes.size()), 0};
}

} // namespace

PictureResult gifSize(QByteArrayView bytes)
{
    PictureResult r;
    MemoryInput in = inputOf(bytes);
    GifPtr gif = openGif(in, &r.error);
    if (!gif)
        return r;
    if (gif->SWidth > 0 && gif->SHeight > 0) {
        r.size = QSize(gif->SWidth, gif->SHeight);
        return r;
    }
    GraphicsControlBlock gcb;
    if (!toFirstImage(gif.get(), gcb, &r.error))
        return r;
    if (gif->Image.Width > 0 && gif->Image.Height > 0)
        r.size = QSize(gif->Image.Width, gif->Image.Height);
    else
        r.error = QStringLiteral("GIF picture has no size");
    return r;
}

QImage gifPixels(QByteArrayView bytes, qint64 maxPixels, QString* error)
{
    QString err;
    auto failed = [&] {
        if (error)
            *error = err;
        return QImage();
    };
    MemoryInput in = inputOf(bytes);
    GifPtr gif = openGif(in, &err);
    if (!gif)
        return failed();
    GraphicsControlBlock gcb;
    if (!toFirstImage(gif.get(), gcb, &err))
        return failed();
    const GifImageDesc& desc = gif->Image;
    int width = gif->SWidth, height = gif->SHeight;
    if (width <= 0 || height <= 0) {
        width = desc.Width;
        height = desc.Height;
    }
    if (width <= 0 || height <= 0) {
        err = QStringLiteral("GIF picture has no size");
        return failed();
    }
    if (qint64(width) * height > maxPixels) {
        err = QStringLiteral("Picture too large to show (%1 x %2)").arg(width).arg(height);
        return failed();
    }
    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull()) {
        err = QStringLiteral("Out of memory");
        return failed();
    }
    image.fill(Qt::transparent);

    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    const int colors = map ? map->ColorCount : 0;
    std::vector<GifPixelType> line(size_t(std::max(desc.Width, 0)) + 1);
    // Interlaced pictures come in four passes over the rows.
    static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    const int passes = desc.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int first = desc.Interlace ? start[pass] : 0;
        const int stride = desc.Interlace ? step[pass] : 1;
        for (int row = first; row < desc.Height; row += stride) {
            if (DGifGetLine(gif.get(), line.data(), desc.Width) == GIF_ERROR) {
                // A picture cut short shows what arrived.
                return image;
            }
            const int y = desc.Top + row;
            if (y < 0 || y >= height)
                continue;
            auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int col = 0; col < desc.Width; ++col) {
                const int x = desc.Left + col;
                const int index = line[size_t(col)];
                if (x >= width)
                    break;
                if (index == gcb.TransparentColor)
                    continue;
                if (index < colors) {
                    const GifColorType& c = map->Colors[index];
                    out[x] = qRgb(c.Red, c.Green, c.Blue);
                } else {
                    out[x] = qRgb(index, index, index);
                }
            }
        }
    }
    return image;
}
