// The Tag Optioner's refresh at the end of UpdateCaret: the caret moving
// inside one tag (nothing to rebuild) and from tag to tag (rebuild).
#include "composition.h"
#include "platform/qtprompts.h"
#include "app/tfmmain.h"
#include "optioner/tfmto.h"
#include "support/options.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <QTextBlock>
#include <memory>

namespace {

struct Window {
    QTemporaryDir dir;
    QtPrompts prompts;   // nothing here asks anything
    std::unique_ptr<TFmMain> main;
    DocumentEditor* edit = nullptr;
    TFmTO* to = nullptr;

    Window()
    {
        TFmMain::Options o = benchOptions(dir);
        main = std::make_unique<TFmMain>(prompts, o);
        main->NewDocument();
        edit = main->CurrentEdit();
        to = main->findChild<TFmTO*>();
        // A long line of tags, among a few thousand others.
        QString line;
        for (int i = 0; i < 20; ++i)
            line += QStringLiteral("<TD ALIGN=\"center\" WIDTH=\"%1\">セル</TD><FONT SIZE=\"+1\">文字</FONT>").arg(i);
        QString text;
        for (int i = 0; i < 3000; ++i)
            text += line + u'\n';
        edit->setPlainText(text);
    }
    void moveTo(int block, int column)
    {
        QTextCursor c = edit->textCursor();
        c.setPosition(edit->document()->findBlockByNumber(block).position() + column);
        edit->setTextCursor(c);   // selection change → UpdateCaret → refresh
    }
};

void BM_OptionerRefresh(benchmark::State& state)
{
    const bool acrossTags = state.range(0) != 0;
    Window w;
    w.moveTo(1500, 5);
    int i = 0;
    const int before = w.to->rebuildCount();
    for (auto _ : state) {
        // Inside "<TD ALIGN=...>" the columns 1..28 keep the same tag text;
        // across tags the caret alternates between a TD and a FONT tag.
        const int column = acrossTags ? ((i & 1) ? 3 : 45) : 2 + (i % 20);
        w.moveTo(1500, column);
        ++i;
    }
    state.counters["rebuilds"] = double(w.to->rebuildCount() - before);
}

BENCHMARK(BM_OptionerRefresh)->Arg(0)->Arg(1)->ArgName("acrossTags")->Unit(benchmark::kMicrosecond);

} // namespace
