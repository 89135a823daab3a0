#pragma once
// One document: a tab of EditControl holding one plain-text editor.

#include "app/documentfile.h"
#include "charset/encodings.h"
#include "charset/textfile.h"
#include "platform/product.h"

#include <QElapsedTimer>
#include <QKeySequence>
#include <QList>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextDocument>
#include <QString>
#include <QTextBlock>
#include <QTextCursor>

#include <functional>

class EditorColouring;
class QWidget;

// The editor of a document ("RichEdit" + number).  It reports key presses,
// key releases and mouse presses to the main window after handling them.
class DocumentEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit DocumentEditor(QWidget* parent = nullptr);
    int number = 0;
    // Keys the editor leaves to the window's shortcuts even where it has a
    // binding of its own (key control's Ctrl+A over select-all).
    void setWindowKeys(const QList<QKeySequence>& keys) { m_windowKeys = keys; }
    // Runs before each paint of the text area, with the blocks about to be
    // shown (a colouring brings their formats up to date there).
    void setBeforePaint(std::function<void()> f) { m_beforePaint = std::move(f); }
    // The blocks the text area shows now, top to bottom (partly shown ones too).
    QList<QTextBlock> shownBlocks() const;
    // Cut that keeps the lines' starts and breaks around the selection.
    void cutSelection();
    // The colouring of its text, once it has one (a child of the editor:
    // they go together).
    EditorColouring* colouring() const { return m_colouring; }
    void setColouring(EditorColouring* colouring) { m_colouring = colouring; }

signals:
    void keyPressed(QKeyEvent* event);
    void keyReleased(QKeyEvent* event);
    void mousePressed();
    // A tag-tree item was dropped on the editor (it goes in at the caret).
    void tagTreeDropped();

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Enter, Backspace and Delete where a long line is held in pieces; false
    // when the key is the editor's own business.
    bool editAtJoin(QKeyEvent* e);
    // Typed text in place of the selection, one step to undo.
    void replaceSelection(const QString& text);
    QList<QKeySequence> m_windowKeys;
    EditorColouring* m_colouring = nullptr;
    // A triple click selects a block; where two lines share one it is
    // brought back to the clicked line.
    QElapsedTimer m_doubleClicked;
    QPointF m_doubleClickAt;
    std::function<void()> m_beforePaint;
    // The caret's line keeps its shaped text between edits (see
    // keepCaretLayout); where it was, for letting it go again.
    void keepCaretLayout();
    QTextCursor m_kept;
    bool m_keptEdited = false;
};


struct Document {
    int number = 0;
    QString path;                 // full path, or "Page" + number before it has a file
    bool hasFile = false;
    QString saveTime;             // "保存時間：(未保存)" or "保存時間：" + time
    sjis::LineBreak lineBreak = sjis::LineBreak::CrLf; // the file's first break; new lines get it
    charset::Encoding encoding = charset::Encoding::ShiftJis;   // what the file is read and saved in
    bool mixedBreaks = false;     // lines keep their own breaks (see documentBytes)
    DiskStamp disk;               // its file as last read or written here
    QWidget* tab = nullptr;       // "TabSheet" + number
    DocumentEditor* edit = nullptr; // "RichEdit" + number

    bool modified() const;
    // "変更あり" or "変更なし", from the editor's modified flag.
    QString status() const;
};

inline const QString kStatusChanged = QStringLiteral("変更あり");
inline const QString kStatusUnchanged = QStringLiteral("変更なし");
inline const QString kSaveTimeUnsaved = QStringLiteral("保存時間：(未保存)");

// Editor text as the file will hold it (U+2029 paragraph separators become '\n').
QString editorText(const QPlainTextEdit& edit);

// Loads a file's bytes into an empty editor as a freshly opened document:
// the text is decoded piece by piece (each piece ends after a line feed, so
// the result is exactly decodeDocument(bytes).text) and appended in one edit
// block.  Afterwards nothing can be undone, the modified flag is clear and the
// caret stands at the start.  The editor emits no signals while it is filled;
// callers recompute what depends on it (UpdateCaret).  Returns the file's
// line break.  `pieceBytes` (at least 1) is the size of the pieces decoded at
// a time; a piece runs on to the next line feed.
inline constexpr qsizetype kFillPieceBytes = qsizetype(1) << 20;
struct FillResult {
    sjis::LineBreak lineBreak = sjis::LineBreak::CrLf;   // the file's first break
    bool mixedBreaks = false;   // each line's break is recorded on its block
    bool cancelled = false;     // the progress callback said stop; the editor is incomplete
};
// Told the bytes done and the total after each piece; false stops the fill.
using FillProgress = std::function<bool(qsizetype done, qsizetype total)>;
// The same fill a step at a time (a document loaded from the event loop).
// The editor's signals are blocked during each step and its modified flag
// is clear after it; the fill is never undoable.
class EditorFill {
public:
    EditorFill(QPlainTextEdit& edit, QByteArray bytes, qsizetype pieceBytes = kFillPieceBytes,
               charset::Encoding encoding = charset::Encoding::ShiftJis);
    ~EditorFill();
    EditorFill(const EditorFill&) = delete;
    EditorFill& operator=(const EditorFill&) = delete;
    // Appends at least `atLeast` more bytes' worth (up to the next line
    // feed) or the rest; true once everything is in.
    bool step(qsizetype atLeast);
    // After the last step: the breaks of a mixed file, nothing to undo.
    FillResult finish(bool caretToStart);
    // Two short lines to a block, with a line separator between them (with
    // mixed breaks only where the first line has the file's first kind):
    // half the blocks, half the time Qt takes to make them.  Set before the
    // first step.
    void setPairLines(bool on) { m_pairLines = on; }
    qsizetype done() const { return m_at; }
    qsizetype total() const { return m_bytes.size(); }
    sjis::LineBreak lineBreak() const { return m_lineBreak; }   // known after the first step
    bool mixedBreaks() const { return m_mixed; }                // known after the first step

private:
    QPlainTextEdit& m_edit;
    QPointer<QTextDocument> m_doc;   // gone first when the editor is destroyed mid-fill
    bool m_finished = false;
    QByteArray m_bytes;
    qsizetype m_pieceBytes;
    qsizetype m_at = 0;
    bool m_undo = true;
    bool m_pairLines = false;
    bool m_mixed = false;   // known after the first step
    sjis::LineBreak m_lineBreak = sjis::LineBreak::CrLf;
    charset::Encoding m_encoding = charset::Encoding::ShiftJis;
};

FillResult fillEditor(QPlainTextEdit& edit, QByteArray bytes,
                      qsizetype pieceBytes = kFillPieceBytes, const FillProgress& progress = {},
                      charset::Encoding encoding = charset::Encoding::ShiftJis);
// How a piece of a file after its first is decoded: a byte-order mark
// belongs to the file's start only.
constexpr charset::Encoding pieceEncoding(charset::Encoding e, bool first)
{
    return !first && e == charset::Encoding::Utf8Bom ? charset::Encoding::Utf8 : e;
}

// Joins up to lines::kLinesPerBlock lines of `text` at a time with line
// separators where together they stay a short line; true if any were.
// The separator ends a line of the file like a break (saving writes the
// document's break for it), so the text means the same.
bool pairShortLines(QString& text);
// The end of every fill, at once or in steps: each line's own break where
// the file mixes them, undo as it was with nothing to undo, not modified.
FillResult finishFill(QPlainTextEdit& edit, const QByteArray& bytes, sjis::LineBreak lineBreak,
                      bool mixed, bool undo, bool caretToStart,
                      charset::Encoding encoding = charset::Encoding::ShiftJis);

// The bytes a document is saved as: its text with its line breaks.  In a
// file with mixed breaks every line the user did not split keeps its own
// break and new lines take the first break; otherwise every line takes the
// document's break.
std::optional<QByteArray> documentBytes(const QPlainTextEdit& edit, sjis::LineBreak lineBreak,
                                        bool mixedBreaks, sjis::EncodeError* error,
                                        charset::Encoding encoding = charset::Encoding::ShiftJis);
// The same for a document, in its own encoding.
std::optional<QByteArray> documentBytes(const Document& doc, sjis::EncodeError* error);

// The break each line of a mixed-break document ends in, as saving writes
// them (the last line's too); and giving an editor's lines such breaks
// again (lines past the list keep none and take the document's break; so do
// lines whose break is `usual`, the document's own, when it is given).
std::vector<sjis::LineBreak> editorLineBreaks(const QPlainTextEdit& edit, sjis::LineBreak lineBreak);
void setEditorLineBreaks(QPlainTextEdit& edit, const std::vector<sjis::LineBreak>& breaks,
                         std::optional<sjis::LineBreak> usual = std::nullopt);

