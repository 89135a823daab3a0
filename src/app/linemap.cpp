#include "app/linemap.h"

#include "app/document.h"
#include "app/editordocument.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace lines {

namespace {
constexpr int kContinues = QTextFormat::UserProperty + 1;
constexpr int kLineBreak = QTextFormat::UserProperty + 2;   // 1 + sjis::LineBreak

void appendLine(QString& out, QStringView block)
{
    const qsizetype at = out.size();
    out += block;
    for (qsizetype i = at; i < out.size(); ++i)
        if (out[i] == QChar::LineSeparator)   // a line separator pasted into the block
            out[i] = QLatin1Char('\n');
}
} // namespace

bool continues(const QTextBlock& block)
{
    return block.isValid() && block.blockFormat().boolProperty(kContinues);
}

QTextBlockFormat lineStartFormat(QTextBlockFormat format)
{
    format.clearProperty(kContinues);
    return format;
}

QTextBlockFormat continuationFormat(QTextBlockFormat format)
{
    format.setProperty(kContinues, true);
    return format;
}

std::optional<sjis::LineBreak> lineBreakOf(const QTextBlock& block)
{
    const int v = block.isValid() ? block.blockFormat().intProperty(kLineBreak) : 0;
    if (v <= 0)
        return std::nullopt;
    return sjis::LineBreak(v - 1);
}

QTextBlockFormat withLineBreak(QTextBlockFormat format, std::optional<sjis::LineBreak> lineBreak)
{
    if (lineBreak)
        format.setProperty(kLineBreak, int(*lineBreak) + 1);
    else
        format.clearProperty(kLineBreak);
    return format;
}

void removeSelection(QTextCursor& cursor)
{
    if (!cursor.hasSelection())
        return;
    QTextDocument* doc = cursor.document();
    const QTextBlock first = doc->findBlock(cursor.selectionStart());
    const QTextBlock last = doc->findBlock(cursor.selectionEnd());
    if (first == last) {
        cursor.removeSelectedText();
        return;
    }
    const bool joined = continues(first);
    const std::optional<sjis::LineBreak> lineBreak = lineBreakOf(last);
    cursor.removeSelectedText();
    const QTextBlock left = cursor.block();
    if (continues(left) != joined || lineBreakOf(left) != lineBreak) {
        QTextBlockFormat f = withLineBreak(left.blockFormat(), lineBreak);
        cursor.setBlockFormat(joined ? continuationFormat(f) : lineStartFormat(f));
    }
}

qsizetype pieceEnd(QStringView text, qsizetype from, qsizetype lineEnd)
{
    if (lineEnd - from <= kPiece)
        return lineEnd;
    qsizetype end = from + kPiece;
    const QStringView half = text.sliced(from + kPiece / 2, kPiece / 2);
    qsizetype cut = half.lastIndexOf(u'>');
    if (cut < 0)
        cut = half.lastIndexOf(u' ');
    if (cut >= 0)
        end = from + kPiece / 2 + cut + 1;
    else if (text[end - 1].isHighSurrogate() && text[end].isLowSurrogate())
        --end;
    return end;
}

static void insertPieces(QTextCursor& cursor, QStringView text);

static void insertLines(QTextCursor& cursor, const QString& text);

void insertText(QTextCursor& cursor, const QString& text)
{
    removeSelection(cursor);   // the text replaces the selection
    // New blocks copy the format of the block they are split from: the
    // line's own break goes with its end, the new breaks are the document's.
    const std::optional<sjis::LineBreak> lineBreak = lineBreakOf(cursor.block());
    if (!lineBreak || !text.contains(u'\n')) {
        insertLines(cursor, text);
        return;
    }
    cursor.setBlockFormat(withLineBreak(cursor.blockFormat(), std::nullopt));
    insertLines(cursor, text);
    cursor.setBlockFormat(withLineBreak(cursor.blockFormat(), lineBreak));
}

static void insertLines(QTextCursor& cursor, const QString& text)
{
    // Nearly always: no long line, and a cursor in a block that starts a
    // line; the text goes in as it is, without a copy.
    bool longLine = false;
    for (qsizetype start = 0; start <= text.size() && !longLine;) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        longLine = end - start > kLongLine;
        start = end + 1;
    }
    if (!longLine && !continues(cursor.block())) {
        // Many short lines (a tree pasted whole) go in two to a block, as a
        // big file is loaded: Qt's cost is per block.
        if (text.count(u'\n') >= kPairedInsertLines) {
            QString paired = text;
            if (pairShortLines(paired)) {
                LineMap::of(cursor.document()).markPaired();
                cursor.insertText(paired);
                return;
            }
        }
        cursor.insertText(text);
        return;
    }
    insertPieces(cursor, text);
}

static void insertPieces(QTextCursor& cursor, QStringView text)
{
    LineMap& map = LineMap::of(cursor.document());
    // A run of text whose lines are all short goes in at once; a new block
    // copies the format of the block it is split from, so a run inserted
    // into a continuing block must start its second line itself.
    auto insertRun = [&](QStringView run) {
        if (run.isEmpty())
            return;
        const qsizetype nl = run.indexOf(u'\n');
        if (nl >= 0 && continues(cursor.block())) {
            cursor.insertText(run.first(nl).toString());
            cursor.insertBlock(lineStartFormat(cursor.blockFormat()));
            run = run.sliced(nl + 1);
        }
        cursor.insertText(run.toString());
    };

    qsizetype pending = 0;   // start of what is not inserted yet
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        if (end - start > kLongLine) {
            insertRun(text.sliced(pending, start - pending));
            const QTextBlockFormat joined = continuationFormat(cursor.blockFormat());
            for (qsizetype at = start; at < end;) {
                const qsizetype cut = pieceEnd(text, at, end);
                cursor.insertText(text.sliced(at, cut - at).toString());
                if (cut < end) {
                    cursor.insertBlock(joined);
                    map.markJoined();
                }
                at = cut;
            }
            pending = end;
            if (end < text.size()) {
                cursor.insertBlock(lineStartFormat(cursor.blockFormat()));
                pending = end + 1;
            }
        }
        start = end + 1;
    }
    insertRun(text.sliced(std::min(pending, text.size())));
}

} // namespace lines

LineMap::LineMap(QTextDocument* doc) : m_doc(doc)
{
    connect(doc, &QTextDocument::contentsChange, this,
            [this](int position, int, int) { changed(position); });
}

std::unique_ptr<LineMap> LineMap::make(QTextDocument* doc)
{
    return std::unique_ptr<LineMap>(new LineMap(doc));
}

LineMap& LineMap::of(QTextDocument* doc)
{
    if (auto* own = qobject_cast<EditorDocument*>(doc))
        return own->lineMap();
    if (auto* map = doc->findChild<LineMap*>(QString(), Qt::FindDirectChildrenOnly))
        return *map;
    LineMap* map = make(doc).release();
    map->setParent(doc);
    return *map;
}

void LineMap::changed(int position)
{
    if (!m_joined || m_counted == 0)
        return;
    // Blocks before the one holding the change keep their numbers and lines.
    m_counted = std::min(m_counted, m_doc->findBlock(position).blockNumber());
    if (m_counted < 0)
        m_counted = 0;
}

namespace {
constexpr QChar kLineSeparator(QChar::LineSeparator);

int separatorsIn(QStringView text)
{
    return int(text.count(kLineSeparator));
}
} // namespace

void LineMap::countUpTo(int block)
{
    if (block < m_counted)
        return;
    const int count = m_doc->blockCount();
    if (int(m_lineOf.size()) != count)
        m_lineOf.resize(size_t(count));
    block = std::min(block, count - 1);
    QTextBlock b = m_doc->findBlockByNumber(m_counted);
    // The line current at the start of the first block to count.
    int line = m_counted == 0 ? -1
                              : m_lineOf[size_t(m_counted - 1)] + separatorsIn(b.previous().text());
    for (int n = m_counted; n <= block && b.isValid(); ++n, b = b.next()) {
        if (n == 0 || !lines::continues(b))
            ++line;
        m_lineOf[size_t(n)] = line;
        line += separatorsIn(b.text());   // lines that end inside the block
    }
    m_counted = block + 1;
}

int LineMap::lineOf(const QTextBlock& block)
{
    const int n = block.blockNumber();
    if (!m_joined || n < 0)
        return n;
    countUpTo(n);
    return m_lineOf[size_t(n)];
}

int LineMap::lineBegin(int n, int line, int* start)
{
    // Blocks from the first one whose start lies in `line` up to n hold no
    // separator before n (each would start a new line).
    const auto first = std::lower_bound(m_lineOf.begin(), m_lineOf.begin() + n + 1, line);
    const int m = int(first - m_lineOf.begin());
    const QTextBlock b = m_doc->findBlockByNumber(m);
    *start = b.position();
    if (lines::continues(b)) {
        // The line began after the last separator of the block before.
        const QTextBlock p = b.previous();
        const qsizetype at = p.text().lastIndexOf(kLineSeparator);
        if (at >= 0)
            *start = p.position() + int(at) + 1;
    }
    return m;
}

LineMap::Position LineMap::positionOf(int documentPosition)
{
    const QTextBlock block = m_doc->findBlock(documentPosition);
    if (!block.isValid())
        return {};
    const int inBlock = documentPosition - block.position();
    if (!m_joined)
        return {block.blockNumber(), inBlock};
    const QString text = block.text();
    const QStringView before = QStringView(text).first(std::min<qsizetype>(inBlock, text.size()));
    const int line = lineOf(block) + separatorsIn(before);
    const qsizetype separator = before.lastIndexOf(kLineSeparator);
    if (separator >= 0)
        return {line, int(inBlock - separator - 1)};
    int start = 0;
    const int n = block.blockNumber();
    const int m = lineBegin(n, line, &start);
    // Between the line's start and the position, one separator at the end of
    // each block crossed is a join, not the file's.
    const int joins = n - m + (start < m_doc->findBlockByNumber(m).position() ? 1 : 0);
    return {line, documentPosition - start - joins};
}

int LineMap::lineStartPosition(int line)
{
    if (line < 0)
        return -1;
    if (!m_joined) {
        const QTextBlock b = m_doc->findBlockByNumber(line);
        return b.isValid() ? b.position() : -1;
    }
    // Count only as far as needed.
    const int count = m_doc->blockCount();
    for (int upTo = std::max(1023, m_counted);; upTo *= 2) {
        countUpTo(std::min(upTo, count - 1));
        if (m_counted >= count || m_lineOf[size_t(m_counted - 1)] > line)
            break;
    }
    const auto end = m_lineOf.begin() + m_counted;
    const auto it = std::upper_bound(m_lineOf.begin(), end, line);
    if (it == m_lineOf.begin())
        return -1;
    const int n = int(it - m_lineOf.begin()) - 1;   // the last block starting at or before it
    const int after = line - m_lineOf[size_t(n)];
    if (after == 0) {
        int start = 0;
        lineBegin(n, line, &start);
        return start;
    }
    // The line starts after a separator inside block n.
    const QTextBlock b = m_doc->findBlockByNumber(n);
    const QString text = b.text();
    qsizetype at = -1;
    for (int k = 0; k < after; ++k) {
        at = text.indexOf(kLineSeparator, at + 1);
        if (at < 0)
            return -1;
    }
    return b.position() + int(at) + 1;
}

int LineMap::lineEndPosition(int documentPosition) const
{
    QTextBlock b = m_doc->findBlock(documentPosition);
    if (!b.isValid())
        return -1;
    qsizetype from = documentPosition - b.position();
    while (true) {
        const QString text = b.text();
        const qsizetype at = text.indexOf(kLineSeparator, from);
        if (at >= 0)
            return b.position() + int(at);
        if (!m_joined || !lines::continues(b.next()))
            return b.position() + int(text.size());
        b = b.next();
        from = 0;
    }
}

int LineMap::documentPositionAt(int line, int column)
{
    const int start = lineStartPosition(line);
    if (start < 0)
        return -1;
    QTextBlock b = m_doc->findBlock(start);
    int at = start;
    for (int left = std::max(column, 0);;) {
        const qsizetype separator = b.text().indexOf(kLineSeparator, at - b.position());
        const int end = separator >= 0 ? b.position() + int(separator) : b.position() + b.length() - 1;
        if (left <= end - at || separator >= 0 || !lines::continues(b.next()))
            return std::min(at + left, end);
        left -= end - at;
        b = b.next();
        at = b.position();
    }
}

// Characters `from` to `to` of a block, without copying the rest of it (a
// block that was never cut may hold megabytes).
static QString blockSlice(const QTextBlock& b, qsizetype from, qsizetype to)
{
    if (to <= from)
        return {};
    if (b.length() <= 4 * lines::kLongestTag)
        return b.text().sliced(from, to - from);
    // Character by character: a text cursor would lay the whole block out
    // to place itself.
    const QTextDocument* doc = b.document();
    QString out(to - from, Qt::Uninitialized);
    const int at = b.position() + int(from);
    for (qsizetype i = 0; i < out.size(); ++i)
        out[i] = doc->characterAt(at + int(i));
    return out;
}

QString LineMap::tagAround(int documentPosition) const
{
    // Block by block over the text, never character by character through
    // the document (a lookup each), and never further than a tag may be.
    const QTextBlock caretBlock = m_doc->findBlock(documentPosition);
    if (!caretBlock.isValid())
        return {};
    int start = -1;
    qsizetype budget = lines::kLongestTag;
    QTextBlock b = caretBlock;
    qsizetype upTo = documentPosition - b.position();
    while (budget > 0) {
        const qsizetype end = std::min<qsizetype>(upTo, b.length() - 1);
        const qsizetype from = std::max<qsizetype>(0, end - budget);
        const QString part = blockSlice(b, from, end);
        const qsizetype lt = part.lastIndexOf(u'<');
        const qsizetype separator = part.lastIndexOf(kLineSeparator);
        if (lt >= 0 && lt > separator) {
            start = b.position() + int(from + lt);
            budget -= part.size() - lt;   // what is left for the rest of the tag
            break;
        }
        budget -= part.size();
        if (separator >= 0 || from > 0 || !lines::continues(b))
            break;
        b = b.previous();   // the line goes on in the piece above
        upTo = b.length() - 1;
    }
    if (start < 0)
        return {};
    b = caretBlock;
    qsizetype at = documentPosition - b.position();
    while (budget > 0) {
        const qsizetype length = b.length() - 1;
        const qsizetype from = std::min(at, length);
        const qsizetype to = std::min(length, from + budget);
        const QString part = blockSlice(b, from, to);
        const qsizetype gt = part.indexOf(u'>');
        const qsizetype separator = part.indexOf(kLineSeparator);
        if (gt >= 0 && (separator < 0 || gt < separator)) {
            const int end = b.position() + int(at + gt);
            return textBetween(start, end + 1);   // the joins between pieces are not the file's
        }
        budget -= part.size();
        if (separator >= 0 || to < length || !lines::continues(b.next()))
            break;
        b = b.next();
        at = 0;
    }
    return {};
}

QString LineMap::lineText(int line)
{
    const int start = lineStartPosition(line);
    if (start < 0)
        return {};
    return textBetween(start, lineEndPosition(start));
}

QString LineMap::text(std::vector<qsizetype>* joins) const
{
    if (joins)
        joins->clear();
    if (!m_pieces) {
        // Every separator in the raw text is a line's end.
        QString t = m_doc->toRawText();
        for (QChar& c : t)
            if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
                c = QLatin1Char('\n');
        return t;
    }
    QString out;
    out.reserve(m_doc->characterCount());
    for (QTextBlock b = m_doc->firstBlock(); b.isValid(); b = b.next()) {
        if (b != m_doc->firstBlock()) {
            if (!lines::continues(b))
                out += QLatin1Char('\n');
            else if (joins)
                joins->push_back(out.size());
        }
        lines::appendLine(out, b.text());
    }
    return out;
}

QString LineMap::textBetween(int from, int to) const
{
    if (from > to)
        std::swap(from, to);
    QString out;
    QTextBlock b = m_doc->findBlock(from);
    for (bool first = true; b.isValid() && b.position() <= to; b = b.next(), first = false) {
        if (!first && !lines::continues(b))
            out += QLatin1Char('\n');
        const int start = std::max(from - b.position(), 0);
        const int end = std::min(to - b.position(), b.length() - 1);
        if (end > start)
            lines::appendLine(out, blockSlice(b, start, end));
    }
    return out;
}

int documentPositionOf(qsizetype fileIndex, const std::vector<qsizetype>& joins, bool after)
{
    const auto it = after ? std::upper_bound(joins.begin(), joins.end(), fileIndex)
                          : std::lower_bound(joins.begin(), joins.end(), fileIndex);
    return int(fileIndex + (it - joins.begin()));
}
