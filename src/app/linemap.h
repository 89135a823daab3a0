#pragma once
// A line of the file longer than a few thousand characters is held in the
// editor as several blocks: every block after the first "continues" the line
// of the block before it (a property of its block format, so undo and redo
// keep it).  Qt lays out and shapes a whole block on every change, so a
// minified page on one line would cost seconds per key; pieces of about a
// thousand characters cost well under a millisecond.  The break between such
// blocks is never written, and everything the user sees of lines (the status
// bar, search, the tag at the caret, copying) counts the file's lines.

#include "charset/textfile.h"

#include <QObject>
#include <QString>
#include <QStringView>
#include <QTextBlock>
#include <QTextBlockFormat>

#include <memory>
#include <vector>

class QTextCursor;
class QTextDocument;

namespace lines {

// Lines up to kLongLine characters stay one block; longer ones are cut into
// pieces of at most kPiece characters (after a '>' where one is near).
inline constexpr qsizetype kLongLine = 2048;
inline constexpr qsizetype kPiece = 1024;
// The longest text the tag at the caret may be: a longer one is no tag
// (the Tag Optioner could do nothing with it), and looking further would
// cost every key in a long stretch without tags.
inline constexpr qsizetype kLongestTag = 16 * 1024;
// Big files hold up to this many short lines to a block, with a line
// separator between them: Qt's cost in making a document is per block.
inline constexpr int kLinesPerBlock = 8;
// Inserted text with this many lines or more holds its short lines so too.
inline constexpr qsizetype kPairedInsertLines = 1000;

// True when the block continues the line of the block before it.
bool continues(const QTextBlock& block);
// `format` without (or with) the continuation mark.
QTextBlockFormat lineStartFormat(QTextBlockFormat format);
QTextBlockFormat continuationFormat(QTextBlockFormat format);

// The break the file gave the line that ends in this block (files with mixed
// breaks); none where the user made the break, which takes the document's.
// Also a block-format property, for the same reason.
std::optional<sjis::LineBreak> lineBreakOf(const QTextBlock& block);
QTextBlockFormat withLineBreak(QTextBlockFormat format, std::optional<sjis::LineBreak> lineBreak);

// Removes the cursor's selection.  Where it spans blocks, Qt leaves the
// format of the first block or of the last depending on where the removal
// starts; the block left holds the start of the first line and the end of
// the last, so it takes the first one's continuation mark and the last
// one's break.  The caller opens the edit block.
void removeSelection(QTextCursor& cursor);

// Where a piece of a long line ends: at most kPiece characters from `from`,
// just after the last '>' (else space) in its second half, never inside a
// surrogate pair.
qsizetype pieceEnd(QStringView text, qsizetype from, qsizetype lineEnd);

// Inserts file text ('\n' between lines) at the cursor, in place of its
// selection, as the editor holds it: long lines in pieces, each line the
// text starts keeps its start.  The caller opens the edit block.
void insertText(QTextCursor& cursor, const QString& text);

} // namespace lines

// The file's lines over a document's blocks.  Documents that never held a
// long line map one to one and cost nothing; otherwise the line of each
// block is counted once and kept until an edit changes the blocks it stands
// on, so a key at the caret recounts only from the caret.
class LineMap final : public QObject {
    Q_OBJECT
public:
    // The map of `doc`: an editor's document holds its own; a plain
    // QTextDocument gets one as a child on first use.
    static LineMap& of(QTextDocument* doc);
    // A map of `doc` for its owner to hold (not a child of it).
    static std::unique_ptr<LineMap> make(QTextDocument* doc);

    // Set once blocks and the file's lines stop being one to one: a
    // continuing block is made, or short lines share a block (a big file
    // holds two to a block, with a line separator between them).
    bool joined() const { return m_joined; }
    // A continuing block was made (a long line in pieces).
    bool hasPieces() const { return m_pieces; }
    void markJoined() { m_joined = m_pieces = true; }
    // Short lines were made to share blocks.
    void markPaired() { m_joined = true; }

    // The file line (from 0) at the start of a block.
    int lineOf(const QTextBlock& block);

    struct Position {
        int line = 0;
        int column = 0;   // UTF-16 units from the start of the line
    };
    Position positionOf(int documentPosition);
    // Where a file line starts, and where the line holding a position ends
    // (before its break); -1 past the last line.
    int lineStartPosition(int line);
    int lineEndPosition(int documentPosition) const;
    // The document position of a line and column (the column clamped to the
    // line's end); -1 past the last line.
    int documentPositionAt(int line, int column);

    // The tag around a position: from the nearest '<' before it on its line
    // to the nearest '>' after it on the line, if both are there within
    // lines::kLongestTag characters; else empty.
    QString tagAround(int documentPosition) const;

    // The text of one file line, without its break.
    QString lineText(int line);
    // The file's text ('\n' between lines).  With `joins`, also the indexes
    // into that text where one block continues another, in order.
    QString text(std::vector<qsizetype>* joins = nullptr) const;
    // The text between two document positions as the file holds it.
    QString textBetween(int from, int to) const;

private:
    explicit LineMap(QTextDocument* doc);
    void changed(int position);
    void countUpTo(int block);

    QTextDocument* m_doc;
    bool m_joined = false;
    bool m_pieces = false;
    // The first block of the line holding block n's start; n's own start
    // when it starts the line.
    int lineBegin(int n, int line, int* start);

    std::vector<int> m_lineOf;   // file line at the start of each block in [0, m_counted)
    int m_counted = 0;
};

// Document positions of an index into the file's text (LineMap::text with
// its joins): where a join falls at the index, `after` picks the position
// after it (the start of the continuing block), else the one before it.
int documentPositionOf(qsizetype fileIndex, const std::vector<qsizetype>& joins, bool after);
