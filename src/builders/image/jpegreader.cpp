// JPEG through libjpeg.  The library reports a fatal error by calling the
// error manager's error_exit, which by default ends the process; here it
// jumps back to the one function that talks to the library.  That function
// holds plain data only, so the jump skips no destructor.

#include "builders/image/picturereader.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace {

// Memory libjpeg may take for its own tables and buffers (a progressive
// picture keeps all its coefficients); beyond it the library fails cleanly.
constexpr long kDecoderMemory = 512L * 1024 * 1024;
// A progressive picture with more scans than this is refused: each scan is
// another pass over the whole picture.
constexpr int kMaxScans = 1000;

struct ErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void errorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    longjmp(err->jump, 1);
}

// Warnings (corrupt data the library can get past) are not printed.
void silent(j_common_ptr) {}

void limitScans(j_common_ptr cinfo)
{
    if (!cinfo->is_decompressor)
        return;
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) {
        auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
        std::snprintf(err->message, sizeof err->message, "Too many scans (more than %d)", kMaxScans);
        longjmp(err->jump, 1);
    }
}

// One request to the library, in plain data.
struct JpegJob {
    const unsigned char* data = nullptr;
    unsigned long size = 0;
    bool decode = false;
    long long maxPixels = 0;
    int width = 0, height = 0;          // from the header
    int outWidth = 0, outHeight = 0;    // decoded (maybe scaled down)
    unsigned char* pixels = nullptr;    // malloc'd, 4 bytes a pixel (RGBX)
    unsigned char* row = nullptr;       // malloc'd, one decoded row when rows are skipped
    bool cmyk = false;                  // pixels are inverted CMYK, to convert
    char message[JMSG_LENGTH_MAX] = {};
};

bool runJpeg(JpegJob& job)
{
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    jpeg_progress_mgr progress;
    std::memset(&progress, 0, sizeof progress);
    progress.progress_monitor = limitScans;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = errorExit;
    err.pub.output_message = silent;
    err.message[0] = '\0';
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::free(job.pixels);
        std::free(job.row);
        job.pixels = job.row = nullptr;
        std::memcpy(job.message, err.message, sizeof job.message);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kDecoderMemory;
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, job.data, job.size);
    jpeg_read_header(&cinfo, TRUE);
    job.width = int(cinfo.image_width);
    job.height = int(cinfo.image_height);
    if (!job.decode) {
        jpeg_destroy_decompress(&cinfo);
        return true;
    }

    // The smallest reduction that fits the budget: libjpeg's own down to
    // 1/8, then every `keep`-th row and column of that.
    unsigned denom = 1;
    for (; denom < 8; denom *= 2) {
        const long long w = (cinfo.image_width + denom - 1) / denom;
        const long long h = (cinfo.image_height + denom - 1) / denom;
        if (w * h <= job.maxPixels)
            break;
    }
    cinfo.scale_num = 1;
    cinfo.scale_denom = denom;
    job.cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = job.cmyk ? JCS_CMYK : JCS_EXT_RGBX;
    jpeg_start_decompress(&cinfo);
    const unsigned keep = unsigned(reductionFor(cinfo.output_width, cinfo.output_height, job.maxPixels));
    job.outWidth = int((cinfo.output_width + keep - 1) / keep);
    job.outHeight = int((cinfo.output_height + keep - 1) / keep);
    const size_t rowBytes = size_t(job.outWidth) * 4;
    job.pixels = static_cast<unsigned char*>(std::malloc(rowBytes * size_t(job.outHeight) + 1));
    if (keep > 1)
        job.row = static_cast<unsigned char*>(std::malloc(size_t(cinfo.output_width) * 4));
    if (!job.pixels || (keep > 1 && !job.row)) {
        std::snprintf(job.message, sizeof job.message, "Out of memory");
        jpeg_destroy_decompress(&cinfo);
        std::free(job.pixels);
        std::free(job.row);
        job.pixels = job.row = nullptr;
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        const JDIMENSION y = cinfo.output_scanline;
        if (keep == 1) {
            JSAMPROW row = job.pixels + rowBytes * y;
            jpeg_read_scanlines(&cinfo, &row, 1);
            continue;
        }
        JSAMPROW row = job.row;
        jpeg_read_scanlines(&cinfo, &row, 1);
        if (y % keep)
            continue;
        unsigned char* out = job.pixels + rowBytes * (y / keep);
        for (int x = 0; x < job.outWidth; ++x)
            std::memcpy(out + size_t(x) * 4, job.row + size_t(x) * keep * 4, 4);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::free(job.row);
    job.row = nullptr;
    return true;
}

void freePixels(void* p)
{
    std::free(p);
}

JpegJob jobFor(QByteArrayView bytes)
{
    JpegJob job;
    job.data = reinterpret_cast<const unsigned char*>(bytes.data());
    job.size = (unsigned long)bytes.size();
    return job;
}

} // namespace

PictureResult jpegSize(QByteArrayView bytes)
{
    JpegJob job = jobFor(bytes);
    PictureResult r;
    if (!runJpeg(job))
        r.error = QString::fromLatin1(job.message);
    else
        r.size = QSize(job.width, job.height);
    return r;
}

QImage jpegPixels(QByteArrayView bytes, qint64 maxPixels, QString* error)
{
    JpegJob job = jobFor(bytes);
    job.decode = true;
    job.maxPixels = maxPixels;
    if (!runJpeg(job)) {
        if (error)
            *error = QString::fromLatin1(job.message);
        return {};
    }
    if (job.cmyk) {
        // Adobe writes CMYK inverted: each stored value is 255 - ink.
        unsigned char* p = job.pixels;
        for (qint64 i = qint64(job.outWidth) * job.outHeight; i > 0; --i, p += 4) {
            const unsigned k = p[3];
            p[0] = (unsigned char)(p[0] * k / 255);
            p[1] = (unsigned char)(p[1] * k / 255);
            p[2] = (unsigned char)(p[2] * k / 255);
            p[3] = 255;
        }
    }
    return QImage(job.pixels, job.outWidth, job.outHeight, qsizetype(job.outWidth) * 4,
                  QImage::Format_RGBX8888, freePixels, job.pixels);
}
