// The preview pane: BM_PreviewRefresh is a 100 KB page from a key typed to
// the pane holding the new page, painted and scrolled back where it was.
// BM_KeyInLargeDocumentPreview is BM_KeyInLargeDocument's key in the middle
// of a 32 MB page, with the pane closed (0) and open (1); BM_KeyPreview is
// the same in a 100 KB page, which the open pane refreshes as the keys go on.
#include "composition.h"
#include "preview/previewengine.h"
#include "preview/previewpane.h"
#include "preview/previewunit.h"
#include "platform/qtprompts.h"
#include "support/options.h"

#include <QAction>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {

// The engine's scheme is known before the benchmarks' QApplication.
const bool g_engineReady = (preview::prepareEngine(), true);

QByteArray page(qint64 bytes)
{
    const QByteArray row("<TR><TD>\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67"
                         "</TD><TD>\xb6\xc0\xb6\xc5</TD><TD ALIGN=\"right\">12345</TD></TR>\r\n");
    QByteArray text("<HTML>\r\n<BODY>\r\n<TABLE>\r\n");
    while (text.size() < bytes)
        text += row;
    return text + "</TABLE>\r\n</BODY>\r\n</HTML>\r\n";
}

struct Window {
    QTemporaryDir dir;
    QtPrompts prompts;
    std::unique_ptr<TFmMain> main;

    Window(qint64 bytes, bool preview)
    {
        const QString file = dir.filePath(QStringLiteral("page.htm"));
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write(page(bytes));
        f.close();
        main = shownBenchWindow(prompts, dir);
        openWhole(*main, file);
        if (preview) {
            main->action("MPreview")->setChecked(true);
            waitRendered();
        }
    }
    ~Window() { main.reset(); }

    PreviewUnit& unit() { return *unitsOf(*main)->preview; }
    bool waitRendered()
    {
        QEventLoop loop;
        bool ok = false;
        QObject::connect(unit().pane(), &PreviewPane::rendered, &loop, [&](bool r) {
            ok = r;
            loop.quit();
        });
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        loop.exec();
        return ok;
    }
    DocumentEditor* middle()
    {
        DocumentEditor* edit = main->CurrentEdit();
        QTextDocument* doc = edit->document();
        QTextCursor c(doc->findBlockByNumber(doc->blockCount() / 2));
        c.movePosition(QTextCursor::NextCharacter, QTextCursor::MoveAnchor, 8);
        edit->setTextCursor(c);
        edit->ensureCursorVisible();
        QCoreApplication::processEvents();
        edit->viewport()->repaint();
        return edit;
    }
};

void BM_PreviewRefresh(benchmark::State& state)
{
    if (!g_engineReady)
        return;
    Window w(100 * 1024, true);
    DocumentEditor* edit = w.middle();
    for (auto _ : state) {
        sendKey(edit, Qt::Key_A, QStringLiteral("a"));
        w.unit().refreshNow();   // what the timer does once the typing stops
        if (!w.waitRendered()) {
            state.SkipWithError("render failed");
            return;
        }
    }
}
BENCHMARK(BM_PreviewRefresh)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

void keys(benchmark::State& state, qint64 bytes)
{
    Window w(bytes, state.range(0) != 0);
    DocumentEditor* edit = w.middle();
    int typed = 0;
    for (auto _ : state) {
        sendKey(edit, Qt::Key_A, QStringLiteral("a"));
        QCoreApplication::processEvents();
        if (++typed % 50 == 0) {
            state.PauseTiming();
            edit->moveCursor(QTextCursor::NextBlock);
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
    }
}

void BM_KeyInLargeDocumentPreview(benchmark::State& state)
{
    keys(state, qint64(32) << 20);
}
BENCHMARK(BM_KeyInLargeDocumentPreview)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Iterations(200)->Repetitions(3);

void BM_KeyPreview(benchmark::State& state)
{
    keys(state, 100 * 1024);
}
BENCHMARK(BM_KeyPreview)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Iterations(2000)->Repetitions(3);

} // namespace
