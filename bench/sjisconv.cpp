// Shift_JIS conversion of JIS and EUC-JP text, against glibc's iconv on the
// same buffers, and the "S-Jis変換" command on a whole document.
#include "composition.h"
#include "charset/autosjisconv.h"

#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cstring>
#include <random>
#include <string>

namespace {

constexpr std::size_t kTextSize = 32u << 20;

// One text in both encodings, built from the same random content: lines of
// 40-200 bytes mixing ASCII tags, kanji, hiragana, katakana and half-width
// katakana.  JIS lines return to ASCII before their end.
struct Texts {
    std::string euc;
    std::string jis;
};

const Texts& texts()
{
    static const Texts t = [] {
        Texts t;
        std::mt19937 rng(4);
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        const char* tags[] = {"<P>", "<BR>", "<FONT SIZE=\"+1\">", "</FONT>", "<A HREF=\"index.htm\">",
                              "</A>", "<TD ALIGN=\"center\">", "<IMG SRC=\"a.gif\" WIDTH=32>", "text ", "  "};
        while (t.euc.size() < kTextSize) {
            const std::size_t target = std::size_t(pick(40, 200));
            std::string euc, jis;
            while (euc.size() < target) {
                switch (pick(0, 5)) {
                case 0: case 1: {   // ASCII
                    const char* s = tags[pick(0, 9)];
                    euc += s;
                    jis += s;
                    break;
                }
                case 2: case 3: case 4: {   // kanji, hiragana or katakana
                    jis += "\x1b$B";
                    for (int n = pick(2, 12); n > 0; --n) {
                        int j1, j2;
                        switch (pick(0, 2)) {
                        case 0: j1 = pick(0x30, 0x4E); j2 = pick(0x21, 0x7E); break;
                        case 1: j1 = 0x24; j2 = pick(0x21, 0x73); break;
                        default: j1 = 0x25; j2 = pick(0x21, 0x76); break;
                        }
                        euc += char(j1 | 0x80);
                        euc += char(j2 | 0x80);
                        jis += char(j1);
                        jis += char(j2);
                    }
                    jis += "\x1b(B";
                    break;
                }
                default: {   // half-width katakana
                    jis += "\x1b(I";
                    for (int n = pick(1, 8); n > 0; --n) {
                        const int k = pick(0xA1, 0xDF);
                        euc += '\x8e';
                        euc += char(k);
                        jis += char(k - 0x80);
                    }
                    jis += "\x1b(B";
                }
                }
            }
            t.euc += euc + '\n';
            t.jis += jis + '\n';
        }
        return t;
    }();
    return t;
}

// Ours: the whole buffer in one call, line by line inside (each line's
// encoding detected, then converted), the lines packed in place with their
// '\n' -- like iconv below, one call over the same buffer.  The copy that
// restores the input before each pass is not timed.
void convertLines(benchmark::State& state, const std::string& text)
{
    std::string work(text.size(), '\0');
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(work.data(), text.data(), text.size());
        state.ResumeTiming();
        TAutoSjisConv conv;
        const std::size_t total = conv.convertLines(work.data(), work.size());
        benchmark::DoNotOptimize(total);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

// glibc iconv over the whole buffer in one call into a separate output
// buffer (it has no in-place mode and does no detection); opening and
// closing the converter is timed, as our converter is made in each pass.
void iconvAll(benchmark::State& state, const char* from, const std::string& text)
{
    std::string out(text.size() + 64, '\0');
    for (auto _ : state) {
        iconv_t cd = iconv_open("SHIFT_JIS", from);
        char* ip = const_cast<char*>(text.data());
        std::size_t il = text.size();
        char* op = out.data();
        std::size_t ol = out.size();
        if (iconv(cd, &ip, &il, &op, &ol) == std::size_t(-1)) {
            state.SkipWithError("iconv failed");
            iconv_close(cd);
            break;
        }
        iconv_close(cd);
        benchmark::DoNotOptimize(op);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

void BM_ConvertToSjisEucJp(benchmark::State& state) { convertLines(state, texts().euc); }
void BM_ConvertToSjisJis(benchmark::State& state) { convertLines(state, texts().jis); }

// The same with the 16-byte SSE2 walks, as on processors without AVX-512.
void narrow(benchmark::State& state, const std::string& text)
{
    TAutoSjisConv::setWideVectors(false);
    convertLines(state, text);
    TAutoSjisConv::setWideVectors(true);
}
void BM_ConvertToSjisEucJpSse2(benchmark::State& state) { narrow(state, texts().euc); }
void BM_ConvertToSjisJisSse2(benchmark::State& state) { narrow(state, texts().jis); }
void BM_IconvEucJpToSjis(benchmark::State& state) { iconvAll(state, "EUC-JP", texts().euc); }
// glibc reads ESC ( I (half-width katakana) only in ISO-2022-JP-3.
void BM_IconvJisToSjis(benchmark::State& state) { iconvAll(state, "ISO-2022-JP-3", texts().jis); }

BENCHMARK(BM_ConvertToSjisEucJp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertToSjisJis)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertToSjisEucJpSse2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertToSjisJisSse2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvEucJpToSjis)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvJisToSjis)->Unit(benchmark::kMillisecond);

} // namespace

// ---------------------------------------------------------------- command
#include "platform/qtprompts.h"
#include "app/tfmmain.h"
#include "charset/sjis.h"
#include "app/sjiscommand.h"
#include "support/options.h"

#include <QTemporaryDir>

namespace {

// "S-Jis変換" on a 32 MB EUC-JP document, end to end: text out of the
// editor, conversion, and the text back in as one undoable edit.
void BM_SjisCommand(benchmark::State& state)
{
    QTemporaryDir dir;
    QtPrompts prompts;
    TFmMain::Options o = benchOptions(dir);
    TFmMain main(prompts, o);
    const QString document = sjis::decode(QByteArray::fromStdString(texts().euc));
    for (auto _ : state) {
        state.PauseTiming();
        main.NewDocument();
        main.CurrentEdit()->setPlainText(document);
        state.ResumeTiming();
        main.action("MSjis")->trigger();
        state.PauseTiming();
        main.closeDocument(main.DocumentCount());
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(texts().euc.size()));
}

BENCHMARK(BM_SjisCommand)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
