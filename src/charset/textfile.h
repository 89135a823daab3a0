#pragma once
// Documents as the editor holds them: Unicode text whose lines end with '\n',
// plus the line break of the file they came from.

#include "charset/sjis.h"

#include <span>
#include <vector>

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

// True when the bytes hold more than one kind of line break (`first` is the
// one decodeDocument() reported).  Cheap: a memchr walk over CR and LF.
bool hasMixedBreaks(QByteArrayView bytes, LineBreak first);

// The break that ends each line of the bytes, in order (the last line, which
// has none, is not listed).  Lines are cut as decodeDocument() cuts them.
std::vector<LineBreak> lineBreaksOf(QByteArrayView bytes);

// Encodes editor text whose lines end with different breaks: the line ending
// at the i-th '\n' (or U+2029) gets breaks[i]; lines past the end of
// `breaks` get `fallback`.
std::optional<QByteArray> encodeDocumentLines(QStringView text, std::span<const LineBreak> breaks,
                                              LineBreak fallback, EncodeError* error = nullptr);

} // namespace sjis
