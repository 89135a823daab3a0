// How long a recovery write holds up the window, for a changed 32 MB page.
// BM_RecoveryWriteBefore takes the text from the editor, encodes it and
// writes the file on the calling thread, as every write did before writes
// moved to a thread of their own.  BM_RecoveryFlushUIThread is what the
// window does now when the recovery timer fires: it takes the text from the
// document's mirror and queues it; the time the writing thread then needs is
// reported as `writer_ms`.  BM_RecoveryFirstFlushUIThread is the first write
// of a document just opened, which builds the mirror.  Each runs on three pages: one
// kind of break (two short lines to a block, as big files are held), mixed
// breaks (each line keeps its own), and lines of 100,000 characters (held
// in pieces).
#include "composition.h"
#include "app/document.h"
#include "app/documentload.h"
#include "app/filecommands.h"
#include "app/recovery.h"
#include "app/tfmmain.h"
#include "platform/qtprompts.h"
#include "support/options.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

constexpr qint64 kFileBytes = qint64(32) * 1024 * 1024;

enum Page { OneBreak = 0, MixedBreaks = 1, LongLines = 2 };

QByteArray pageBytes(Page page)
{
    const QByteArray row("<TR><TD>\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67"
                         "</TD><TD>\xb6\xc0\xb6\xc5</TD><TD ALIGN=\"right\">12345</TD></TR>");
    QByteArray line;
    const char* breaks[] = {"\r\n", "\n", "\r"};
    QByteArray out;
    out.reserve(kFileBytes + 200000);
    qint64 n = 0;
    while (out.size() < kFileBytes) {
        if (page == LongLines) {
            while (line.size() < 100000)
                line += row;
            out += line + "\r\n";
        } else {
            out += row;
            out += page == MixedBreaks ? breaks[n % 3] : "\r\n";
        }
        ++n;
    }
    return out;
}

struct Window {
    QTemporaryDir dir;
    QtPrompts prompts;
    std::unique_ptr<TFmMain> main;
    Document* doc = nullptr;

    explicit Window(Page page)
    {
        const QString file = dir.filePath(QStringLiteral("big.htm"));
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write(pageBytes(page));
        f.close();
        TFmMain::Options o = benchOptions(dir);
        o.recoveryDir = dir.filePath(QStringLiteral("recovery"));
        main = std::make_unique<TFmMain>(prompts, o);
        openDocumentFile(*main, file);
        while (main->currentDocument() && DocumentLoad::of(main->currentDocument()->edit->document()))
            QCoreApplication::processEvents();
        doc = main->currentDocument();
    }
    ~Window()
    {
        if (doc)
            doc->edit->document()->setModified(false);
    }
    RecoveryUnit& unit() { return *unitsOf(*main)->recovery; }
    // A key's worth of change.
    void change()
    {
        QTextCursor c(doc->edit->document());
        c.insertText(QStringLiteral("x"));
        main->documents().announceEdit(*doc);
    }
};

Window& window(Page page)
{
    static std::map<Page, std::unique_ptr<Window>> windows;
    static const bool cleanUp = [] {
        qAddPostRoutine([] { windows.clear(); });
        return true;
    }();
    Q_UNUSED(cleanUp);
    auto& w = windows[page];
    if (!w)
        w = std::make_unique<Window>(page);
    return *w;
}

// What the window did at every write before: the file's text taken from the
// editor, encoded and written, all on the UI thread.
void BM_RecoveryWriteBefore(benchmark::State& state)
{
    Window& w = window(Page(state.range(0)));
    if (!w.doc) {
        state.SkipWithError("open failed");
        return;
    }
    const QString file = w.dir.filePath(QStringLiteral("before.qn4r"));
    for (auto _ : state) {
        state.PauseTiming();
        w.change();
        state.ResumeTiming();
        const QByteArray bytes = RecoveryStore::format(
            w.doc->path, w.doc->hasFile, w.doc->lineBreak, editorText(*w.doc->edit),
            w.doc->mixedBreaks ? editorLineBreaks(*w.doc->edit, w.doc->lineBreak)
                               : std::vector<sjis::LineBreak>{});
        QSaveFile f(file);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
            state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_RecoveryWriteBefore)->Arg(OneBreak)->Arg(MixedBreaks)->Arg(LongLines)
    ->Unit(benchmark::kMillisecond)->Iterations(3);

// The first write of a document just opened: its text is taken from the
// editor once, whole, and followed edit by edit from then on.
void BM_RecoveryFirstFlushUIThread(benchmark::State& state)
{
    const Page page = Page(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<Window>(page);
        w->change();
        state.ResumeTiming();
        w->unit().writeChanged();
        state.PauseTiming();
        w->unit().store().writer().waitForIdle();
        w.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RecoveryFirstFlushUIThread)->Arg(OneBreak)->Arg(MixedBreaks)->Arg(LongLines)
    ->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_RecoveryFlushUIThread(benchmark::State& state)
{
    Window& w = window(Page(state.range(0)));
    if (!w.doc) {
        state.SkipWithError("open failed");
        return;
    }
    double writer = 0;
    for (auto _ : state) {
        state.PauseTiming();
        w.change();
        state.ResumeTiming();
        w.unit().writeChanged();
        state.PauseTiming();
        QElapsedTimer t;
        t.start();
        w.unit().store().writer().waitForIdle();
        writer += double(t.nsecsElapsed()) / 1e6;
        state.ResumeTiming();
    }
    state.counters["writer_ms"] = writer / double(state.iterations());
}
BENCHMARK(BM_RecoveryFlushUIThread)->Arg(OneBreak)->Arg(MixedBreaks)->Arg(LongLines)
    ->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
