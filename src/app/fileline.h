#pragma once
// A line of the file held in pieces (see linemap.h) as the user meets it:
// caret moves, selecting a line and printing count the file's line.  The
// join between two pieces is no character of the file, so no move stops on
// one without moving in the file; the only trace of pieces is where the
// screen wraps.

#include <QTextCursor>

#include <memory>

class QKeyEvent;
class QPlainTextEdit;
class QTextDocument;

namespace lines {

// True when [from, to) holds nothing of the file: only joins between pieces.
bool onlyJoins(const QTextDocument* doc, int from, int to);

// Moves the editor's caret for a caret-moving key (arrows, word moves,
// Home/End, with or without Shift) where the pieces of a long line would
// make the editor's own move stop at a join or a piece's edge.  False when
// the key is no such move or the editor's own move is right.
bool movePastJoins(QPlainTextEdit& edit, const QKeyEvent* e);

// A selection of the file line under `position`, with its break.
QTextCursor fileLineSelection(QTextDocument* doc, int position);

// Where the file line holding `position` starts.
int fileLineStart(const QTextDocument* doc, int position);

// The editor's text laid out for paper: one block per file line, in the
// editor's font and tab width, wrapped at the page's edge.
std::unique_ptr<QTextDocument> printableCopy(const QPlainTextEdit& edit);

// Moves the selected text to `to` (a position outside the selection), as a
// drag and drop inside the editor does, keeping the lines' starts and
// breaks around both places; one step to undo.  Returns the moved text
// selected at its new place.
QTextCursor moveSelection(QTextCursor selection, int to);

} // namespace lines
