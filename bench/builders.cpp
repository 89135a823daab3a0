// Builder speed: converting a large table grid to HTML, and assembling a
// long list.
#include "builders/list/listbuilder.h"
#include "builders/table/tablegrid.h"
#include "builders/table/tablesettings.h"

#include <benchmark/benchmark.h>

namespace {

void BM_TableToHtml(benchmark::State& state)
{
    const int n = int(state.range(0));
    TableGrid grid;
    for (int i = 1; i < n; ++i) {
        grid.addColumn();
        grid.addRow();
    }
    for (int i = 1; i <= n; ++i) {
        grid.setColumnWidth(i, 40 + i % 97);
        grid.setRowHeight(i, 12 + i % 31);
    }
    TableSettings settings;
    settings.values[TableSettings::Align] = QStringLiteral("left");
    settings.values[TableSettings::Border] = QStringLiteral("1");
    const QString tag = settings.tagText();
    qsizetype size = 0;
    for (auto _ : state) {
        const QString html = grid.toHtml(tag, QStringLiteral("\r\n"));
        size = html.size();
        benchmark::DoNotOptimize(html.constData());
    }
    state.counters["chars"] = double(size);
    state.SetItemsProcessed(state.iterations() * qint64(n) * n);
}
BENCHMARK(BM_TableToHtml)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_ListToHtml(benchmark::State& state)
{
    QStringList items;
    for (int i = 0; i < state.range(0); ++i)
        items << QStringLiteral("項目その%1 <B>&amp;</B>").arg(i);
    for (auto _ : state) {
        const QString html = listHtml(ListKind::Definition, QStringLiteral("1"), QStringLiteral("1"), items);
        benchmark::DoNotOptimize(html.constData());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ListToHtml)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
