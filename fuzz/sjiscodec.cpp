// Round trips of the Shift_JIS codec on arbitrary bytes, and encoding of
// arbitrary UTF-16.
#include "charset/sjis.h"
#include "charset/textfile.h"

#include <cstdint>
#include <cstdlib>

namespace {

QByteArray withBreaks(QByteArrayView in, QByteArrayView to)
{
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '\r') {
            if (i + 1 < in.size() && in[i + 1] == '\n')
                ++i;
            out += to;
        } else if (in[i] == '\n') {
            out += to;
        } else {
            out += in[i];
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    const auto back = sjis::encode(sjis::decode(bytes));
    if (!back || *back != bytes)
        abort();

    const sjis::DocumentText doc = sjis::decodeDocument(bytes);
    const auto saved = sjis::encodeDocument(doc.text, doc.lineBreak);
    const QByteArrayView breakBytes = doc.lineBreak == sjis::LineBreak::CrLf ? "\r\n"
                                      : doc.lineBreak == sjis::LineBreak::Lf ? "\n"
                                                                              : "\r";
    if (!saved || *saved != withBreaks(bytes, breakBytes))
        abort();

    // The same bytes taken as UTF-16 text: either it encodes, or the error
    // points at a character that really cannot be held.
    const QStringView text(reinterpret_cast<const char16_t*>(data), qsizetype(size / 2));
    sjis::EncodeError error;
    const auto encoded = sjis::encodeDocument(text, sjis::LineBreak::CrLf, &error);
    if (!encoded) {
        if (error.offset < 0 || error.offset >= text.size() || error.line < 1 || error.column < 1
            || sjis::canEncode(error.character) || sjis::describe(error).isEmpty())
            abort();
    }
    return 0;
}
