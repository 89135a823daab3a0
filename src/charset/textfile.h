#pragma once
// Documents as the editor holds them: Unicode text whose lines end with '\n',
// plus the line break of the file they came from.

#include "charset/sjis.h"

namespace sjis {

enum class LineBreak { CrLf, Lf, Cr };

struct DocumentText {
    QString text;                         // lines separated by '\n'
    LineBreak lineBreak = LineBreak::CrLf; // the first break found; CR LF when none
};

// Decodes a file's bytes.  Every CR LF, lone CR and lone LF becomes '\n'.
DocumentText decodeDocument(QByteArrayView bytes);

// Encodes editor text: '\n' and U+2029 (QTextDocument's paragraph separator,
// as given by toRawText()) become `lineBreak`.  Other characters as encode().
std::optional<QByteArray> encodeDocument(QStringView text, LineBreak lineBreak,
                                         EncodeError* error = nullptr);

} // namespace sjis
