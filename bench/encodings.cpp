// The encodings beside Shift_JIS on a 32 MB Japanese HTML file: the
// lossless UTF-8 codec against Qt's own (lossy) one, detection against
// decoding, and EUC-JP.

#include "charset/encodings.h"

#include <QString>
#include <benchmark/benchmark.h>

#include <random>

using charset::Encoding;

namespace {

constexpr qsizetype kTargetSize = 32 * 1024 * 1024;

// A page of hand-written HTML: tags and attributes in ASCII, running text in
// kanji and kana with some half-width katakana, CR LF line ends.
const QString& japaneseSource()
{
    static const QString source = [] {
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
        return text;
    }();
    return source;
}

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
