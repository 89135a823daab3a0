// Fuzzes the GIF reader: any bytes give a size or giflib's error text, never
// a crash; the pixels fail exactly when the size does, with the same text,
// and a preview always fits its budget.
#include "builders/image/picturereader.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const PictureResult r = gifSize(bytes);
    if (!r.ok() && r.error.isEmpty())
        abort();
    if (r.ok() && (r.size.width() <= 0 || r.size.height() <= 0))
        abort();
    constexpr qint64 kBudget = 128 * 128;
    QString error;
    const QImage image = gifPixels(bytes, kBudget, &error);
    if (image.isNull() == error.isEmpty())
        abort();
    if (error != r.error)
        abort();
    if (!image.isNull() && qint64(image.width()) * image.height() > kBudget)
        abort();
    return 0;
}
