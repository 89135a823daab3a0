// Fuzzes the JPEG reader: any bytes give a size or the library's error text,
// never an exit or a crash (libjpeg's fatal errors jump back to the reader),
// and a small picture whose header reads also decodes or fails cleanly.
#include "builders/image/picturereader.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const PictureResult r = jpegSize(bytes);
    if (!r.ok() && r.error.isEmpty())
        abort();
    if (r.ok() && (r.size.width() <= 0 || r.size.height() <= 0))
        abort();
    // Decoding is tried with a small budget so that a run stays quick; a
    // larger picture must be scaled into it.  Claims beyond 2048 x 2048 are
    // not decoded (an eighth of them would still be millions of pixels);
    // those up to it already go past the eighth.
    if (r.ok() && qint64(r.size.width()) * r.size.height() > 2048LL * 2048)
        return 0;
    constexpr qint64 kBudget = 64 * 64;
    QString error;
    const QImage image = jpegPixels(bytes, kBudget, &error);
    if (image.isNull() == error.isEmpty())
        abort();
    if (!image.isNull() && qint64(image.width()) * image.height() > kBudget)
        abort();
    return 0;
}
