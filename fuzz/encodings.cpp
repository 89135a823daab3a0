// Detection and every codec on arbitrary bytes: each decode, encoded back in
// the same encoding, gives the very bytes (document forms included, with
// each line's own break); the UTF-8 decoder agrees with Qt's on valid input.
#include "charset/encodings.h"
#include "charset/encodingscore.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using charset::Encoding;

namespace {

constexpr Encoding kAll[] = {Encoding::ShiftJis, Encoding::Utf8, Encoding::Utf8Bom,
                             Encoding::EucJp, Encoding::Iso2022Jp};

void fail(int line, Encoding e)
{
    fprintf(stderr, "check at line %d failed (%s)\n", line, qPrintable(charset::encodingName(e)));
    abort();
}

} // namespace

#define check(ok) ((ok) ? void() : fail(__LINE__, e))

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Encoding e = charset::detectEncoding(bytes);
    check(!charset::encodingName(e).isEmpty());

    for (const Encoding each : kAll) {
        e = each;
        // Utf8Bom writes its mark whether the bytes had one or not.
        QByteArray expected = bytes.toByteArray();
        if (e == Encoding::Utf8Bom && !bytes.startsWith("\xEF\xBB\xBF"))
            expected.prepend("\xEF\xBB\xBF");

        const auto back = charset::encode(charset::decode(bytes, e), e);
        check(back && *back == expected);

        const charset::DocumentText doc = charset::decodeDocument(bytes, e);
        const std::vector<charset::LineBreak> breaks = charset::lineBreaksOf(bytes, e);
        check(qsizetype(breaks.size()) == doc.text.count(u'\n'));
        check(breaks.empty() || breaks.front() == doc.lineBreak);
        const auto saved = charset::encodeDocumentLines(doc.text, e, breaks, doc.lineBreak);
        check(saved && *saved == expected);
        bool mixed = false;
        for (charset::LineBreak b : breaks)
            mixed = mixed || b != doc.lineBreak;
        check(charset::hasMixedBreaks(bytes, e, doc.lineBreak) == mixed);
        if (!mixed) {
            const auto plain = charset::encodeDocument(doc.text, e, doc.lineBreak);
            check(plain && *plain == expected);
        }
    }

    e = Encoding::Iso2022Jp;
    // The ISO-2022-JP reading holds on its own, without its safety net.
    const QString iso = charset::detail::decodeIso2022JpUnchecked(bytes);
    const auto isoBack = charset::detail::encodeIso2022Jp(iso, {}, nullptr);
    check(isoBack && *isoBack == bytes);

    e = Encoding::Utf8;
    if (bytes.isValidUtf8()) {
        const QString mine = charset::decode(bytes, Encoding::Utf8);
        bool rawRange = false;
        for (QChar c : mine)
            rawRange = rawRange || sjis::isRawByte(c.unicode());
        // (Qt drops a leading byte-order mark.)
        const QStringView compared = QStringView(mine).sliced(
            bytes.startsWith("\xEF\xBB\xBF") ? 1 : 0);
        check(rawRange || compared == QString::fromUtf8(bytes));
    }

    // The bytes as UTF-16 text: either it encodes, or the error points at a
    // character that really cannot be held.
    const QStringView text(reinterpret_cast<const char16_t*>(data), qsizetype(size / 2));
    for (const Encoding each : kAll) {
        e = each;
        charset::EncodeError error;
        const auto encoded = charset::encodeDocument(text, e, charset::LineBreak::CrLf, &error);
        if (!encoded) {
            check(error.offset >= 0 && error.offset < text.size() && error.line >= 1
                  && error.column >= 1 && !charset::describe(error, e).isEmpty());
            check(!charset::canEncode(error.character, e) || error.character == 0x1B);
        }
    }
    return 0;
}
