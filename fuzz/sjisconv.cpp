// TAutoSjisConv on arbitrary lines in every shift state.  The first byte picks
// the state (bit 0: two-byte mode, bit 1: kana mode); the rest is the line.
// Checks: no read or write outside the line (ASan), the result is never
// longer, the in-place and QByteArray forms agree, Shift_JIS lines come back
// unchanged, and the word-at-a-time detection agrees with the byte-by-byte
// rule.
#include "charset/autosjisconv.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

TAutoSjisConv::Encoding detectByteByByte(const unsigned char* p, size_t n)
{
    enum { None, AfterPrefix, Confirmed } kana = None;
    auto enc = TAutoSjisConv::Encoding::Jis;
    bool prefixSeen = false;
    size_t m = 0;
    while (m < n && p[m] != 0x0D && p[m] != 0x0A && p[m] != 0x00 && p[m] != 0x1A)
        ++m;
    for (size_t i = 0; i < m; ++i) {
        const unsigned char b = p[i];
        if (b < 0x80)
            continue;
        if (kana != Confirmed)
            kana = (kana == AfterPrefix && b >= 0xA1 && b <= 0xDF) ? Confirmed : None;
        if (b == 0x8E) {
            kana = AfterPrefix;
            prefixSeen = true;
        }
        if (enc == TAutoSjisConv::Encoding::Jis)
            enc = TAutoSjisConv::Encoding::EucJp;
        if (b < 0xA0 && b != 0x8E)
            return TAutoSjisConv::Encoding::ShiftJis;
    }
    if (enc == TAutoSjisConv::Encoding::EucJp) {
        for (size_t i = 0; i < m; ++i)
            if (p[i] >= 0x80) {
                if (i + 1 >= m)
                    return TAutoSjisConv::Encoding::ShiftJis;
                ++i;
            }
        if (kana == None && prefixSeen)
            return TAutoSjisConv::Encoding::ShiftJis;
    }
    return enc;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const bool twoByte = data[0] & 1;
    const bool kana = data[0] & 2;
    ++data;
    --size;

    const auto enc = TAutoSjisConv::detect(reinterpret_cast<const char*>(data), size);
    if (enc != detectByteByByte(data, size))
        abort();

    // In place, on a buffer of exactly the line's size.
    std::unique_ptr<char[]> buf(new char[size ? size : 1]);
    std::memcpy(buf.get(), data, size);
    TAutoSjisConv a;
    a.twoByteMode = twoByte;
    a.kanaMode = kana;
    const size_t n = a.convertInPlace(buf.get(), size);
    if (n > size)
        abort();
    if (enc == TAutoSjisConv::Encoding::ShiftJis
        && (n != size || std::memcmp(buf.get(), data, size) != 0 || a.twoByteMode != twoByte
            || a.kanaMode != kana))
        abort();

    TAutoSjisConv b;
    b.twoByteMode = twoByte;
    b.kanaMode = kana;
    const QByteArray out = b.ConvertToSjis(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (size_t(out.size()) != n || std::memcmp(out.constData(), buf.get(), n) != 0
        || a.twoByteMode != b.twoByteMode || a.kanaMode != b.kanaMode)
        abort();
    return 0;
}
