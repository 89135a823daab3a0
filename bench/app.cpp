// Main window: caret tracking on long lines, and building the window.
#include "composition.h"
#include "app/tfmmain.h"
#include "platform/qtprompts.h"
#include "platform/clock.h"
#include "support/options.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QPushButton>
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

void BM_UpdateCaret(benchmark::State& state)
{
    QTemporaryDir dir;
    QtPrompts prompts;
    TFmMain m(prompts, benchOptions(dir));
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
    { TFmMain warm(prompts, benchOptions(dir)); warm.SaveSettings(); }
    for (auto _ : state) {
        TFmMain m(prompts, benchOptions(dir));
        benchmark::DoNotOptimize(&m);
    }
}
BENCHMARK(BM_Startup)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// Search in a 32 MB document: a miss (the whole text, then the message) and
// a hit near the end.
class NoPrompts final : public QtPrompts {
public:
    Answer message(QWidget*, const QString&, const QString&, Icon, Buttons) override
    {
        return Answer::Ok;
    }
};

void BM_FindNext(benchmark::State& state)
{
    QTemporaryDir dir;
    NoPrompts prompts;
    TFmMain m(prompts, benchOptions(dir));
    Document& d = m.NewDocument();
    QString text;
    const QString line = QStringLiteral("<TR><TD ALIGN=\"LEFT\">日本語のセル</TD><TD>text</TD></TR>\n");
    text.reserve((32 << 20) / 2 + line.size());
    while (text.size() < (32 << 20) / 2) // 32 MB of UTF-16
        text += line;
    const bool hit = state.range(0) != 0;
    if (hit)
        text += QStringLiteral("NeedleHere");
    d.edit->setPlainText(text);
    auto* edit = m.findChild<QLineEdit*>(QStringLiteral("SearchEdit"));
    edit->setText(hit ? QStringLiteral("needlehere") : QStringLiteral("not in the text"));
    auto* button = m.findChild<QPushButton*>(QStringLiteral("BtnSearch"));
    m.show();
    m.findChild<QWidget*>(QStringLiteral("SearchPanel"))->show();
    QApplication::processEvents();
    for (auto _ : state)
        button->click();
    state.SetLabel(hit ? "hit" : "miss");
}
BENCHMARK(BM_FindNext)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
