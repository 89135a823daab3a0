// TAutoSjisConv's 64-byte walks against its 16-byte ones (on processors
// that have the former).  The first byte picks the state (bit 0: two-byte
// mode, bit 1: kana mode) and, with bit 2, whether the input is one line or
// a text of '\n'-separated lines.  Both must give the same bytes, the same
// encoding and the same state; ASan watches the masked loads and stores.
#include "charset/autosjisconv.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct Result {
    size_t size;
    std::unique_ptr<char[]> bytes;
    TAutoSjisConv::Encoding enc;
    bool two, kana;
};

Result run(bool wide, const uint8_t* data, size_t size, uint8_t flags)
{
    TAutoSjisConv::setWideVectors(wide);
    Result r;
    r.bytes.reset(new char[size ? size : 1]);
    std::memcpy(r.bytes.get(), data, size);
    r.enc = TAutoSjisConv::detect(reinterpret_cast<const char*>(data), size);
    TAutoSjisConv c;
    c.twoByteMode = flags & 1;
    c.kanaMode = flags & 2;
    r.size = (flags & 4) ? c.convertLines(r.bytes.get(), size) : c.convertInPlace(r.bytes.get(), size);
    r.two = c.twoByteMode;
    r.kana = c.kanaMode;
    TAutoSjisConv::setWideVectors(true);
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0 || !TAutoSjisConv::wideVectors())
        return 0;
    const uint8_t flags = data[0];
    ++data;
    --size;
    const Result n = run(false, data, size, flags);
    const Result w = run(true, data, size, flags);
    if (n.enc != w.enc || n.size != w.size || n.two != w.two || n.kana != w.kana
        || std::memcmp(n.bytes.get(), w.bytes.get(), n.size) != 0 || n.size > size)
        abort();
    return 0;
}
