// Tag tree speed: loading a large .lot file into the tree view, and pasting a
// large subtree into a document.
#include "app/document.h"
#include "app/tfmmain.h"
#include "app/editorport.h"
#include "support/options.h"
#include "platform/prompts.h"
#include "tagtree/tagnode.h"
#include "tagtree/tagpaste.h"
#include "tagtree/tagtreemodel.h"
#include "tagtree/tagtreepanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

class SilentPrompts final : public Prompts {
public:
    int messages = 0;
    Answer message(QWidget*, const QString&, const QString&, Icon, Buttons) override
    {
        ++messages;
        return Answer::Ok;
    }
    FileAnswer openFile(QWidget*, const FileRequest&) override { return {}; }
    FileAnswer saveFile(QWidget*, const FileRequest&) override { return {}; }
    std::optional<QColor> chooseColor(QWidget*, const QColor&) override { return {}; }
    bool printerSetup(QWidget*, QPrinter&) override { return false; }
    bool printDialog(QWidget*, QPrinter&) override { return false; }
    int execDialog(QDialog&) override { return 0; }
};

// The main window's insertion into a plain editor: one edit at the caret.
class EditPort final : public EditorPort {
public:
    QPlainTextEdit edit;

    bool hasDocument() const override { return true; }
    void InsertAtCaret(const QString& text) override { insertText(text); }
    bool insertText(const QString& text) override
    {
        QTextCursor c = edit.textCursor();
        c.insertText(text);
        edit.setTextCursor(c);
        return true;
    }
    void InsertTag(const QString&) override {}
    void focusEditor() override {}
    QString CaretTagText() const override { return {}; }
};

// 1,000,000 lines in blocks of 20: a top-level node with nested children
// down to five levels, the texts typical tags with some Shift_JIS.
QByteArray generatedLot()
{
    static const char* const texts[] = {"<TABLE BORDER=1></TABLE>", "<TR></TR>", "<TD>\x8c\xa9\x8f\x6f\x82\xb5</TD>",
                                        "<A HREF=\"index.htm\"></A>", "<FONT COLOR=\"#FF0000\"></FONT>"};
    static const int levels[] = {0, 1, 2, 3, 3, 2, 3, 4, 4, 1, 2, 2, 3, 4, 5, 1, 1, 2, 3, 2};
    QByteArray out;
    out.reserve(40 << 20);
    for (int i = 0; i < 1000000; ++i) {
        out.append(QByteArray(levels[i % 20], '\t'));
        out.append(texts[i % 5]);
        out.append("\r\n");
    }
    return out;
}

void BM_LoadLot(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("big.lot");
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(generatedLot());
    }
    SilentPrompts prompts;
    EditPort editor;
    TagTreePanel panel(prompts, editor, {});
    panel.resize(300, 600);
    panel.show();
    QApplication::processEvents();
    for (auto _ : state) {
        panel.loadTreeFile(path);
        // Let the view lay out and paint what it shows.
        panel.TagTree->viewport()->repaint();
        QApplication::processEvents();
        state.PauseTiming();
        panel.N20Click();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    if (prompts.messages != 0)
        state.SkipWithError("the load reported a problem");
}
BENCHMARK(BM_LoadLot)->Unit(benchmark::kMillisecond)->Iterations(3);

// A 100,000-node subtree in the panel's tree, selected: a table of 20,000
// rows of four cells.
TagNode* bigSubtree(TagTreePanel& panel)
{
    TagNode* top = nullptr;
    panel.model()->replace([&](TagTree& t) {
        top = t.append(nullptr, "<TABLE></TABLE>");
        for (int r = 0; r < 20000; ++r) {
            TagNode* tr = t.append(top, "<TR></TR>");
            for (int c = 0; c < 3; ++c)
                t.append(tr, "<TD>\u30bb\u30eb</TD>");
            t.append(tr, "<TD></TD>");
        }
    });
    panel.selectNode(top);
    return top;
}

void BM_PasteTagSubtree(benchmark::State& state)
{
    SilentPrompts prompts;
    EditPort editor;
    QPlainTextEdit& edit = editor.edit;
    edit.resize(600, 400);
    edit.show();
    TagTreePanel panel(prompts, editor, {});
    bigSubtree(panel);
    state.counters["nodes"] = double(panel.model()->tree().nodeCount());
    for (auto _ : state) {
        state.PauseTiming();
        edit.setPlainText(QStringLiteral("<BODY>\n\n</BODY>\n"));
        QTextCursor c = edit.textCursor();
        c.setPosition(7);
        edit.setTextCursor(c);
        QApplication::processEvents();
        state.ResumeTiming();
        panel.PasteTagSubtree();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_PasteTagSubtree)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same paste as the user meets it: the tree's panel of a shown main
// window inserting into a page through the editor, one step to undo.
void BM_PasteTagSubtreeIntoPage(benchmark::State& state)
{
    SilentPrompts prompts;
    QTemporaryDir dir;
    const std::unique_ptr<TFmMain> window = shownBenchWindow(prompts, dir);
    TFmMain& main = *window;
    auto* panel = main.findChild<TagTreePanel*>();
    if (!panel) {
        state.SkipWithError("no tag tree panel");
        return;
    }
    TagNode* top = bigSubtree(*panel);
    {
        QElapsedTimer clock;
        clock.start();
        const TagPasteText text = tagPasteText(top);
        state.counters["text_ms"] = double(clock.nsecsElapsed()) / 1e6;
        state.counters["text_lines"] = double(text.text.count(u'\n'));
    }
    for (auto _ : state) {
        state.PauseTiming();
        Document& d = main.NewDocument();
        d.edit->setPlainText(QStringLiteral("<BODY>\n\n</BODY>\n"));
        QTextCursor c = d.edit->textCursor();
        c.setPosition(7);
        d.edit->setTextCursor(c);
        QApplication::processEvents();
        state.ResumeTiming();
        panel->PasteTagSubtree();
        QApplication::processEvents();
        state.PauseTiming();
        state.counters["blocks"] = d.edit->document()->blockCount();
        d.edit->undo();   // one step takes the whole paste back
        state.counters["undone"] = d.edit->toPlainText() == QStringLiteral("<BODY>\n\n</BODY>\n") ? 1 : 0;
        d.edit->document()->setModified(false);
        main.closeDocument(d.number);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PasteTagSubtreeIntoPage)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
