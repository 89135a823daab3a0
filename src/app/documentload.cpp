#include "app/documentload.h"

#include "app/editordocument.h"
#include "app/linemap.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <cstring>
#include <optional>

namespace {

// Decoded at a time within a step: the decoded text stays small.
constexpr qsizetype kPieceBytes = qsizetype(1) << 20;

// The file's first line break (CR LF when it has none), as decoding finds it.
sjis::LineBreak firstBreak(const QByteArray& bytes)
{
    const char* const data = bytes.constData();
    const size_t size = size_t(bytes.size());
    const void* lf = std::memchr(data, '\n', size);
    const size_t lfAt = lf ? size_t(static_cast<const char*>(lf) - data) : size;
    const void* cr = std::memchr(data, '\r', lfAt);
    if (cr)
        return static_cast<const char*>(cr) + 1 == data + lfAt ? sjis::LineBreak::CrLf
                                                               : sjis::LineBreak::Cr;
    return lf ? sjis::LineBreak::Lf : sjis::LineBreak::CrLf;
}

// Keys a read-only editor serves on what is loaded: caret moves, selecting
// by them, copying.  Any other key may edit, and select all and the end of
// the document mean the whole file.
bool servedWhileLoading(const QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_unknown:
        return true;
    default:
        break;
    }
    if (e->matches(QKeySequence::MoveToEndOfDocument) || e->matches(QKeySequence::SelectEndOfDocument))
        return false;
    static const QKeySequence::StandardKey moves[] = {
        QKeySequence::MoveToNextChar, QKeySequence::MoveToPreviousChar,
        QKeySequence::MoveToNextWord, QKeySequence::MoveToPreviousWord,
        QKeySequence::MoveToNextLine, QKeySequence::MoveToPreviousLine,
        QKeySequence::MoveToNextPage, QKeySequence::MoveToPreviousPage,
        QKeySequence::MoveToStartOfLine, QKeySequence::MoveToEndOfLine,
        QKeySequence::MoveToStartOfBlock, QKeySequence::MoveToEndOfBlock,
        QKeySequence::MoveToStartOfDocument,
        QKeySequence::SelectNextChar, QKeySequence::SelectPreviousChar,
        QKeySequence::SelectNextWord, QKeySequence::SelectPreviousWord,
        QKeySequence::SelectNextLine, QKeySequence::SelectPreviousLine,
        QKeySequence::SelectNextPage, QKeySequence::SelectPreviousPage,
        QKeySequence::SelectStartOfLine, QKeySequence::SelectEndOfLine,
        QKeySequence::SelectStartOfBlock, QKeySequence::SelectEndOfBlock,
        QKeySequence::SelectStartOfDocument, QKeySequence::Copy,
    };
    for (QKeySequence::StandardKey k : moves)
        if (e->matches(k))
            return true;
    return false;
}

} // namespace

void insertFileText(QTextCursor& cursor, const QString& text)
{
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        if (end - start > lines::kLongLine) {
            lines::insertText(cursor, text);   // cuts the long lines
            return;
        }
        start = end + 1;
    }
    if (lines::continues(cursor.block()))
        lines::insertText(cursor, text);   // the next line starts a block of its own
    else
        cursor.insertText(text);
}

DocumentLoad::DocumentLoad(QPlainTextEdit& edit, QByteArray bytes, charset::Encoding encoding)
    : QObject(edit.document()), m_edit(edit), m_doc(edit.document()), m_bytes(std::move(bytes)),
      m_encoding(encoding)
{
    if (auto* own = qobject_cast<EditorDocument*>(m_doc.data()))
        own->setLoad(this);
    m_total = m_bytes.size();
    m_lineBreak = firstBreak(m_bytes);
    m_mixed = charset::hasMixedBreaks(m_bytes, m_encoding, m_lineBreak);
    m_undo = m_doc->isUndoRedoEnabled();
    m_doc->setUndoRedoEnabled(false);   // the load is not undoable
}

DocumentLoad::~DocumentLoad()
{
    if (auto* own = qobject_cast<EditorDocument*>(m_doc.data()); own && own->load() == this)
        own->setLoad(nullptr);
    if (!m_fillDone && m_doc)
        m_doc->setUndoRedoEnabled(m_undo);
}

DocumentLoad* DocumentLoad::start(QPlainTextEdit& edit, QByteArray bytes, FillResult* filled,
                                  charset::Encoding encoding)
{
    if (bytes.size() <= kAtOnceBytes || encoding == charset::Encoding::Iso2022Jp) {
        *filled = fillEditor(edit, std::move(bytes), kFillPieceBytes, {}, encoding);
        return nullptr;
    }
    auto* load = new DocumentLoad(edit, std::move(bytes), encoding);
    if (load->step(kFirstBytes)) {
        *filled = load->finishFill(true);
        delete load;
        return nullptr;
    }
    edit.setTextCursor(QTextCursor(edit.document()));
    edit.setReadOnly(true);
    // The caret moves over what is in; the input method stays on, so that
    // what it gives finishes the load and goes in.
    edit.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    edit.setAttribute(Qt::WA_InputMethodEnabled, true);
    edit.installEventFilter(load);
    // The first screen is painted (and reaches the display) before the
    // first step: steps start once the editor has painted (or after a
    // moment, should no paint come), at once when it is not shown.
    if (edit.isVisible()) {
        edit.viewport()->installEventFilter(load);
        QTimer::singleShot(100, load, [load] { load->startSteps(); });
    } else {
        load->startSteps();
    }
    return load;
}

DocumentLoad* DocumentLoad::of(const QTextDocument* doc)
{
    DocumentLoad* load = nullptr;
    if (auto* own = qobject_cast<const EditorDocument*>(doc))
        load = own->load();
    else if (doc)
        load = doc->findChild<DocumentLoad*>(QString(), Qt::FindDirectChildrenOnly);
    return load && !load->m_done ? load : nullptr;
}

void DocumentLoad::finishNow(const QTextDocument* doc)
{
    if (DocumentLoad* load = of(doc)) {
        while (!load->step(kStepBytes)) {
        }
        load->complete();
    }
}

bool DocumentLoad::eventFilter(QObject* watched, QEvent* event)
{
    if (m_done)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Paint && watched == m_edit.viewport())
        QTimer::singleShot(0, this, [this] { startSteps(); });
    if (watched == &m_edit) {
        // An edit goes in where the user put the caret, into the whole file.
        if (event->type() == QEvent::KeyPress && !servedWhileLoading(static_cast<QKeyEvent*>(event)))
            finishNow(m_doc);
        else if (event->type() == QEvent::InputMethod
                 && !static_cast<QInputMethodEvent*>(event)->commitString().isEmpty())
            finishNow(m_doc);
    }
    return QObject::eventFilter(watched, event);
}

qsizetype DocumentLoad::pieceEnd(qsizetype want, bool* midLine) const
{
    *midLine = false;
    const qsizetype size = m_bytes.size();
    if (want >= size)
        return size;
    const char* const data = m_bytes.constData();
    const qsizetype from = want - 1;
    const size_t window = size_t(qMin(size - from, kBreakSearchBytes));
    const void* lf = std::memchr(data + from, '\n', window);
    const size_t lfAt = lf ? size_t(static_cast<const char*>(lf) - data) : size_t(from) + window;
    const void* cr = std::memchr(data + from, '\r', lfAt - size_t(from));
    auto afterBreak = [&](qsizetype at) {
        return data[at] == '\r' && at + 1 < size && data[at + 1] == '\n' ? at + 2 : at + 1;
    };
    if (cr)
        return afterBreak(static_cast<const char*>(cr) - data);
    if (lf)
        return afterBreak(qsizetype(lfAt));
    // A long line: cut before a byte below 0x40, which is neither half of
    // a double-byte character, so both sides decode as they do together.
    for (qsizetype at = want; at < size; ++at) {
        const uchar b = uchar(data[at]);
        if (b < 0x40) {
            if (b == '\r' || b == '\n')
                return afterBreak(at);
            *midLine = true;
            return at;
        }
    }
    return size;
}

void DocumentLoad::append(QTextCursor& cursor, QByteArrayView bytes, bool midLine)
{
    // Each '\n' of the decoded text stands for the next of these (a CR LF
    // pair is never cut, and the carried end of a long line holds none).
    const charset::Encoding e = pieceEncoding(m_encoding, bytes.data() == m_bytes.constData());
    std::vector<sjis::LineBreak> breaks = m_mixed ? charset::lineBreaksOf(bytes, e)
                                                  : std::vector<sjis::LineBreak>();
    QString text = charset::decodeDocument(bytes, e).text;
    if (!m_carry.isEmpty())
        text.prepend(std::exchange(m_carry, QString()));
    qsizetype keep = text.size();   // what goes in now
    qsizetype lineStart = keep;     // where the line cut mid-line starts
    if (midLine) {
        // The line's pieces that are sure to be as a fill at once makes
        // them go in; the rest waits for the line's next bytes.
        lineStart = text.lastIndexOf(u'\n') + 1;
        qsizetype at = lineStart;
        while (text.size() - at > lines::kLongLine + lines::kPiece)
            at = lines::pieceEnd(text, at, text.size());
        m_carry = text.sliced(at);
        keep = at;
    }
    if (keep == 0)
        return;
    LineMap& map = LineMap::of(cursor.document());
    if (m_open) {
        // The line of the last block goes on.
        cursor.insertBlock(lines::continuationFormat(cursor.blockFormat()));
        map.markJoined();
        m_open = false;
    }
    if (lineStart > 0) {
        QString head = !midLine && lineStart == text.size() ? std::move(text) : text.first(lineStart);
        if (m_mixed ? pairMixedLines(head, breaks, m_lineBreak) : pairShortLines(head))
            map.markPaired();
        const int start = cursor.position();
        const int blocks = cursor.document()->blockCount();
        insertFileText(cursor, head);
        if (m_mixed)
            setBreaks(start, cursor.position(), cursor.document()->blockCount() - blocks, head, breaks);
    }
    if (midLine && keep > lineStart) {
        const QTextBlockFormat joined = lines::continuationFormat(cursor.blockFormat());
        for (qsizetype at = lineStart; at < keep;) {
            const qsizetype cut = lines::pieceEnd(text, at, text.size());
            if (at > lineStart) {
                cursor.insertBlock(joined);
                map.markJoined();
            }
            cursor.insertText(text.sliced(at, cut - at));
            at = cut;
        }
        m_open = true;
    }
}

void DocumentLoad::setBreaks(int start, int end, int newBlocks, QStringView text,
                             const std::vector<sjis::LineBreak>& breaks)
{
    // Setting them as the lines go in costs a format change per line with a
    // break of its own, instead of a walk over every block of the file once
    // it is all in.  Every break must have made a block of its own.
    const qsizetype lineEnds = text.count(u'\n');
    if (!m_breaksSet || breaks.size() != size_t(lineEnds) || newBlocks < lineEnds) {
        m_breaksSet = false;   // left to the end of the load
        return;
    }
    QTextDocument* doc = m_edit.document();
    QTextCursor at(doc);
    // Formats met last, and what they become with each break.
    QTextBlockFormat plain;
    std::optional<QTextBlockFormat> withBreak[3];
    auto give = [&](sjis::LineBreak lineBreak) {
        const QTextBlockFormat now = at.blockFormat();
        if (now != plain) {
            plain = now;
            for (std::optional<QTextBlockFormat>& f : withBreak)
                f.reset();
        }
        std::optional<QTextBlockFormat>& f = withBreak[int(lineBreak)];
        if (!f)
            f = lines::withLineBreak(plain, lineBreak);
        at.setBlockFormat(*f);
    };
    if (end - start == text.size() && newBlocks == lineEnds) {
        // No line was cut into pieces: a break in the text stands where it
        // stands in the document, at the end of its line's block.
        qsizetype from = 0;
        for (const sjis::LineBreak lineBreak : breaks) {
            const qsizetype nl = text.indexOf(u'\n', from);
            from = nl + 1;
            if (lineBreak == m_lineBreak)
                continue;   // a line without one takes the document's break
            at.setPosition(start + int(nl));
            give(lineBreak);
        }
        return;
    }
    // A line held in pieces has its break on its last piece.
    size_t i = 0;
    for (QTextBlock b = doc->findBlock(start); i < breaks.size() && b.isValid(); b = b.next()) {
        if (lines::continues(b.next()))
            continue;
        const sjis::LineBreak lineBreak = breaks[i++];
        if (lineBreak == m_lineBreak)
            continue;
        at.setPosition(b.position());
        give(lineBreak);
    }
}

bool DocumentLoad::step(qsizetype atLeast)
{
    const QSignalBlocker quiet(&m_edit);
    // Text appended at the end would carry a caret standing there along.
    const int anchor = m_edit.textCursor().anchor();
    const int position = m_edit.textCursor().position();
    // Text appended below the screen changes nothing shown but the scroll
    // bar; the layout would have the whole text area repainted (and its
    // lines shaped again) after every step.  Where the end is in sight the
    // editor hears of the change as usual.
    QAbstractTextDocumentLayout* layout = m_doc->documentLayout();
    const QScrollBar* bar = m_edit.verticalScrollBar();
    const bool endShown = !m_edit.isVisible() || bar->value() + 2 * bar->pageStep() >= bar->maximum();
    std::optional<QSignalBlocker> quietLayout;
    if (!endShown)
        quietLayout.emplace(layout);
    QTextCursor cursor(m_edit.document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    const qsizetype size = m_bytes.size();
    const qsizetype stop = atLeast < size - m_at ? m_at + atLeast : size;
    while (m_at < stop) {
        bool midLine = false;
        const qsizetype end = pieceEnd(m_at + qMin(kPieceBytes, stop - m_at), &midLine);
        append(cursor, QByteArrayView(m_bytes).sliced(m_at, end - m_at), midLine);
        m_at = end;
    }
    cursor.endEditBlock();
    if (quietLayout) {
        quietLayout.reset();
        emit layout->documentSizeChanged(layout->documentSize());   // the scroll bar grows
    }
    m_edit.document()->setModified(false);
    const QTextCursor now = m_edit.textCursor();
    if (now.position() != position || now.anchor() != anchor) {
        QTextCursor back(m_edit.document());
        back.setPosition(anchor);
        back.setPosition(position, QTextCursor::KeepAnchor);
        m_edit.setTextCursor(back);
    }
    return m_at >= size;
}

FillResult DocumentLoad::finishFill(bool caretToStart)
{
    m_fillDone = true;
    // Each line's own break is in already unless a piece did not match.
    FillResult result = ::finishFill(m_edit, m_bytes, m_lineBreak, m_mixed && !m_breaksSet, m_undo,
                                     caretToStart, m_encoding);
    result.mixedBreaks = m_mixed;
    m_bytes = QByteArray();
    return result;
}

void DocumentLoad::startSteps()
{
    if (m_stepping || m_done)
        return;
    m_stepping = true;
    m_edit.viewport()->removeEventFilter(this);
    stepLater();
}

void DocumentLoad::stepLater()
{
    // Input and painting are served between two steps.
    QTimer::singleShot(0, this, [this] {
        if (m_done)
            return;
        if (step(kStepBytes)) {
            complete();
            return;
        }
        emit progressed(m_at, m_total);
        stepLater();
    });
}

void DocumentLoad::complete()
{
    m_done = true;
    m_edit.removeEventFilter(this);
    m_edit.viewport()->removeEventFilter(this);
    const FillResult result = finishFill(false);
    m_edit.setReadOnly(false);
    emit progressed(m_total, m_total);
    emit finished(result);
    deleteLater();
}
