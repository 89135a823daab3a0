// GIF through giflib.  The size is the logical screen's (the first
// picture's when the screen claims none); the preview is the first picture
// drawn on a transparent screen.  Either way the whole file is read, every
// picture's data decoded to its end, so that a GIF damaged anywhere is
// refused the same way whatever is asked of it.

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

// The first picture drawn onto the screen, one pixel in `factor` each way.
class Canvas {
public:
    bool start(int width, int height, qint64 maxPixels, QString* error)
    {
        m_factor = reductionFor(width, height, maxPixels);
        m_width = width;
        m_height = height;
        m_image = QImage((width + m_factor - 1) / m_factor, (height + m_factor - 1) / m_factor,
                         QImage::Format_ARGB32);
        if (m_image.isNull()) {
            *error = QStringLiteral("Out of memory");
            return false;
        }
        m_image.fill(Qt::transparent);
        return true;
    }

    void drawLine(int y, const GifImageDesc& desc, const GifPixelType* line, const ColorMapObject* map,
                  int transparent)
    {
        if (y < 0 || y >= m_height || y % m_factor)
            return;
        auto* out = reinterpret_cast<QRgb*>(m_image.scanLine(y / m_factor));
        const int colors = map ? map->ColorCount : 0;
        // The first column of the picture that falls on the reduced grid.
        int col = (m_factor - desc.Left % m_factor) % m_factor;
        for (; col < desc.Width; col += m_factor) {
            const int x = desc.Left + col;
            if (x >= m_width)
                break;
            const int index = line[col];
            if (index == transparent)
                continue;
            if (index < colors) {
                const GifColorType& c = map->Colors[index];
                out[x / m_factor] = qRgb(c.Red, c.Green, c.Blue);
            } else {
                out[x / m_factor] = qRgb(index, index, index);
            }
        }
    }

    QImage take() { return std::move(m_image); }

private:
    QImage m_image;
    int m_factor = 1;
    int m_width = 0, m_height = 0;
};

struct GifRead {
    QSize size;
    QImage preview;
    QString error;
};

// Skips the data blocks of an extension whose first block was just read.
bool skipExtension(GifFileType* gif, GifByteType* block)
{
    while (block)
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
            return false;
    return true;
}

// Skips a picture's data without decoding it (a picture with no pixels).
bool skipPictureData(GifFileType* gif)
{
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(gif, &codeSize, &block) == GIF_ERROR)
        return false;
    while (block)
        if (DGifGetCodeNext(gif, &block) == GIF_ERROR)
            return false;
    return true;
}

// Reads the GIF to its end.  With `maxPixels` > 0 the first picture is
// drawn as the preview.
GifRead readGif(QByteArrayView bytes, qint64 maxPixels)
{
    GifRead r;
    MemoryInput in{reinterpret_cast<const GifByteType*>(bytes.data()), size_t(bytes.size()), 0};
    int code = D_GIF_SUCCEEDED;
    GifPtr owner(DGifOpen(&in, readMemory, &code));
    GifFileType* gif = owner.get();
    if (!gif) {
        r.error = gifError(code);
        return r;
    }
    auto failed = [&](const QString& text) {
        r.error = text;
        r.size = {};
        r.preview = {};
        return r;
    };
    if (gif->SWidth > 0 && gif->SHeight > 0)
        r.size = QSize(gif->SWidth, gif->SHeight);

    int pictures = 0;
    qint64 pixels = 0;
    int transparent = NO_TRANSPARENT_COLOR;   // from the graphic control block before a picture
    Canvas canvas;
    std::vector<GifPixelType> line;
    for (;;) {
        // Many writers leave out the trailer; data that ends where a record
        // would start has lost nothing.
        if (pictures > 0 && in.pos == in.size)
            break;
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR)
            return failed(gifError(gif->Error));
        if (type == TERMINATE_RECORD_TYPE)
            break;
        if (type == EXTENSION_RECORD_TYPE) {
            int extCode = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &extCode, &block) == GIF_ERROR)
                return failed(gifError(gif->Error));
            if (extCode == GRAPHICS_EXT_FUNC_CODE && block && block[0] == 4) {
                GraphicsControlBlock gcb;
                DGifExtensionToGCB(4, block + 1, &gcb);
                transparent = gcb.TransparentColor;
            }
            if (!skipExtension(gif, block))
                return failed(gifError(gif->Error));
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE)
            continue;

        if (DGifGetImageDesc(gif) == GIF_ERROR)
            return failed(gifError(gif->Error));
        if (++pictures > kMaxGifPictures)
            return failed(QStringLiteral("Too many pictures (more than %1)").arg(kMaxGifPictures));
        const GifImageDesc desc = gif->Image;
        const bool first = pictures == 1;
        if (first) {
            if (r.size.isEmpty() && desc.Width > 0 && desc.Height > 0)
                r.size = QSize(desc.Width, desc.Height);
            if (r.size.isEmpty())
                return failed(QStringLiteral("GIF picture has no size"));
            if (maxPixels > 0 && !canvas.start(r.size.width(), r.size.height(), maxPixels, &r.error))
                return failed(r.error);
        }
        if (desc.Width <= 0 || desc.Height <= 0) {
            if (!skipPictureData(gif))
                return failed(gifError(gif->Error));
            transparent = NO_TRANSPARENT_COLOR;
            continue;
        }
        pixels += qint64(desc.Width) * desc.Height;
        if (pixels > kMaxGifPixels)
            return failed(QStringLiteral("Too many pixels (more than %1)").arg(kMaxGifPixels));

        const bool draw = first && maxPixels > 0;
        const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        line.resize(size_t(desc.Width));
        // Interlaced pictures come in four passes over the rows.
        static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        const int passes = desc.Interlace ? 4 : 1;
        for (int pass = 0; pass < passes; ++pass) {
            const int stride = desc.Interlace ? step[pass] : 1;
            for (int row = desc.Interlace ? start[pass] : 0; row < desc.Height; row += stride) {
                if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR)
                    return failed(gifError(gif->Error));
                if (draw)
                    canvas.drawLine(desc.Top + row, desc, line.data(), map, transparent);
            }
        }
        transparent = NO_TRANSPARENT_COLOR;
    }
    if (pictures == 0)
        return failed(QStringLiteral("GIF holds no picture"));
    if (maxPixels > 0)
        r.preview = canvas.take();
    return r;
}

} // namespace

PictureResult gifSize(QByteArrayView bytes)
{
    return gifSizeAndPixels(bytes, 0, nullptr);
}

QImage gifPixels(QByteArrayView bytes, qint64 maxPixels, QString* error)
{
    QImage preview;
    const PictureResult r = gifSizeAndPixels(bytes, std::max<qint64>(maxPixels, 1), &preview);
    if (!r.ok() && error)
        *error = r.error;
    return preview;
}

PictureResult gifSizeAndPixels(QByteArrayView bytes, qint64 maxPixels, QImage* preview)
{
    GifRead g = readGif(bytes, preview ? std::max<qint64>(maxPixels, 1) : 0);
    if (preview)
        *preview = std::move(g.preview);
    return PictureResult{g.size, g.error};
}
