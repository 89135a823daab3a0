// HTML colouring of a minified page: a whole page of dense HTML on one line
// (2 MB), held in pieces.  BM_ColouredKey types a character (with its
// release) at the line's start, middle or end with colouring on and lets the
// editor paint; BM_ColouredOpen opens the page and paints its first screen.
// Wall time (real time) throughout.
#include "composition.h"
#include "app/document.h"
#include "app/filecommands.h"
#include "app/tfmmain.h"
#include "platform/qtprompts.h"
#include "support/options.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// Dense minified HTML: short tags, attributes, references and Japanese text;
// or (kind 1) a Japanese character between every two tags, and (kind 2) a
// tag full of one-letter attributes and values, the most colour changes a piece
// can hold.
QByteArray densePage(qsizetype size, int kind)
{
    if (kind == 1) {
        QByteArray b;
        while (b.size() < size)
            b += "<b>\x93\xfa</b><i>\x96\x7b</i>";
        return b;
    }
    if (kind == 2) {
        QByteArray b;
        while (b.size() < size)
            b += "<p a=b c=d e=f g=h i=j k=l m=n o=p q=r s=t u=v w=x y=z a=b c=d e=f g=h i=j k=l>";
        return b;
    }
    QRandomGenerator rng(7);
    QByteArray b = "<!DOCTYPE html><html><head><title>\x93\xfa\x96\x7b</title></head><body>";
    while (b.size() < size) {
        switch (rng.bounded(5)) {
        case 0: b += "<td class=c" + QByteArray::number(rng.bounded(9)) + ">"; break;
        case 1: b += "<a href=\"/p/" + QByteArray::number(rng.bounded(999)) + "\">\x93\xfa\x96\x7b</a>"; break;
        case 2: b += "<b>x&amp;y</b>"; break;
        case 3: b += "<!--c-->"; break;
        default: b += "</td>"; break;
        }
    }
    return b + "</body></html>";
}

struct Page {
    QTemporaryDir dir;
    QtPrompts prompts;
    QString files[3];
    std::unique_ptr<TFmMain> main;

    Page()
    {
        for (int kind = 0; kind < 3; ++kind) {
            files[kind] = dir.filePath(QStringLiteral("dense%1.html").arg(kind));
            QFile f(files[kind]);
            f.open(QIODevice::WriteOnly);
            f.write(densePage(2 << 20, kind));
        }
    }
    TFmMain& window()
    {
        if (!main)
            main = shownBenchWindow(prompts, dir);
        return *main;
    }
};

Page& page()
{
    static Page p;
    static const bool cleanUp = [] {
        qAddPostRoutine([] { page().main.reset(); });
        return true;
    }();
    Q_UNUSED(cleanUp);
    return p;
}

void BM_ColouredOpen(benchmark::State& state)
{
    Page& p = page();
    TFmMain& main = p.window();
    for (auto _ : state) {
        const bool ok = openDocumentFile(main, p.files[0]);
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (!ok)
            state.SkipWithError("open failed");
        main.closeDocument(main.currentDocument()->number);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ColouredOpen)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->UseRealTime();

// Args: page kind (see densePage), place (0 start, 1 middle, 2 end).
void BM_ColouredKey(benchmark::State& state)
{
    Page& p = page();
    TFmMain& main = p.window();
    if (!openWhole(main, p.files[state.range(0)])) {
        state.SkipWithError("open failed");
        return;
    }
    DocumentEditor* edit = main.CurrentEdit();
    QTextCursor c(edit->document());
    const int end = edit->document()->characterCount() - 1;
    c.setPosition(state.range(1) == 0 ? 100 : state.range(1) == 1 ? end / 2 : end - 10);
    edit->setTextCursor(c);
    edit->ensureCursorVisible();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        sendKey(edit, Qt::Key_A, QStringLiteral("a"));
        QCoreApplication::processEvents();   // paints what changed
    }
    main.closeDocument(main.currentDocument()->number);
    QCoreApplication::processEvents();
}
BENCHMARK(BM_ColouredKey)->ArgNames({"kind", "place"})->ArgsProduct({{0, 1, 2}, {0, 1, 2}})->Unit(benchmark::kMillisecond)
    ->Iterations(30)->Repetitions(5)->UseRealTime();

} // namespace
