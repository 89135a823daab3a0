// Main window: caret tracking on long lines, and building the window.
#include "app/tfmmain.h"
#include "app/qtprompts.h"
#include "platform/clock.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTextCursor>
#include <benchmark/benchmark.h>

namespace {

// One line of `bytes` characters with a tag about every 40 characters.
QString taggedLine(qsizetype bytes)
{
    static const QString unit = QStringLiteral("<TD ALIGN=\"LEFT\">セル</TD>text<BR>");
    QString s;
    s.reserve(bytes + unit.size());
    while (s.size() < bytes)
        s += unit;
    s.truncate(bytes);
    return s;
}

TFmMain::Options options(const QTemporaryDir& dir)
{
    TFmMain::Options o;
    o.settingsPath = dir.filePath(QStringLiteral("quillnest4.ini"));
    o.exeDir = dir.path();
    return o;
}

void BM_UpdateCaret(benchmark::State& state)
{
    QTemporaryDir dir;
    QtPrompts prompts;
    TFmMain m(prompts, options(dir));
    Document& d = m.NewDocument();
    d.edit->setPlainText(taggedLine(state.range(0)));
    QTextCursor c = d.edit->textCursor();
    c.setPosition(int(state.range(0) / 2));
    d.edit->setTextCursor(c);
    // The caret stays put; nothing is cached between calls, so every call
    // does the whole scan and updates the status panel.
    for (auto _ : state) {
        m.UpdateCaret();
        benchmark::DoNotOptimize(m.CaretTagText());
    }
    state.counters["tag_length"] = double(m.CaretTagText().size());
}
BENCHMARK(BM_UpdateCaret)->Arg(1 << 10)->Arg(8 << 20)->Name("BM_UpdateCaret")->Unit(benchmark::kMicrosecond);

// The main window built and the settings file read (the splash's hold aside).
void BM_Startup(benchmark::State& state)
{
    QTemporaryDir dir;
    QtPrompts prompts;
    { TFmMain warm(prompts, options(dir)); warm.SaveSettings(); }
    for (auto _ : state) {
        TFmMain m(prompts, options(dir));
        benchmark::DoNotOptimize(&m);
    }
}
BENCHMARK(BM_Startup)->Unit(benchmark::kMillisecond);

} // namespace
