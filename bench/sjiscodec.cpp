// Shift_JIS codec throughput on a 32 MB Japanese HTML file, against Qt's
// ICU-backed converter as the baseline.

#include "charset/sjis.h"
#include "charset/textfile.h"
#include "support/japanesepage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <benchmark/benchmark.h>


namespace {

using benchpage::kTargetSize;

// The page in Shift_JIS, CR LF line ends, cut to 32 MB.
const QByteArray& japaneseHtml()
{
    static const QByteArray bytes = [] {
        const QString& text = benchpage::japaneseSource();
        QByteArray out = sjis::encodeDocument(text, sjis::LineBreak::CrLf).value();
        out.truncate(kTargetSize);
        return out;
    }();
    return bytes;
}

const QString& japaneseText()
{
    static const QString text = sjis::decode(japaneseHtml());
    return text;
}

void BM_ShiftJisDecode(benchmark::State& state)
{
    const QByteArray& bytes = japaneseHtml();
    for (auto _ : state) {
        QString text = sjis::decode(bytes);
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ShiftJisDecode)->Unit(benchmark::kMillisecond);

void BM_ShiftJisDecodeDocument(benchmark::State& state)
{
    const QByteArray& bytes = japaneseHtml();
    for (auto _ : state) {
        sjis::DocumentText doc = sjis::decodeDocument(bytes);
        benchmark::DoNotOptimize(doc.text.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ShiftJisDecodeDocument)->Unit(benchmark::kMillisecond);

void BM_IcuShiftJisDecode(benchmark::State& state)
{
    const QByteArray& bytes = japaneseHtml();
    if (!QStringDecoder("Shift_JIS").isValid()) {
        state.SkipWithError("no Shift_JIS converter in this Qt build");
        return;
    }
    for (auto _ : state) {
        QStringDecoder decoder("Shift_JIS");
        QString text = decoder(bytes);
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_IcuShiftJisDecode)->Unit(benchmark::kMillisecond);

void BM_ShiftJisEncode(benchmark::State& state)
{
    const QString& text = japaneseText();
    const qsizetype size = japaneseHtml().size();
    for (auto _ : state) {
        std::optional<QByteArray> bytes = sjis::encode(text);
        benchmark::DoNotOptimize(bytes->constData());
    }
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_ShiftJisEncode)->Unit(benchmark::kMillisecond);

void BM_ShiftJisEncodeDocument(benchmark::State& state)
{
    const QString text = sjis::decodeDocument(japaneseHtml()).text;
    const qsizetype size = japaneseHtml().size();
    for (auto _ : state) {
        std::optional<QByteArray> bytes = sjis::encodeDocument(text, sjis::LineBreak::CrLf);
        benchmark::DoNotOptimize(bytes->constData());
    }
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_ShiftJisEncodeDocument)->Unit(benchmark::kMillisecond);

void BM_IcuShiftJisEncode(benchmark::State& state)
{
    const QString& text = japaneseText();
    const qsizetype size = japaneseHtml().size();
    if (!QStringEncoder("Shift_JIS").isValid()) {
        state.SkipWithError("no Shift_JIS converter in this Qt build");
        return;
    }
    for (auto _ : state) {
        QStringEncoder encoder("Shift_JIS");
        QByteArray bytes = encoder(text);
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_IcuShiftJisEncode)->Unit(benchmark::kMillisecond);

} // namespace
