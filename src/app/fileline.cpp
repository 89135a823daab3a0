#include "app/fileline.h"

#include "app/linemap.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextOption>

namespace lines {

namespace {

constexpr QChar kLineSeparator(QChar::LineSeparator);

// The caret stands at the end of a piece that the next block continues, or
// at the start of a continuing piece: the same place in the file.
bool atPieceEnd(const QTextCursor& c)
{
    return c.atBlockEnd() && continues(c.block().next());
}

bool atPieceStart(const QTextCursor& c)
{
    return c.atBlockStart() && continues(c.block());
}

bool wordCharacter(QChar ch)
{
    return ch.isLetterOrNumber() || ch.isMark() || ch == u'_';
}

// The join after `block` falls inside a word of the file.
bool joinInWord(const QTextBlock& block)
{
    const QString before = block.text();
    const QString after = block.next().text();
    return !before.isEmpty() && !after.isEmpty() && wordCharacter(before.back())
        && wordCharacter(after.front());
}

// The join at the caret, if it stands at one, falls inside a word.
bool atJoinInWord(const QTextCursor& c)
{
    if (atPieceEnd(c))
        return joinInWord(c.block());
    if (atPieceStart(c))
        return joinInWord(c.block().previous());
    return false;
}

enum class Move { None, NextChar, PreviousChar, NextWord, PreviousWord, LineStart, LineEnd };

Move moveOf(const QKeyEvent* e, QTextCursor::MoveMode* mode)
{
    struct Key {
        QKeySequence::StandardKey move;
        QKeySequence::StandardKey select;
        Move what;
    };
    static const Key keys[] = {
        {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, Move::NextChar},
        {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, Move::PreviousChar},
        {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, Move::NextWord},
        {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord, Move::PreviousWord},
        {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, Move::LineStart},
        {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, Move::LineEnd},
        {QKeySequence::MoveToStartOfBlock, QKeySequence::SelectStartOfBlock, Move::LineStart},
        {QKeySequence::MoveToEndOfBlock, QKeySequence::SelectEndOfBlock, Move::LineEnd},
    };
    for (const Key& k : keys) {
        if (e->matches(k.move)) {
            *mode = QTextCursor::MoveAnchor;
            return k.what;
        }
        if (e->matches(k.select)) {
            *mode = QTextCursor::KeepAnchor;
            return k.what;
        }
    }
    return Move::None;
}

bool inPieces(const QTextBlock& b)
{
    return continues(b) || continues(b.next());
}

// A word move that goes on where it stopped at a join inside a word or
// moved over joins only.
void moveByWords(QTextCursor& c, QTextCursor::MoveOperation op, QTextCursor::MoveMode mode)
{
    const QTextDocument* doc = c.document();
    for (;;) {
        const int from = c.position();
        if (!c.movePosition(op, mode))
            break;
        const int to = c.position();
        if (!onlyJoins(doc, std::min(from, to), std::max(from, to)) && !atJoinInWord(c))
            break;
    }
}

} // namespace

bool onlyJoins(const QTextDocument* doc, int from, int to)
{
    QTextBlock b = doc->findBlock(from);
    const QTextBlock last = doc->findBlock(to);
    if (to - from != last.blockNumber() - b.blockNumber())
        return false;
    for (; b.isValid() && b != last; b = b.next())
        if (!continues(b.next()))
            return false;
    return true;
}

int fileLineStart(const QTextDocument* doc, int position)
{
    QTextBlock b = doc->findBlock(position);
    qsizetype upTo = position - b.position();
    while (b.isValid()) {
        const qsizetype at = upTo > 0 ? b.text().lastIndexOf(kLineSeparator, upTo - 1) : -1;
        if (at >= 0)
            return b.position() + int(at) + 1;
        if (!continues(b))
            return b.position();
        b = b.previous();
        upTo = b.length() - 1;
    }
    return 0;
}

bool movePastJoins(QPlainTextEdit& edit, const QKeyEvent* e)
{
    QTextDocument* doc = edit.document();
    if (!LineMap::of(doc).hasPieces())
        return false;
    QTextCursor::MoveMode mode = QTextCursor::MoveAnchor;
    const Move move = moveOf(e, &mode);
    QTextCursor c = edit.textCursor();
    switch (move) {
    case Move::None:
        return false;
    case Move::NextChar:
    case Move::PreviousChar:
        // Over the join first; the editor then moves one character.
        if (move == Move::NextChar && atPieceEnd(c))
            c.setPosition(c.block().next().position(), mode);
        else if (move == Move::PreviousChar && atPieceStart(c))
            c.setPosition(c.block().previous().position() + c.block().previous().length() - 1, mode);
        else
            return false;
        edit.setTextCursor(c);
        return false;
    case Move::NextWord:
    case Move::PreviousWord:
        if (!inPieces(c.block()) && !atPieceEnd(c))
            return false;
        moveByWords(c, move == Move::NextWord ? QTextCursor::NextWord : QTextCursor::PreviousWord, mode);
        if (atPieceEnd(c))
            c.setPosition(c.block().next().position(), mode);   // shown where the next piece starts
        break;
    case Move::LineStart:
    case Move::LineEnd:
        // With wrapping, Home and End keep to the line on screen (a piece's
        // edge is one of its ends); without, they reach the file line's.
        if (edit.lineWrapMode() != QPlainTextEdit::NoWrap || !inPieces(c.block()))
            return false;
        c.setPosition(move == Move::LineStart ? fileLineStart(doc, c.position())
                                              : LineMap::of(doc).lineEndPosition(c.position()),
                      mode);
        break;
    }
    edit.setTextCursor(c);
    edit.ensureCursorVisible();
    return true;
}

QTextCursor fileLineSelection(QTextDocument* doc, int position)
{
    LineMap& map = LineMap::of(doc);
    QTextCursor c(doc);
    c.setPosition(fileLineStart(doc, position));
    const int end = map.lineEndPosition(position);
    // With its break: the next line starts one position on.
    c.setPosition(std::min(end + 1, doc->characterCount() - 1), QTextCursor::KeepAnchor);
    return c;
}

std::unique_ptr<QTextDocument> printableCopy(const QPlainTextEdit& edit)
{
    auto copy = std::make_unique<QTextDocument>();
    copy->setDocumentMargin(edit.document()->documentMargin());
    copy->setDefaultFont(edit.document()->defaultFont());
    QTextOption option = edit.document()->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(edit.tabStopDistance());
    copy->setDefaultTextOption(option);
    copy->setPlainText(LineMap::of(edit.document()).text());
    return copy;
}

QTextCursor moveSelection(QTextCursor selection, int to)
{
    QTextDocument* doc = selection.document();
    const QString text = LineMap::of(doc).textBetween(selection.selectionStart(), selection.selectionEnd());
    QTextCursor at(doc);
    at.setPosition(to);
    selection.beginEditBlock();
    removeSelection(selection);
    const int start = at.position();   // moved along with the removal
    insertText(at, text);
    selection.endEditBlock();
    QTextCursor moved(doc);
    moved.setPosition(start);
    moved.setPosition(at.position(), QTextCursor::KeepAnchor);
    return moved;
}

} // namespace lines
