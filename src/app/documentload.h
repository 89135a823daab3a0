#pragma once
// A big file is shown as soon as its first screenful is in: the rest is
// appended in steps from the event loop, the editor read-only meanwhile.
// Keys that only move the caret work on what is in; a key that edits (or
// needs the whole text: select all, Ctrl+End) first finishes the load, then
// does its work where the user put the caret.  Anything else that needs the
// whole text (saving, search, conversion, printing, an insertion) finishes
// the load first too, so nothing ever sees half a file.

#include "app/document.h"

#include <QObject>
#include <QPointer>

#include <vector>

class QTextCursor;
class QTextDocument;

// Puts decoded file text in at the cursor at the end of a fill: long lines
// in pieces, short ones as they are.  Unlike an insertion by the user, a
// big text is not paired here: the fill has paired what it may (in a file
// with mixed breaks only lines ending in the usual break may share a block).
void insertFileText(QTextCursor& cursor, const QString& text);

// pairShortLines for a file with mixed breaks: short lines share a block
// only where each but the last one's break is `usual`, the document's, which a line
// separator inside a block always stands for; so no break needs keeping but
// the block's own.  `breaks` lists the break of each '\n' of `text`, and is
// left listing those of the '\n' still there.  Nothing is paired when it does
// not match the text.
bool pairMixedLines(QString& text, std::vector<sjis::LineBreak>& breaks, sjis::LineBreak usual);

class DocumentLoad final : public QObject {
    Q_OBJECT
public:
    // Files up to this size are filled at once (well under a tenth of a
    // second); bigger ones load in the background.
    static constexpr qsizetype kAtOnceBytes = qsizetype(4) << 20;
    // What goes in before the editor is first shown, and in each later step.
    static constexpr qsizetype kFirstBytes = qsizetype(64) << 10;
    static constexpr qsizetype kStepBytes = qsizetype(2) << 20;
    // A step ends after the first line break this far past its size; a line
    // with none that near is long and is cut where it is held in pieces.
    static constexpr qsizetype kBreakSearchBytes = qsizetype(64) << 10;

    // Fills the first screenful now.  Returns the load still running (owned
    // by the editor's document), or nullptr when the file was all in at
    // once, with what the fill found in *filled.
    // ISO-2022-JP files are always filled at once (their escapes may carry
    // a mode over a line break, so they cannot be cut at one).
    static DocumentLoad* start(QPlainTextEdit& edit, QByteArray bytes, FillResult* filled,
                               charset::Encoding encoding = charset::Encoding::ShiftJis);
    // The load running in a document, if any.
    static DocumentLoad* of(const QTextDocument* doc);
    // Appends the rest now; nothing when no load runs.
    static void finishNow(const QTextDocument* doc);

    ~DocumentLoad() override;

    // The file's line-break facts, known from the start (they are taken
    // from all its bytes).
    sjis::LineBreak lineBreak() const { return m_lineBreak; }
    bool mixedBreaks() const { return m_mixed; }
    qsizetype done() const { return m_at; }
    qsizetype total() const { return m_total; }

signals:
    void progressed(qsizetype done, qsizetype total);
    // Everything is in and the editor editable; the load deletes itself.
    void finished(const FillResult& result);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DocumentLoad(QPlainTextEdit& edit, QByteArray bytes, charset::Encoding encoding);
    // Appends at least `atLeast` more bytes' worth, or the rest; true once
    // everything is in.  The caret stays where it was.
    bool step(qsizetype atLeast);
    // Where a piece wanted to end at `want` really ends: after a line break
    // (never between CR and LF), or inside a long line before a byte that
    // no double-byte character holds; *midLine tells which.
    qsizetype pieceEnd(qsizetype want, bool* midLine) const;
    void append(QTextCursor& cursor, QByteArrayView bytes, bool midLine);
    // Gives the lines of `text`, just put in from `start` to `end` (making
    // `newBlocks` blocks), their own breaks (files with mixed breaks).
    void setBreaks(int start, int end, int newBlocks, QStringView text,
                   const std::vector<sjis::LineBreak>& breaks);
    FillResult finishFill(bool caretToStart);
    void startSteps();
    void stepLater();
    void complete();

    QPlainTextEdit& m_edit;
    QPointer<QTextDocument> m_doc;   // gone first when the editor is destroyed mid-load
    QByteArray m_bytes;
    qsizetype m_total = 0;
    qsizetype m_at = 0;
    // The end of a long line cut mid-line, decoded but not in yet: it goes
    // in with the next piece, so the line's pieces fall where a fill at
    // once puts them.
    QString m_carry;
    // The last block ends a piece of a line that goes on in the next.
    bool m_open = false;
    bool m_mixed = false;
    charset::Encoding m_encoding = charset::Encoding::ShiftJis;
    // Every line put in so far has its own break (mixed breaks).
    bool m_breaksSet = true;
    sjis::LineBreak m_lineBreak = sjis::LineBreak::CrLf;
    bool m_undo = true;
    bool m_fillDone = false;
    bool m_done = false;
    bool m_stepping = false;
};
