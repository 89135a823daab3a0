// Shift_JIS codec throughput on a 32 MB Japanese HTML file, against Qt's
// ICU-backed converter as the baseline.

#include "charset/sjis.h"
#include "charset/textfile.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr qsizetype kTargetSize = 32 * 1024 * 1024;

// A page of hand-written HTML: tags and attributes in ASCII, running text in
// kanji and kana with some half-width katakana, CR LF line ends.
const QByteArray& japaneseHtml()
{
    static const QByteArray bytes = [] {
        const QString kanji = QStringLiteral(
            "日本語文章漢字表示作成編集保存開始終了設定画面選択入力出力情報管理機能"
            "会社案内製品紹介最新更新履歴連絡先問合住所電話番号地図写真一覧今月予定");
        const QString hira = QStringLiteral("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん");
        const QString kata = QStringLiteral("アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモ");
        const QString hankaku = QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓ");
        const QString punct = QStringLiteral("、。「」・（）！？①②～");
        const QString tags[] = {
            QStringLiteral("<P>"), QStringLiteral("</P>"), QStringLiteral("<BR>"),
            QStringLiteral("<FONT COLOR=\"#FF0000\">"), QStringLiteral("</FONT>"),
            QStringLiteral("<A HREF=\"index.html\">"), QStringLiteral("</A>"),
            QStringLiteral("<TD ALIGN=\"center\">"), QStringLiteral("<B>"), QStringLiteral("</B>"),
        };
        std::mt19937 rng(932);
        auto pick = [&](const QString& from) { return from[int(rng() % from.size())]; };

        QString line;
        QString text;
        text.reserve(kTargetSize);
        qsizetype approxBytes = 0;
        while (approxBytes < kTargetSize) {
            line.clear();
            line += tags[rng() % 10];
            const int words = 4 + int(rng() % 8);
            for (int w = 0; w < words; ++w) {
                const unsigned kind = rng() % 10;
                const int len = 1 + int(rng() % 5);
                for (int k = 0; k < len; ++k) {
                    if (kind < 4)
                        line += pick(kanji);
                    else if (kind < 7)
                        line += pick(hira);
                    else if (kind < 8)
                        line += pick(kata);
                    else if (kind < 9)
                        line += pick(hankaku);
                    else
                        line += pick(punct);
                }
                if (rng() % 4 == 0)
                    line += tags[rng() % 10];
            }
            line += tags[rng() % 10];
            text += line;
            text += u'\n';
            approxBytes += line.size() * 2;
        }
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
