// Filling an editor with a file's text, and reading back the bytes it saves.
#include "app/document.h"

#include "app/documentload.h"
#include "app/linemap.h"

#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cstring>

bool pairShortLines(QString& text)
{
    bool paired = false;
    QChar* const data = text.data();
    const qsizetype size = text.size();
    qsizetype start = 0;   // the first line of a block
    while (start < size) {
        qsizetype end = text.indexOf(u'\n', start);   // where the block's last line ends
        if (end < 0)
            break;
        for (int lines = 1; lines < lines::kLinesPerBlock && end + 1 < size; ++lines) {
            qsizetype next = text.indexOf(u'\n', end + 1);
            if (next < 0)
                next = size;
            if (next - start > lines::kLongLine)
                break;
            data[end] = QChar::LineSeparator;
            paired = true;
            end = next;
        }
        start = end + 1;
    }
    return paired;
}

bool pairMixedLines(QString& text, std::vector<sjis::LineBreak>& breaks, sjis::LineBreak usual)
{
    if (breaks.size() != size_t(text.count(u'\n')))
        return false;
    bool paired = false;
    QChar* const data = text.data();
    const qsizetype size = text.size();
    size_t k = 0;     // the break of the '\n' at `end`
    size_t kept = 0;  // breaks of the '\n' left, written over the list
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            break;
        for (int lines = 1; lines < lines::kLinesPerBlock && end + 1 < size && breaks[k] == usual; ++lines) {
            qsizetype next = text.indexOf(u'\n', end + 1);
            if (next < 0)
                next = size;
            if (next - start > lines::kLongLine)
                break;
            data[end] = QChar::LineSeparator;   // stands for the document's break
            paired = true;
            ++k;
            end = next;
        }
        if (end < size)
            breaks[kept++] = breaks[k++];   // the block's own break
        start = end + 1;
    }
    while (k < breaks.size())
        breaks[kept++] = breaks[k++];
    breaks.resize(kept);
    return paired;
}

EditorFill::EditorFill(QPlainTextEdit& edit, QByteArray bytes, qsizetype pieceBytes,
                       charset::Encoding encoding)
    : m_edit(edit), m_doc(edit.document()), m_bytes(std::move(bytes)),
      m_pieceBytes(qMax<qsizetype>(pieceBytes, 1)), m_encoding(encoding)
{

    m_undo = edit.document()->isUndoRedoEnabled();
    edit.document()->setUndoRedoEnabled(false);   // the fill is not undoable
}

EditorFill::~EditorFill()
{
    if (!m_finished && m_doc)
        m_doc->setUndoRedoEnabled(m_undo);
}

bool EditorFill::step(qsizetype atLeast)
{
    // QPlainTextEdit::setPlainText applies the character format to the whole
    // text again once it is in; appending through a cursor builds the same
    // document without that second pass.  Decoding in pieces keeps the
    // decoded text small: each piece is copied into the document and
    // dropped, instead of the whole file being held twice.
    const QSignalBlocker quiet(&m_edit);
    QTextCursor cursor(m_edit.document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    const char* const data = m_bytes.constData();
    const qsizetype size = m_bytes.size();
    const qsizetype stop = atLeast < size - m_at ? m_at + atLeast : size;
    while (m_at < stop) {
        // A piece ends just after a line feed: 0x0A is never part of a
        // double-byte character, and a CR LF pair stays in one piece, so
        // every piece starts the decoder afresh.
        qsizetype end = size;
        const qsizetype want = qMin(m_pieceBytes, stop - m_at);
        // ISO-2022-JP's escapes may carry a mode over a line break: such a
        // file is decoded in one piece.
        if (size - m_at > want && m_encoding != charset::Encoding::Iso2022Jp) {
            const qsizetype from = m_at + want - 1;
            if (const void* lf = std::memchr(data + from, '\n', size_t(size - from)))
                end = static_cast<const char*>(lf) - data + 1;
        }
        const charset::Encoding e = pieceEncoding(m_encoding, m_at == 0);
        sjis::DocumentText piece = charset::decodeDocument(QByteArrayView(m_bytes).sliced(m_at, end - m_at), e);
        if (m_at == 0) {
            // The first piece runs at least to the first line feed, so
            // it holds the file's first line break if there is one.
            m_lineBreak = piece.lineBreak;
            m_mixed = charset::hasMixedBreaks(m_bytes, m_encoding, m_lineBreak);
        }
        if (m_pairLines && !m_mixed && pairShortLines(piece.text))
            LineMap::of(m_edit.document()).markPaired();
        if (m_pairLines && m_mixed) {
            // The breaks set at the end skip the separators (the usual break).
            std::vector<sjis::LineBreak> breaks = charset::lineBreaksOf(QByteArrayView(m_bytes).sliced(m_at, end - m_at), e);
            if (pairMixedLines(piece.text, breaks, m_lineBreak))
                LineMap::of(m_edit.document()).markPaired();
        }
        insertFileText(cursor, piece.text);
        m_at = end;
    }
    cursor.endEditBlock();
    m_edit.document()->setModified(false);
    return m_at >= size;
}

FillResult finishFill(QPlainTextEdit& edit, const QByteArray& bytes, sjis::LineBreak lineBreak,
                      bool mixed, bool undo, bool caretToStart, charset::Encoding encoding)
{
    const QSignalBlocker quiet(&edit);
    FillResult result;
    result.lineBreak = lineBreak;
    QTextDocument* doc = edit.document();
    // Files with one kind of break (nearly all) need nothing per line.
    if (mixed) {
        result.mixedBreaks = true;
        setEditorLineBreaks(edit, charset::lineBreaksOf(bytes, encoding), lineBreak);
    }
    doc->setUndoRedoEnabled(undo);
    doc->clearUndoRedoStacks();
    doc->setModified(false);
    if (caretToStart)
        edit.setTextCursor(QTextCursor(doc));   // caret at the start, nothing selected
    return result;
}

FillResult EditorFill::finish(bool caretToStart)
{
    m_finished = true;
    const FillResult result =
        finishFill(m_edit, m_bytes, m_lineBreak, m_mixed, m_undo, caretToStart, m_encoding);
    m_bytes = QByteArray();   // not needed any more
    return result;
}

FillResult fillEditor(QPlainTextEdit& edit, QByteArray bytes, qsizetype pieceBytes,
                      const FillProgress& progress, charset::Encoding encoding)
{
    EditorFill fill(edit, std::move(bytes), pieceBytes, encoding);
    while (!fill.step(pieceBytes)) {
        if (progress && !progress(fill.done(), fill.total())) {
            FillResult cancelled;
            cancelled.lineBreak = fill.lineBreak();
            cancelled.cancelled = true;
            return cancelled;   // the caller throws the document away
        }
    }
    return fill.finish(true);
}

std::optional<QByteArray> documentBytes(const QPlainTextEdit& edit, sjis::LineBreak lineBreak,
                                        bool mixedBreaks, sjis::EncodeError* error,
                                        charset::Encoding encoding)
{
    const QString text = editorText(edit);   // the whole file, if it was still loading
    if (!mixedBreaks)
        return charset::encodeDocument(text, encoding, lineBreak, error);
    const std::vector<sjis::LineBreak> breaks = editorLineBreaks(edit, lineBreak);
    return charset::encodeDocumentLines(text, encoding, breaks, lineBreak, error);
}

std::optional<QByteArray> documentBytes(const Document& doc, sjis::EncodeError* error)
{
    return documentBytes(*doc.edit, doc.lineBreak, doc.mixedBreaks, error, doc.encoding);
}

std::vector<sjis::LineBreak> editorLineBreaks(const QPlainTextEdit& edit, sjis::LineBreak lineBreak)
{
    DocumentLoad::finishNow(edit.document());
    std::vector<sjis::LineBreak> breaks;
    breaks.reserve(size_t(edit.document()->blockCount()));
    for (QTextBlock b = edit.document()->firstBlock(); b.isValid(); b = b.next()) {
        // A line separator inside a block (pasted text) starts a new line too.
        const qsizetype separators = b.text().count(QChar::LineSeparator);
        breaks.insert(breaks.end(), size_t(separators), lineBreak);
        if (lines::continues(b.next()))
            continue;   // the line goes on in the next block
        breaks.push_back(lines::lineBreakOf(b).value_or(lineBreak));
    }
    return breaks;
}

void setEditorLineBreaks(QPlainTextEdit& edit, const std::vector<sjis::LineBreak>& breaks,
                         std::optional<sjis::LineBreak> usual)
{
    // A line held in pieces has its break on its last piece.  The breaks
    // are part of the block formats, so undo and redo keep them; setting
    // them is not a step to undo (the document has just been filled).
    QTextDocument* doc = edit.document();
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    QTextCursor c(doc);
    c.beginEditBlock();
    size_t i = 0;
    for (QTextBlock b = doc->firstBlock(); i < breaks.size() && b.isValid(); b = b.next()) {
        i += size_t(b.text().count(QChar::LineSeparator));
        if (!lines::continues(b.next()) && i < breaks.size()) {
            const sjis::LineBreak lineBreak = breaks[i++];
            if (lineBreak == usual)
                continue;   // a line without one takes the document's break
            c.setPosition(b.position());
            c.setBlockFormat(lines::withLineBreak(b.blockFormat(), lineBreak));
        }
    }
    c.endEditBlock();
    doc->setUndoRedoEnabled(undo);
}
