// Documents: decoding with line-break normalisation, encoding with the
// file's own line break.  Both are one pass of the codec core.

#include "charset/textfile.h"
#include "charset/sjiscore.h"

namespace sjis {

DocumentText decodeDocument(QByteArrayView bytes)
{
    DocumentText doc;
    doc.text = QString(bytes.size(), Qt::Uninitialized);
    auto* out = reinterpret_cast<char16_t*>(doc.text.data());
    detail::adviseLargeBuffer(out, doc.text.size() * qsizetype(sizeof(char16_t)));
    detail::FirstBreak first = detail::FirstBreak::None;
    doc.text.resize(detail::decodeInto(bytes, out, true, &first));
    detail::releaseSlack(doc.text);
    switch (first) {
    case detail::FirstBreak::Lf:
        doc.lineBreak = LineBreak::Lf;
        break;
    case detail::FirstBreak::Cr:
        doc.lineBreak = LineBreak::Cr;
        break;
    case detail::FirstBreak::CrLf:
    case detail::FirstBreak::None:
        doc.lineBreak = LineBreak::CrLf;
        break;
    }
    return doc;
}

std::optional<QByteArray> encodeDocument(QStringView text, LineBreak lineBreak,
                                         EncodeError* error)
{
    QByteArrayView breakBytes;
    switch (lineBreak) {
    case LineBreak::CrLf:
        breakBytes = "\r\n";
        break;
    case LineBreak::Lf:
        breakBytes = "\n";
        break;
    case LineBreak::Cr:
        breakBytes = "\r";
        break;
    }
    return detail::encodeWithBreaks(text, breakBytes, true, error);
}

} // namespace sjis
