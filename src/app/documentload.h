#pragma once
// A big file is shown as soon as its first screenful is in: the rest is
// appended in steps from the event loop, the editor read-only meanwhile.
// Anything that needs the whole text (saving, search, conversion, printing,
// an insertion) finishes the load first, so nothing ever sees half a file.

#include "app/document.h"

#include <QObject>

class QTextDocument;

class DocumentLoad final : public QObject {
    Q_OBJECT
public:
    // Files up to this size are filled at once (well under a tenth of a
    // second); bigger ones load in the background.
    static constexpr qsizetype kAtOnceBytes = qsizetype(4) << 20;
    // What goes in before the editor is first shown, and in each later step.
    static constexpr qsizetype kFirstBytes = qsizetype(64) << 10;
    static constexpr qsizetype kStepBytes = qsizetype(2) << 20;

    // Fills the first screenful now.  Returns the load still running (owned
    // by the editor's document), or nullptr when the file was all in at
    // once, with what the fill found in *filled.
    static DocumentLoad* start(QPlainTextEdit& edit, QByteArray bytes, FillResult* filled);
    // The load running in a document, if any.
    static DocumentLoad* of(const QTextDocument* doc);
    // Appends the rest now; nothing when no load runs.
    static void finishNow(const QTextDocument* doc);

    // The file's line-break facts, known from the first step on (they are
    // taken from all its bytes).
    sjis::LineBreak lineBreak() const { return m_fill.lineBreak(); }
    bool mixedBreaks() const { return m_fill.mixedBreaks(); }
    qsizetype done() const { return m_fill.done(); }
    qsizetype total() const { return m_total; }

signals:
    void progressed(qsizetype done, qsizetype total);
    // Everything is in and the editor editable; the load deletes itself.
    void finished(const FillResult& result);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DocumentLoad(QPlainTextEdit& edit, QByteArray bytes);
    void startSteps();
    void stepLater();
    void complete();

    QPlainTextEdit& m_edit;
    qsizetype m_total = 0;
    EditorFill m_fill;
    bool m_done = false;
    bool m_stepping = false;
};
