// Opening and saving a 32 MB Shift_JIS page: read + decode + fill the editor,
// and read the editor + encode + write.  The open benchmarks also report the
// peak memory of their first open (growth of the peak resident set over the
// resident set before it) as a multiple of the file size.  BM_OpenDocument
// opens into a main window that is never shown; BM_OpenDocumentShown opens
// into a shown one and includes the event-loop pass that lays out and paints
// the new tab, which is what a user waits for.  BM_KeyInLargeDocument types
// characters in the middle of the open 32 MB page, shown, and lets the editor
// paint what changed after each (with HTML colouring on, and off for
// comparison); every 50 keys it moves on to the next line.
// A file this big loads in steps from the event loop: the open benchmarks
// run the loop until it is all in.  BM_OpenFirstScreen stops the clock at
// the first paint of the new tab (the first screen, scrollable) and reports
// when the whole document became editable as `editable_ms`.
#include "composition.h"
#include "charset/encodings.h"
#include "app/document.h"
#include "app/documentfile.h"
#include "app/documentload.h"
#include "app/filecommands.h"
#include "app/htmlcolouring.h"
#include "platform/qtprompts.h"
#include "app/tfmmain.h"
#include "charset/textfile.h"
#include "support/options.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QTextBlock>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr qint64 kFileBytes = qint64(32) * 1024 * 1024;

struct Fixture {
    QTemporaryDir dir;
    QString file;
    QtPrompts prompts;
    std::unique_ptr<TFmMain> main;

    Fixture()
    {
        file = dir.filePath(QStringLiteral("big.htm"));
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        // A table row with kanji, kana, half-width katakana and ASCII.
        const QByteArray sjisRow("<TR><TD>\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67"
                           "</TD><TD>\xb6\xc0\xb6\xc5</TD><TD ALIGN=\"right\">12345</TD></TR>\r\n");
        QByteArray chunk;
        while (chunk.size() < (1 << 20))
            chunk += sjisRow;
        qint64 written = 0;
        f.write("<HTML>\r\n<BODY>\r\n<TABLE>\r\n");
        while (written < kFileBytes) {
            f.write(chunk);
            written += chunk.size();
        }
        f.write("</TABLE>\r\n</BODY>\r\n</HTML>\r\n");
        f.close();

        TFmMain::Options o = benchOptions(dir);
        main = std::make_unique<TFmMain>(prompts, o);
    }
};

Fixture& fixture()
{
    static Fixture f;
    // The window goes with the application, not after it (a window left to
    // the program's exit outlives QApplication and crashes on its way out).
    static const bool cleanUp = [] {
        qAddPostRoutine([] { fixture().main.reset(); });
        return true;
    }();
    Q_UNUSED(cleanUp);
    return f;
}

long residentKiB()
{
    long pages = 0, resident = 0;
    if (FILE* s = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(s, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(s);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

long peakKiB()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// Lets the peak resident set start again from the current one, so that a
// benchmark's peak is its own and not an earlier one's (Linux 4.0 and later).
void resetPeak()
{
    if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

// Runs the event loop until the current document is all in.
void waitForLoad(TFmMain& main)
{
    while (main.currentDocument() && DocumentLoad::of(main.currentDocument()->edit->document()))
        QCoreApplication::processEvents();
}

// Opens the file into `main` once per iteration and closes it again;
// `shown` adds the event-loop pass that lays out and paints the tab.
void openRepeatedly(benchmark::State& state, TFmMain& main, const QString& file, bool shown)
{
    const double fileBytes = double(QFile(file).size());
    bool first = true;
    for (auto _ : state) {
        resetPeak();
        const long before = residentKiB();
        const bool ok = openDocumentFile(main, file);
        if (shown)
            QCoreApplication::processEvents();
        waitForLoad(main);
        if (first) {
            const double growth = double(peakKiB() - before) * 1024.0;
            state.counters["peak_x_file"] = growth / fileBytes;
            state.counters["peak_MB"] = growth / (1024.0 * 1024.0);
            first = false;
        }
        state.PauseTiming();
        if (!ok)
            state.SkipWithError("open failed");
        main.closeDocument(main.currentDocument()->number);
        if (shown)
            QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations() * fileBytes));
}

void BM_OpenDocument(benchmark::State& state)
{
    Fixture& f = fixture();
    openRepeatedly(state, *f.main, f.file, false);
}
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same page in UTF-8: found to be UTF-8 and read as such.  The counter
// detect_ms is what finding the encoding costs of it.
void BM_OpenDocumentUtf8(benchmark::State& state)
{
    Fixture& f = fixture();
    const QString file = f.dir.filePath(QStringLiteral("utf8.htm"));
    QByteArray bytes;
    {
        QFile in(f.file);
        if (!in.open(QIODevice::ReadOnly)) {
            state.SkipWithError("no page");
            return;
        }
        bytes = *charset::encode(charset::decode(in.readAll(), charset::Encoding::ShiftJis),
                                 charset::Encoding::Utf8);
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
            state.SkipWithError("cannot write the UTF-8 page");
            return;
        }
    }
    QElapsedTimer t;
    t.start();
    const charset::Encoding e = charset::detectEncoding(bytes);
    state.counters["detect_ms"] = double(t.nsecsElapsed()) / 1e6;
    if (e != charset::Encoding::Utf8)
        state.SkipWithError("not found to be UTF-8");
    openRepeatedly(state, *f.main, file, false);
}
BENCHMARK(BM_OpenDocumentUtf8)->Unit(benchmark::kMillisecond)->Iterations(5);

// A main window of its own (settings file `ini`), shown unless told not to.
std::unique_ptr<TFmMain> ownWindow(Fixture& f, const QString& ini, bool show = true)
{
    TFmMain::Options o;
    o.compose = composeUnits;
    o.settingsPath = f.dir.filePath(ini);
    o.exeDir = f.dir.path();
    auto main = std::make_unique<TFmMain>(f.prompts, o);
    if (show) {
        main->show();
        QCoreApplication::processEvents();
    }
    return main;
}

void BM_OpenDocumentShown(benchmark::State& state)
{
    Fixture& f = fixture();
    const auto main = ownWindow(f, QStringLiteral("shown.ini"));
    openRepeatedly(state, *main, f.file, true);
}
BENCHMARK(BM_OpenDocumentShown)->Unit(benchmark::kMillisecond)->Iterations(5);

// Opens `file` once per iteration: the time is the first screen's; the
// counter editable_ms (a median) is when all of it is in and editable.
void timeFirstScreen(benchmark::State& state, TFmMain& main, const QString& file)
{
    std::vector<double> editable;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const bool ok = openDocumentFile(main, file);
        QCoreApplication::processEvents();   // lays out and paints the first screen
        state.PauseTiming();
        if (!ok)
            state.SkipWithError("open failed");
        waitForLoad(main);
        editable.push_back(double(clock.nsecsElapsed()) / 1e6);
        main.closeDocument(main.currentDocument()->number);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    std::sort(editable.begin(), editable.end());
    state.counters["editable_ms"] = editable.empty() ? 0.0 : editable[editable.size() / 2];
}

void BM_OpenFirstScreen(benchmark::State& state)
{
    Fixture& f = fixture();
    const auto window = ownWindow(f, QStringLiteral("first.ini"));
    TFmMain& main = *window;
    timeFirstScreen(state, main, f.file);
}
BENCHMARK(BM_OpenFirstScreen)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// The same for 32 MB files of other shapes: 0 one line (a minified page),
// 1 CR breaks only, 2 mixed breaks (mostly CR LF, some LF and CR).
QString shapedFile(Fixture& f, int shape)
{
    const QString file = f.dir.filePath(QStringLiteral("shape%1.htm").arg(shape));
    if (QFile::exists(file))
        return file;
    const QByteArray cells("<TD>\x93\xfa\x96\x7b\x8c\xea</TD><TD ALIGN=\"right\">12345</TD>");
    QByteArray b;
    b.reserve(kFileBytes + 256);
    int n = 0;
    while (b.size() < kFileBytes) {
        b += "<TR>" + cells + "</TR>";
        ++n;
        if (shape == 1)
            b += '\r';
        else if (shape == 2)
            b += n % 7 == 0 ? "\n" : n % 11 == 0 ? "\r" : "\r\n";
    }
    QFile out(file);
    out.open(QIODevice::WriteOnly);
    out.write(b);
    return file;
}

void BM_OpenFirstScreenShaped(benchmark::State& state)
{
    Fixture& f = fixture();
    const QString file = shapedFile(f, int(state.range(0)));
    const auto window = ownWindow(f, QStringLiteral("shaped.ini"));
    TFmMain& main = *window;
    timeFirstScreen(state, main, file);
}
BENCHMARK(BM_OpenFirstScreenShaped)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)
    ->Iterations(5)->UseRealTime();

void BM_SaveDocument(benchmark::State& state)
{
    Fixture& f = fixture();
    openDocumentFile(*f.main, f.file);
    waitForLoad(*f.main);
    Document* doc = f.main->currentDocument();
    const QString out = f.dir.filePath(QStringLiteral("saved.htm"));
    for (auto _ : state) {
        const auto bytes = sjis::encodeDocument(editorText(*doc->edit), doc->lineBreak);
        QString error;
        if (!bytes || !writeDocumentFile(out, *bytes, &error))
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations() * QFile(f.file).size()));
    f.main->closeDocument(doc->number);
}
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_KeyInLargeDocument(benchmark::State& state)
{
    Fixture& f = fixture();
    const auto window = ownWindow(f, QStringLiteral("key.ini"));
    TFmMain& main = *window;
    unitsOf(main)->coloring->setOn(state.range(0) != 0);
    if (!openDocumentFile(main, f.file)) {
        state.SkipWithError("open failed");
        return;
    }
    waitForLoad(main);
    DocumentEditor* edit = main.CurrentEdit();
    QTextDocument* doc = edit->document();
    QTextCursor middle(doc->findBlockByNumber(doc->blockCount() / 2));
    middle.movePosition(QTextCursor::NextCharacter, QTextCursor::MoveAnchor, 8);
    edit->setTextCursor(middle);
    edit->ensureCursorVisible();
    QCoreApplication::processEvents();
    edit->viewport()->repaint();   // the first look at the middle reads the lines above once
    int typed = 0;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(edit, &press);
        QApplication::sendEvent(edit, &release);
        QCoreApplication::processEvents();   // paints what the key changed
        if (++typed % 50 == 0) {
            // On to the next line: a line grown by hundreds of keys measures
            // the layout of a long line, which BM_OneLineKey covers.
            state.PauseTiming();
            edit->moveCursor(QTextCursor::NextBlock);
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
    }
    main.closeDocument(main.currentDocument()->number);
}
BENCHMARK(BM_KeyInLargeDocument)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond)->Iterations(200)->Repetitions(5);

} // namespace
