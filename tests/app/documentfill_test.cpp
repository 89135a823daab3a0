// Filling an editor from a file's bytes: the piecewise fill builds the same
// document as decoding the whole file and calling setPlainText, and an opened
// document starts clean (nothing to undo, not modified, caret at the start).
#include "app/document.h"
#include "app/filecommands.h"
#include "charset/textfile.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QAction>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// ASCII lines up to `size` bytes, each ended by `br`.
QByteArray filler(qsizetype size, const QByteArray& br = "\r\n")
{
    QByteArray b;
    b.reserve(size);
    int n = 0;
    while (b.size() < size)
        b += "<TD>" + QByteArray::number(++n) + "</TD>" + br;
    b.truncate(size);
    return b;
}

// `head` padded with ASCII (no line breaks) so that `tail` starts at `at`.
QByteArray placeAt(QByteArray head, qsizetype at, const QByteArray& tail)
{
    while (head.size() < at)
        head += 'x';
    head.truncate(at);
    return head + tail;
}

// Small pieces put many piece ends into small inputs.
constexpr qsizetype kPiece = 64;

void expectSameAsWholeDecode(const QByteArray& bytes, const char* what, qsizetype piece = kPiece)
{
    SCOPED_TRACE(what);
    const sjis::DocumentText whole = sjis::decodeDocument(bytes);
    QPlainTextEdit reference;
    reference.setPlainText(whole.text);

    QPlainTextEdit edit;
    const sjis::LineBreak lb = fillEditor(edit, bytes, piece).lineBreak;
    EXPECT_EQ(lb, whole.lineBreak);
    const QTextDocument* doc = edit.document();
    EXPECT_EQ(doc->blockCount(), reference.document()->blockCount());
    EXPECT_TRUE(doc->toRawText() == reference.document()->toRawText());
    EXPECT_EQ(doc->characterCount(), reference.document()->characterCount());
    EXPECT_EQ(doc->lastBlock().position(), reference.document()->lastBlock().position());
    // A fresh document: nothing to undo or redo, not modified, caret at 0.
    EXPECT_FALSE(doc->isUndoAvailable());
    EXPECT_FALSE(doc->isRedoAvailable());
    EXPECT_TRUE(doc->isUndoRedoEnabled());
    EXPECT_FALSE(doc->isModified());
    EXPECT_EQ(edit.textCursor().position(), 0);
    EXPECT_FALSE(edit.textCursor().hasSelection());
}

} // namespace

TEST(DocumentFill, SameDocumentAsDecodingTheWholeFile)
{
    expectSameAsWholeDecode(QByteArray(), "empty");
    expectSameAsWholeDecode("no break at all", "one line");
    expectSameAsWholeDecode("a\r\n\r\nb\r\n", "trailing break");
    expectSameAsWholeDecode(QByteArray("\x00\x81\x7f\xff\x80\xa0\r\n\xb1\xb2\x82\xa0\t\x1b\r\x83", 16),
                            "controls, invalid bytes, cut pair");
    expectSameAsWholeDecode("a\rb\nc\r\nd\n\re", "mixed breaks");

    // Piece ends: a piece ends after the first line feed at or past
    // piece size - 1.
    const qsizetype edge = kPiece - 1;
    expectSameAsWholeDecode(placeAt(filler(edge - 20), edge, "\nafter\n"), "LF on the edge");
    expectSameAsWholeDecode(placeAt(filler(edge - 20), edge, "\r\nafter"), "CR LF across the edge");
    expectSameAsWholeDecode(placeAt(filler(edge - 20), edge - 1, "\x82\n\x82\xa0\n"),
                            "lead byte before the LF on the edge");
    expectSameAsWholeDecode(placeAt(filler(edge - 20), edge, "\r\r\n\n"), "CR, CR LF, LF");
    expectSameAsWholeDecode(filler(3 * kPiece + 45, "\n"), "several pieces");
    expectSameAsWholeDecode(filler(2 * kPiece + 7, "\r"), "CR only, one piece");
    // Double-byte characters and stray bytes across many piece ends.
    QByteArray mixed;
    for (int i = 0; i < 300; ++i)
        mixed += QByteArray("\x93\xfa\x96\x7b\xb6\n\x82\r\n\xff\x81", 12).left(1 + i % 12);
    for (qsizetype piece : {1, 2, 3, 5, 7, 13, 64})
        expectSameAsWholeDecode(mixed, "mixed bytes", piece);
    // The real piece size, once.
    expectSameAsWholeDecode(filler(kFillPieceBytes + 300, "\n"), "default pieces", kFillPieceBytes);
}

TEST(DocumentFill, LineBreakIsTheFirstOneOfTheFile)
{
    // The first break lies beyond the first piece's nominal size.
    const QByteArray late = QByteArray(kPiece + 10, 'a') + "\rb\nc\r\n";
    QPlainTextEdit edit;
    EXPECT_EQ(fillEditor(edit, late, kPiece).lineBreak, sjis::LineBreak::Cr);
    EXPECT_EQ(edit.document()->blockCount(), 4);

    QPlainTextEdit lf;
    EXPECT_EQ(fillEditor(lf, filler(5 * kPiece, "\n") + "\r\n", kPiece).lineBreak, sjis::LineBreak::Lf);
    QPlainTextEdit none;
    EXPECT_EQ(fillEditor(none, QByteArray(kPiece * 2, 'a'), kPiece).lineBreak, sjis::LineBreak::CrLf);
}

TEST(DocumentFill, SameFormatsAndQuietEditor)
{
    const QByteArray bytes("<HTML>\r\n\x93\xfa\x96\x7b\r\n\r\n</HTML>");
    QPlainTextEdit reference;
    reference.setPlainText(sjis::decodeDocument(bytes).text);

    QPlainTextEdit edit;
    QSignalSpy text(&edit, &QPlainTextEdit::textChanged);
    QSignalSpy caret(&edit, &QPlainTextEdit::cursorPositionChanged);
    QSignalSpy modified(&edit, &QPlainTextEdit::modificationChanged);
    fillEditor(edit, bytes);
    EXPECT_EQ(edit.document()->toHtml(), reference.document()->toHtml());
    for (QTextBlock a = edit.document()->firstBlock(), b = reference.document()->firstBlock();
         a.isValid() && b.isValid(); a = a.next(), b = b.next()) {
        EXPECT_EQ(a.charFormat(), b.charFormat());
        EXPECT_EQ(a.blockFormat(), b.blockFormat());
    }
    // The editor stays silent; its owner recomputes the caret itself.
    EXPECT_EQ(text.count(), 0);
    EXPECT_EQ(caret.count(), 0);
    EXPECT_EQ(modified.count(), 0);

    // The first edit after the fill is the only thing undo takes back.
    edit.moveCursor(QTextCursor::End);
    edit.insertPlainText(QStringLiteral("!"));
    EXPECT_TRUE(edit.document()->isModified());
    edit.undo();
    EXPECT_EQ(edit.toPlainText(), reference.toPlainText());
    EXPECT_FALSE(edit.document()->isUndoAvailable());
}

class DocumentFillTest : public MainWindowTest {};

TEST_F(DocumentFillTest, OpenedDocumentStartsClean)
{
    TFmMain& m = makeWindow(true);
    m.action("MWordWrap")->setChecked(true);
    const QString file = path(QStringLiteral("page.htm"));
    const QByteArray bytes = filler(kFillPieceBytes + 5000) + "\r\n<B>\x93\xfa</B>\r\n";
    ASSERT_TRUE(writeAll(file, bytes));

    ASSERT_TRUE(openDocumentFile(m, file));
    Document* d = m.currentDocument();
    ASSERT_TRUE(d);
    DocumentEditor* e = d->edit;
    EXPECT_EQ(editorText(*e), sjis::decodeDocument(bytes).text);
    EXPECT_EQ(d->lineBreak, sjis::LineBreak::CrLf);
    EXPECT_FALSE(e->document()->isUndoAvailable());
    EXPECT_FALSE(e->document()->isModified());
    EXPECT_FALSE(m.documents().filling());
    EXPECT_EQ(e->textCursor().position(), 0);
    EXPECT_EQ(m.caretLine(), 0);
    EXPECT_EQ(m.caretColumn(), 0);
    EXPECT_EQ(m.statusPanel(0), QStringLiteral("  行 ： 0 列 ： 0"));
    EXPECT_EQ(m.statusPanel(1), QStringLiteral("変更なし"));
    EXPECT_EQ(m.statusPanel(2), QStringLiteral("保存時間：(未保存)"));
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Quillnest4 - ") + file);
    EXPECT_FALSE(m.action("MUndo")->isEnabled());
    EXPECT_EQ(e->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(e->font(), m.editorLook().font);
    EXPECT_EQ(e->verticalScrollBar()->value(), 0);

    // The caret is tracked as usual afterwards.
    e->setTextCursor(QTextCursor(e->document()->lastBlock().previous()));
    e->moveCursor(QTextCursor::Right);
    e->moveCursor(QTextCursor::Right);
    EXPECT_EQ(m.caretLine(), e->document()->blockCount() - 2);
    EXPECT_EQ(m.caretColumn(), 2);
    EXPECT_EQ(m.CaretTagText(), QStringLiteral("<B>"));

    // The first change marks the document and enables Undo, which takes back
    // only that change.
    e->insertPlainText(QStringLiteral("x"));
    EXPECT_EQ(m.statusPanel(1), QStringLiteral("変更あり"));
    EXPECT_TRUE(m.action("MUndo")->isEnabled());
    e->undo();
    EXPECT_EQ(editorText(*e), sjis::decodeDocument(bytes).text);
    EXPECT_FALSE(e->document()->isUndoAvailable());
}
