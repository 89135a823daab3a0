// The encodings beside Shift_JIS on a 32 MB Japanese HTML file: the
// lossless UTF-8 codec against Qt's own (lossy) one, detection against
// decoding, and EUC-JP.

#include "charset/encodings.h"
#include "support/japanesepage.h"

#include <QString>
#include <benchmark/benchmark.h>


using charset::Encoding;

namespace {

using benchpage::japaneseSource;
using benchpage::kTargetSize;

// The same page in UTF-8, CR LF line ends, cut to 32 MB.
const QByteArray& utf8Html()
{
    static const QByteArray bytes = [] {
        QString text = japaneseSource();
        text.replace(u'\n', QStringLiteral("\r\n"));
        QByteArray out = text.toUtf8();
        out.truncate(kTargetSize);
        // Do not end inside a character.
        while (!out.isEmpty() && (uchar(out.back()) & 0xC0) == 0x80)
            out.chop(1);
        if (!out.isEmpty() && uchar(out.back()) >= 0xC0)
            out.chop(1);
        return out;
    }();
    return bytes;
}

const QByteArray& encodedAs(Encoding e)
{
    static QByteArray bytes[5];
    QByteArray& b = bytes[int(e)];
    if (b.isEmpty()) {
        QString text = charset::decode(utf8Html(), Encoding::Utf8);
        if (e == Encoding::Iso2022Jp) { // it has no half-width katakana
            for (QChar& c : text)
                if (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F)
                    c = QChar(u'ア');
        }
        b = charset::encode(text, e).value();
    }
    return b;
}

void BM_Utf8Decode(benchmark::State& state)
{
    const QByteArray& bytes = utf8Html();
    for (auto _ : state) {
        QString text = charset::decode(bytes, Encoding::Utf8);
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_Utf8Decode)->Unit(benchmark::kMillisecond);

void BM_Utf8DecodeDocument(benchmark::State& state)
{
    const QByteArray& bytes = utf8Html();
    for (auto _ : state) {
        charset::DocumentText doc = charset::decodeDocument(bytes, Encoding::Utf8);
        benchmark::DoNotOptimize(doc.text.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_Utf8DecodeDocument)->Unit(benchmark::kMillisecond);

// Qt's own decoder, which is not lossless: the baseline to meet.
void BM_QtFromUtf8(benchmark::State& state)
{
    const QByteArray& bytes = utf8Html();
    for (auto _ : state) {
        QString text = QString::fromUtf8(bytes);
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_QtFromUtf8)->Unit(benchmark::kMillisecond);

void BM_Utf8Encode(benchmark::State& state)
{
    const QString text = QString::fromUtf8(utf8Html());
    const qsizetype size = utf8Html().size();
    for (auto _ : state) {
        std::optional<QByteArray> bytes = charset::encode(text, Encoding::Utf8);
        benchmark::DoNotOptimize(bytes->constData());
    }
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_Utf8Encode)->Unit(benchmark::kMillisecond);

void BM_Utf8EncodeDocument(benchmark::State& state)
{
    const QString text = charset::decodeDocument(utf8Html(), Encoding::Utf8).text;
    const qsizetype size = utf8Html().size();
    for (auto _ : state) {
        std::optional<QByteArray> bytes =
            charset::encodeDocument(text, Encoding::Utf8, charset::LineBreak::CrLf);
        benchmark::DoNotOptimize(bytes->constData());
    }
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_Utf8EncodeDocument)->Unit(benchmark::kMillisecond);

void BM_QtToUtf8(benchmark::State& state)
{
    const QString text = QString::fromUtf8(utf8Html());
    const qsizetype size = utf8Html().size();
    for (auto _ : state) {
        QByteArray bytes = text.toUtf8();
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_QtToUtf8)->Unit(benchmark::kMillisecond);

// Detection of the 32 MB file in each encoding, to set against decoding it.
void BM_Detect(benchmark::State& state)
{
    const Encoding e = Encoding(state.range(0));
    const QByteArray& bytes = e == Encoding::Utf8 ? utf8Html() : encodedAs(e);
    state.SetLabel(charset::encodingName(e).toStdString());
    for (auto _ : state)
        benchmark::DoNotOptimize(charset::detectEncoding(bytes));
}
BENCHMARK(BM_Detect)
    ->Arg(int(Encoding::Utf8))
    ->Arg(int(Encoding::ShiftJis))
    ->Arg(int(Encoding::EucJp))
    ->Arg(int(Encoding::Iso2022Jp))
    ->Unit(benchmark::kMicrosecond);

// The worst case: 32 MB of ASCII with one kanji at the end, scanned whole.
void BM_DetectAsciiThenKanji(benchmark::State& state)
{
    QByteArray bytes(utf8Html().size(), 'a');
    bytes += QStringLiteral("漢").toUtf8();
    for (auto _ : state)
        benchmark::DoNotOptimize(charset::detectEncoding(bytes));
}
BENCHMARK(BM_DetectAsciiThenKanji)->Unit(benchmark::kMicrosecond);

void BM_DecodeDocument(benchmark::State& state)
{
    const Encoding e = Encoding(state.range(0));
    const QByteArray& bytes = encodedAs(e);
    state.SetLabel(charset::encodingName(e).toStdString());
    for (auto _ : state) {
        charset::DocumentText doc = charset::decodeDocument(bytes, e);
        benchmark::DoNotOptimize(doc.text.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_DecodeDocument)
    ->Arg(int(Encoding::ShiftJis))
    ->Arg(int(Encoding::EucJp))
    ->Arg(int(Encoding::Iso2022Jp))
    ->Unit(benchmark::kMillisecond);

} // namespace
