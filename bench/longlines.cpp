// Minified pages: a whole page of HTML on one line, 2 MB and 8 MB.
// BM_OneLineOpen opens it into a shown main window and lets it paint.
// BM_OneLineKey works at the line's start, middle or end of the open page,
// shown and painted after each step: a typed character (with its release,
// which updates the caret and the tag optioner's text), a Backspace, a caret
// move (Right) and UpdateCaret alone.  BM_TaglessKey types in a long line
// without tags and inside a long tag.  BM_FillMixedBreaks fills an editor
// with a page of mixed line breaks, BM_SetMixedBreaks times its share of
// giving each line its break.  Wall time (real time) throughout.
#include "composition.h"
#include "app/document.h"
#include "app/filecommands.h"
#include "app/tfmmain.h"
#include "platform/qtprompts.h"
#include "support/options.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextBlock>
#include <benchmark/benchmark.h>

#include <map>

namespace {

// A page as minifiers leave it: tags, attributes, Japanese text, no breaks.
QByteArray minifiedPage(qsizetype size)
{
    QRandomGenerator rng(42);
    QByteArray b = "<!DOCTYPE html><html><head><meta charset=\"Shift_JIS\"><title>"
                   "\x93\xfa\x96\x7b</title></head><body>";
    while (b.size() < size) {
        switch (rng.bounded(4)) {
        case 0: b += "<div class=\"c" + QByteArray::number(rng.bounded(50)) + "\">"; break;
        case 1: b += "<a href=\"/p/" + QByteArray::number(rng.bounded(99999)) + "\">"
                     "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67</a>"; break;
        case 2: b += "<span style=\"color:#333\">text &amp; more text</span>"; break;
        default: b += "</div>"; break;
        }
    }
    return b + "</body></html>";
}

struct Pages {
    QTemporaryDir dir;
    QtPrompts prompts;
    std::map<int, QString> files;   // by size in MB
    std::unique_ptr<TFmMain> main;

    QString file(int mb)
    {
        auto it = files.find(mb);
        if (it != files.end())
            return it->second;
        const QString path = dir.filePath(QStringLiteral("min%1.html").arg(mb));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(minifiedPage(qsizetype(mb) << 20));
        return files[mb] = path;
    }

    TFmMain& window()
    {
        if (!main) {
            main = shownBenchWindow(prompts, dir);
            // QN4_BENCH_PLAIN=1: the same keys with colouring off.
            if (qEnvironmentVariableIntValue("QN4_BENCH_PLAIN") == 1)
                if (QAction* colouring = main->findChild<QAction*>(QStringLiteral("MColoring")))
                    colouring->setChecked(false);
        }
        return *main;
    }
};

Pages& pages()
{
    static Pages p;
    static const bool cleanUp = [] {
        qAddPostRoutine([] { pages().main.reset(); });
        return true;
    }();
    Q_UNUSED(cleanUp);
    return p;
}

void BM_OneLineOpen(benchmark::State& state)
{
    Pages& p = pages();
    const QString file = p.file(int(state.range(0)));
    TFmMain& main = p.window();
    for (auto _ : state) {
        const bool ok = openDocumentFile(main, file);
        QCoreApplication::processEvents();   // lays out and paints the tab
        state.PauseTiming();
        if (!ok)
            state.SkipWithError("open failed");
        main.closeDocument(main.currentDocument()->number);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OneLineOpen)->ArgName("MB")->Arg(2)->Arg(8)->Unit(benchmark::kMillisecond)
    ->Iterations(3)->Repetitions(3)->UseRealTime();

enum Step { Type, Backspace, Move, Caret };

// Args: size in MB, place (0 start, 1 middle, 2 end), step.
void BM_OneLineKey(benchmark::State& state)
{
    Pages& p = pages();
    TFmMain& main = p.window();
    if (!openWhole(main, p.file(int(state.range(0))))) {
        state.SkipWithError("open failed");
        return;
    }
    DocumentEditor* edit = main.CurrentEdit();
    QTextCursor c(edit->document());
    const int end = edit->document()->characterCount() - 1;
    c.setPosition(state.range(1) == 0 ? 10 : state.range(1) == 1 ? end / 2 : end - 10);
    edit->setTextCursor(c);
    edit->ensureCursorVisible();
    QCoreApplication::processEvents();
    const Step step = Step(state.range(2));
    for (auto _ : state) {
        switch (step) {
        case Type: sendKey(edit, Qt::Key_A, QStringLiteral("a")); break;
        case Backspace: sendKey(edit, Qt::Key_Backspace); break;
        case Move: sendKey(edit, Qt::Key_Right); break;
        case Caret: main.UpdateCaret(); break;
        }
        QCoreApplication::processEvents();   // paints what changed
        if (step == Move) {   // stay in place: the next round moves again
            state.PauseTiming();
            QTextCursor back = edit->textCursor();
            back.movePosition(QTextCursor::PreviousCharacter);
            edit->setTextCursor(back);
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
    }
    main.closeDocument(main.currentDocument()->number);
    QCoreApplication::processEvents();
}
BENCHMARK(BM_OneLineKey)->ArgNames({"MB", "place", "step"})
    ->ArgsProduct({{2, 8}, {0, 1, 2}, {Type, Backspace, Move, Caret}})
    ->Unit(benchmark::kMillisecond)->Iterations(30)->UseRealTime();

// A key typed (with its release, which finds the tag at the caret) at the
// start, middle or end of a 3 MB line without a tag (kind 0), or inside a
// 1 MB data: address in an <img> tag (kind 1).
void BM_TaglessKey(benchmark::State& state)
{
    Pages& p = pages();
    TFmMain& main = p.window();
    const bool dataUri = state.range(0) == 1;
    const QString file = p.dir.filePath(dataUri ? QStringLiteral("datauri.html") : QStringLiteral("tagless.txt"));
    if (!QFile::exists(file)) {
        QByteArray b;
        if (dataUri) {
            b = "<p>before</p><img src=\"data:image/png;base64,";
            while (b.size() < (1 << 20))
                b += "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNkYPhfDwAChwGA";
            b += "\" alt=\"x\"><p>after</p>";
        } else {
            while (b.size() < 3 * (1 << 20))
                b += "plain words and more plain words, \x93\xfa\x96\x7b\x8c\xea ";
        }
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write(b);
    }
    if (!openWhole(main, file)) {
        state.SkipWithError("open failed");
        return;
    }
    DocumentEditor* edit = main.CurrentEdit();
    QTextCursor c(edit->document());
    const int end = edit->document()->characterCount() - 1;
    const int inside = dataUri ? 40 : 10;   // in the address, or near the line's start
    c.setPosition(state.range(1) == 0 ? inside : state.range(1) == 1 ? end / 2 : end - (dataUri ? 40 : 10));
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
BENCHMARK(BM_TaglessKey)->ArgNames({"data_uri", "place"})->ArgsProduct({{0, 1}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(3)->UseRealTime();

// A page whose lines end in CR LF, LF and CR in turn: filling the editor
// includes giving each line its own break (a block-format property).
void BM_FillMixedBreaks(benchmark::State& state)
{
    QByteArray page;
    const char* const breaks[] = {"\r\n", "\n", "\r"};
    for (int n = 0; page.size() < (qsizetype(state.range(0)) << 20); ++n)
        page += "<TR><TD>\x93\xfa\x96\x7b</TD><TD>" + QByteArray::number(n) + "</TD></TR>" + breaks[n % 3];
    for (auto _ : state) {
        auto edit = std::make_unique<QPlainTextEdit>();
        const FillResult r = fillEditor(*edit, page);
        benchmark::DoNotOptimize(r.mixedBreaks);
        state.PauseTiming();
        edit.reset();
        state.ResumeTiming();
    }
}
// Its share: giving the lines of the filled editor their breaks again.
void BM_SetMixedBreaks(benchmark::State& state)
{
    QByteArray page;
    const char* const breaks[] = {"\r\n", "\n", "\r"};
    for (int n = 0; page.size() < (qsizetype(state.range(0)) << 20); ++n)
        page += "<TR><TD>\x93\xfa\x96\x7b</TD><TD>" + QByteArray::number(n) + "</TD></TR>" + breaks[n % 3];
    QPlainTextEdit edit;
    const FillResult r = fillEditor(edit, page);
    const std::vector<sjis::LineBreak> lineBreaks = sjis::lineBreaksOf(page);
    for (auto _ : state)
        setEditorLineBreaks(edit, lineBreaks, r.lineBreak);
}
BENCHMARK(BM_SetMixedBreaks)->ArgName("MB")->Arg(8)->Unit(benchmark::kMillisecond)->Iterations(5)
    ->Repetitions(3)->UseRealTime();

BENCHMARK(BM_FillMixedBreaks)->ArgName("MB")->Arg(8)->Unit(benchmark::kMillisecond)->Iterations(5)
    ->Repetitions(3)->UseRealTime();

} // namespace
