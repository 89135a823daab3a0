#include "support/pictures.h"

#include <QBuffer>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <gif_lib.h>
#include <vector>

namespace pictures {

QByteArray jpeg(int width, int height, const JpegOptions& options)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = options.gray ? 1 : 3;
    cinfo.in_color_space = options.gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, options.quality, TRUE);
    if (options.progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(size_t(width) * size_t(cinfo.input_components));
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = int(cinfo.next_scanline);
        for (int x = 0; x < width; ++x) {
            if (options.gray) {
                row[size_t(x)] = (unsigned char)((x + y) & 0xFF);
            } else {
                row[size_t(x) * 3] = (unsigned char)(x < width / 2 ? 255 : 0);
                row[size_t(x) * 3 + 1] = 0;
                row[size_t(x) * 3 + 2] = (unsigned char)(x < width / 2 ? 0 : 255);
            }
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    return bytes;
}

namespace {

int writeBytes(GifFileType* gif, const GifByteType* data, int n)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), n);
    return n;
}

const QColor kGifColors[4] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255), QColor(255, 255, 255)};

} // namespace

QColor gifColor(int x, int y)
{
    return kGifColors[(x / 4 + y) % 4];
}

QByteArray gif(int width, int height, const GifOptions& options)
{
    QByteArray bytes;
    int error = 0;
    GifFileType* g = EGifOpen(&bytes, writeBytes, &error);
    GifColorType colors[4];
    for (int i = 0; i < 4; ++i)
        colors[i] = GifColorType{GifByteType(kGifColors[i].red()), GifByteType(kGifColors[i].green()),
                                 GifByteType(kGifColors[i].blue())};
    ColorMapObject* map = GifMakeMapObject(4, colors);
    EGifPutScreenDesc(g, width, height, 2, 0, map);
    if (options.transparentIndex >= 0) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.TransparentColor = options.transparentIndex;
        GifByteType ext[4];
        EGifGCBToExtension(&gcb, ext);
        EGifPutExtension(g, GRAPHICS_EXT_FUNC_CODE, 4, ext);
    }
    EGifPutImageDesc(g, 0, 0, width, height, options.interlaced, nullptr);
    std::vector<GifPixelType> line(static_cast<size_t>(width));
    auto put = [&](int y) {
        for (int x = 0; x < width; ++x)
            line[size_t(x)] = GifPixelType((x / 4 + y) % 4);
        EGifPutLine(g, line.data(), width);
    };
    if (options.interlaced) {
        static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        for (int p = 0; p < 4; ++p)
            for (int y = start[p]; y < height; y += step[p])
                put(y);
    } else {
        for (int y = 0; y < height; ++y)
            put(y);
    }
    EGifCloseFile(g, &error);
    GifFreeMapObject(map);
    return bytes;
}

QByteArray bmp(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(10, 20, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

QByteArray withClaimedSize(QByteArray bytes, const char* kind, int width, int height)
{
    const QByteArray k(kind);
    auto put16be = [&](qsizetype at, int v) {
        bytes[at] = char((v >> 8) & 0xFF);
        bytes[at + 1] = char(v & 0xFF);
    };
    auto put16le = [&](qsizetype at, int v) {
        bytes[at] = char(v & 0xFF);
        bytes[at + 1] = char((v >> 8) & 0xFF);
    };
    if (k == "jpeg") {
        // The first SOFn marker: FF C0..C2, length, precision, height, width.
        for (qsizetype i = 2; i + 9 < bytes.size(); ++i) {
            const auto m = (unsigned char)bytes[i + 1];
            if ((unsigned char)bytes[i] == 0xFF && (m == 0xC0 || m == 0xC1 || m == 0xC2)) {
                put16be(i + 5, height);
                put16be(i + 7, width);
                break;
            }
        }
    } else if (k == "gif") {
        put16le(6, width);
        put16le(8, height);
    } else if (k == "bmp") {
        put16le(18, width & 0xFFFF);
        put16le(20, (width >> 16) & 0xFFFF);
        put16le(22, height & 0xFFFF);
        put16le(24, (height >> 16) & 0xFFFF);
    }
    return bytes;
}

} // namespace pictures
