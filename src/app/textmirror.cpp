#include "app/textmirror.h"

#include "app/editordocument.h"

#include <QTextCursor>
#include <QTextDocument>

namespace {

// Pieces taken from the document are this long; an edit copies at most one.
constexpr qsizetype kPiece = 16 * 1024;
// An edit bigger than this (a paste of a whole page) is taken with the rest
// of the text the next time, instead of piece by piece now.
constexpr qsizetype kFollowAtMost = qsizetype(1) << 20;

bool hasSeparator(QStringView text)
{
    for (QChar c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            return true;
    return false;
}

} // namespace

TextMirror::TextMirror(QTextDocument* doc) : m_doc(doc)
{
    connect(doc, &QTextDocument::contentsChange, this, &TextMirror::changed);
}

std::unique_ptr<TextMirror> TextMirror::make(QTextDocument* doc)
{
    return std::unique_ptr<TextMirror>(new TextMirror(doc));
}

TextMirror& TextMirror::of(QTextDocument* doc)
{
    if (auto* own = qobject_cast<EditorDocument*>(doc))
        return own->mirror();
    if (auto* m = doc->findChild<TextMirror*>(QString(), Qt::FindDirectChildrenOnly))
        return *m;
    TextMirror* m = make(doc).release();
    m->setParent(doc);
    return *m;
}

TextMirror::Text TextMirror::text()
{
    if (!m_valid) {
        const QString raw = m_doc->toRawText();
        m_pieces.clear();
        m_pieces.reserve(size_t(raw.size() / kPiece + 1));
        for (qsizetype at = 0; at < raw.size(); at += kPiece)
            m_pieces.push_back(Piece{raw, at, std::min(kPiece, raw.size() - at)});
        m_size = raw.size();
        m_valid = true;
    }
    return m_pieces;
}

QString TextMirror::join(const Text& text)
{
    qsizetype size = 0;
    for (const Piece& p : text)
        size += p.size;
    QString out;
    out.reserve(size);
    for (const Piece& p : text)
        out += p.view();
    return out;
}

void TextMirror::forget()
{
    m_pieces.clear();
    m_pieces.shrink_to_fit();
    m_size = 0;
    m_valid = false;
}

size_t TextMirror::splitAt(qsizetype position)
{
    qsizetype start = 0;
    size_t i = 0;
    while (i < m_pieces.size() && start + m_pieces[i].size <= position)
        start += m_pieces[i++].size;
    if (i == m_pieces.size() || start == position)
        return i;
    Piece& p = m_pieces[i];
    const qsizetype head = position - start;
    Piece tail{p.text, p.from + head, p.size - head};
    p.size = head;
    m_pieces.insert(m_pieces.begin() + qsizetype(i) + 1, std::move(tail));
    return i + 1;
}

void TextMirror::changed(int position, int removed, int added)
{
    ++m_structure;   // undone below for an edit that plainly keeps the lines
    if (!m_valid)
        return;
    // The document reports whole blocks at times, and its final separator,
    // which the raw text leaves out; the text itself is what counts.
    const qsizetype size = qsizetype(m_doc->characterCount()) - 1;
    const qsizetype pos = position;
    const qsizetype gone = std::min<qsizetype>(removed, m_size - pos);
    const qsizetype come = std::min<qsizetype>(added, size - pos);
    if (pos < 0 || gone < 0 || come < 0 || m_size - gone + come != size || come > kFollowAtMost) {
        forget();
        return;
    }
    QString inserted;
    if (come > 0) {
        QTextCursor c(m_doc);
        c.setPosition(int(pos));
        c.setPosition(int(pos + come), QTextCursor::KeepAnchor);
        inserted = c.selectedText();
        if (inserted.size() != come) {
            forget();
            return;
        }
    }

    const size_t begin = splitAt(pos);
    const size_t end = splitAt(pos + gone);
    bool structural = (gone > 0 && come > 0) || hasSeparator(inserted);
    for (size_t i = begin; i < end && !structural; ++i)
        structural = hasSeparator(m_pieces[i].view());
    m_pieces.erase(m_pieces.begin() + qsizetype(begin), m_pieces.begin() + qsizetype(end));
    if (!inserted.isEmpty()) {
        // Typing goes on at the end of the piece it made a key ago.
        Piece* before = begin > 0 ? &m_pieces[begin - 1] : nullptr;
        if (before && before->size + come <= kPiece && before->text.isDetached()
            && before->from == 0 && before->size == before->text.size()) {
            before->text += inserted;
            before->size += come;
        } else {
            m_pieces.insert(m_pieces.begin() + qsizetype(begin), Piece{inserted, 0, come});
        }
    }
    m_size = size;
    if (!structural)
        --m_structure;
    // Scattered edits leave many small pieces; past a point the next copy
    // starts afresh from the document.
    if (m_pieces.size() > size_t(m_size / kPiece) * 2 + 4096)
        forget();
}
