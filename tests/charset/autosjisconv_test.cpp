// TAutoSjisConv: detection, the JIS and EUC-JP walks, the shift state that
// carries across lines, and lines that are cut off or not JIS / EUC-JP.
#include "charset/autosjisconv.h"

#include <QList>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using Enc = TAutoSjisConv::Encoding;

QByteArray B(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (int b : bytes)
        out.append(char(b));
    return out;
}

Enc detect(const QByteArray& line) { return TAutoSjisConv::detect(line.constData(), size_t(line.size())); }

// Converts with a fresh converter and checks the in-place form agrees.
QByteArray conv(const QByteArray& line, bool twoByte = false, bool kana = false)
{
    TAutoSjisConv a;
    a.twoByteMode = twoByte;
    a.kanaMode = kana;
    const QByteArray out = a.ConvertToSjis(line);
    TAutoSjisConv b;
    b.twoByteMode = twoByte;
    b.kanaMode = kana;
    QByteArray copy = line;
    copy.detach();
    copy.truncate(qsizetype(b.convertInPlace(copy.data(), size_t(copy.size()))));
    EXPECT_EQ(out, copy);
    EXPECT_EQ(a.twoByteMode, b.twoByteMode);
    EXPECT_EQ(a.kanaMode, b.kanaMode);
    return out;
}

TEST(AutoSjisConvDetect, ClassifiesLines)
{
    struct Case { QByteArray line; Enc want; const char* why; };
    const std::vector<Case> cases = {
        {"", Enc::Jis, "empty"},
        {"<HTML lang=\"ja\">\t", Enc::Jis, "plain ASCII counts as JIS"},
        {B({0x1B, '$', 'B', 0x30, 0x21, 0x1B, '(', 'B'}), Enc::Jis, "escapes"},
        {B({0xB0, 0xA1}), Enc::EucJp, "kanji pair"},
        {B({'a', 0x8E, 0xB1, 'b'}), Enc::EucJp, "kana prefix followed by kana"},
        {B({0x88, 0x9F}), Enc::ShiftJis, "lead byte below 0xA0"},
        {B({0xB0, 0xA1, 0x82, 0xA0}), Enc::ShiftJis, "Shift_JIS is final"},
        {B({0xB1}), Enc::ShiftJis, "a lone high byte has no partner"},
        {B({0xB0, 0xA1, 0xB1}), Enc::ShiftJis, "odd pairing"},
        {B({0x8E, 0xE0, 0xA1, 0xA1}), Enc::ShiftJis, "prefix not followed by kana"},
        {B({0x8E, 0x41, 0xA1, 0xA1}), Enc::EucJp, "ASCII between prefix and kana is not looked at"},
        {B({0x8E, 0xB1, 0x8E, 0xE0}), Enc::ShiftJis, "last prefix decides"},
        {B({0x8E, 0xB1, 0xB0, 0xA1}), Enc::EucJp, "confirmed kana stays confirmed"},
        {B({0xB0, 0xA1, 0x00, 0x88}), Enc::EucJp, "bytes after NUL are not examined"},
        {B({'a', 0x0D, 0x88, 0x9F}), Enc::Jis, "bytes after CR are not examined"},
        {B({'a', 0x1A, 0xB1}), Enc::Jis, "bytes after Ctrl-Z are not examined"},
        {B({0xA1, 0x1A}), Enc::ShiftJis, "pair cut at Ctrl-Z"},
        {B({0xB1, 0xB2, 0xB3, 0xB4}), Enc::EucJp, "even half-width kana cannot be told apart"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(detect(c.line), c.want) << c.why;
}

TEST(AutoSjisConvDetect, LongLinesUseEveryLane)
{
    // Lengths and offsets that cross word boundaries.
    for (int len = 0; len < 40; ++len)
        for (int at = 0; at < len; ++at) {
            QByteArray line(len, 'x');
            line[at] = char(0x88);
            EXPECT_EQ(detect(line), Enc::ShiftJis) << len << " " << at;
            line[at] = '\t';
            EXPECT_EQ(detect(line), Enc::Jis);
            if (at + 1 < len) {
                line[at] = char(0xB0);
                line[at + 1] = char(0xA1);
                EXPECT_EQ(detect(line), Enc::EucJp) << len << " " << at;
                line[at] = 0;   // examined part ends here
                EXPECT_EQ(detect(line), Enc::Jis) << len << " " << at;
            }
        }
}

TEST(AutoSjisConvJis, EscapesShiftCodesAndPairs)
{
    EXPECT_EQ(conv(B({0x1B, '$', 'B', 0x30, 0x21, 0x1B, '(', 'B'})), B({0x88, 0x9F}));
    EXPECT_EQ(conv(B({0x1B, '$', '@', 0x24, 0x22, 0x1B, '(', 'J', 'a'})), B({0x82, 0xA0, 'a'}));
    // Blanks and controls in two-byte mode stay; the pairs around them convert.
    EXPECT_EQ(conv(B({0x1B, '$', 'B', 0x30, 0x21, ' ', 0x30, 0x21, 0x1B, '(', 'H'})),
              B({0x88, 0x9F, ' ', 0x88, 0x9F}));
    // Half-width katakana by ESC ( I and by SO / SI.
    EXPECT_EQ(conv(B({0x1B, '(', 'I', 0x31, 0x5F, 0x60, 0x1B, '(', 'B', 0x31})), B({0xB1, 0xDF, 0x60, 0x31}));
    EXPECT_EQ(conv(B({'a', 0x0E, 0x31, 0x0F, 0x31})), B({'a', 0xB1, 0x31}));
    // An unknown escape stays in the text.
    EXPECT_EQ(conv(B({0x1B, '$', 'A', 'x'})), B({0x1B, '$', 'A', 'x'}));
    EXPECT_EQ(conv("<P ALIGN=\"center\">abc</P>"), QByteArray("<P ALIGN=\"center\">abc</P>"));
}

TEST(AutoSjisConvJis, ShiftStateCarriesAcrossLinesAndRuns)
{
    TAutoSjisConv c;
    EXPECT_EQ(c.ConvertToSjis(B({0x1B, '$', 'B', 0x30, 0x21})), B({0x88, 0x9F}));
    EXPECT_TRUE(c.twoByteMode);
    EXPECT_EQ(c.ConvertToSjis(B({0x30, 0x21})), B({0x88, 0x9F}));
    EXPECT_EQ(c.ConvertToSjis(B({0x30, 0x21, 0x1B, '(', 'B', 'x'})), B({0x88, 0x9F, 'x'}));
    EXPECT_FALSE(c.twoByteMode);
    EXPECT_EQ(c.ConvertToSjis(B({0x30, 0x21})), B({0x30, 0x21}));
    // A Shift_JIS line leaves the state alone.
    c.ConvertToSjis(B({0x0E}));
    EXPECT_TRUE(c.kanaMode);
    EXPECT_EQ(c.ConvertToSjis(B({0x82, 0xA0, 0x0F})), B({0x82, 0xA0, 0x0F}));
    EXPECT_TRUE(c.kanaMode);
    EXPECT_EQ(c.ConvertToSjis(B({0x31})), B({0xB1}));
}

TEST(AutoSjisConvJis, CutOffInputStaysInsideTheLine)
{
    // Pair cut by the end of the line in two-byte mode: the byte stays.
    EXPECT_EQ(conv(B({0x30, 0x21, 0x30}), true), B({0x88, 0x9F, 0x30}));
    // ESC at the end, ESC $ at the end: not recognised, stay.
    EXPECT_EQ(conv(B({'a', 0x1B})), B({'a', 0x1B}));
    EXPECT_EQ(conv(B({'a', 0x1B, '$'})), B({'a', 0x1B, '$'}));
    EXPECT_EQ(conv(B({0x1B}), true), B({0x1B}));
    EXPECT_EQ(conv(B({0x1B, '('}), false, true), B({0x1B, 0xA8}));   // '(' is kana
    // Bytes after a NUL are not JIS; they stay and are never paired.
    EXPECT_EQ(conv(B({'a', 0x00, 0x88, 0x9F, 0xB1})), B({'a', 0x00, 0x88, 0x9F, 0xB1}));
    EXPECT_EQ(conv(B({0x00, 0x30, 0x88}), true), B({0x00, 0x30, 0x88}));
    EXPECT_EQ(conv(B({0x00, 0x1B, '$', 0xC2})), B({0x00, 0x1B, '$', 0xC2}));
}

TEST(AutoSjisConvEuc, PairsKanaAndAscii)
{
    EXPECT_EQ(conv(B({0xB0, 0xA1})), B({0x88, 0x9F}));
    EXPECT_EQ(conv(B({0x8E, 0xB1})), B({0xB1}));
    EXPECT_EQ(conv(B({'<', 'B', '>', 0xA4, 0xA2, 0x8E, 0xDF, '<', '/', 'B', '>'})),
              B({'<', 'B', '>', 0x82, 0xA0, 0xDF, '<', '/', 'B', '>'}));
    // Escapes and shift codes of an EUC-JP line touch kana mode only.
    TAutoSjisConv c;
    c.twoByteMode = true;
    EXPECT_EQ(c.ConvertToSjis(B({0xB0, 0xA1, 0x1B, '(', 'I', 0x31, 0xB1, 0x1B, '(', 'J', 0x31})),
              B({0x88, 0x9F, 0xB1, 0xB1, 0x31}));
    EXPECT_TRUE(c.twoByteMode);
    EXPECT_FALSE(c.kanaMode);
    EXPECT_EQ(c.ConvertToSjis(B({0xB0, 0xA1, 0x0E, 0x31, 0x0F, 0x31})), B({0x88, 0x9F, 0xB1, 0x31}));
}

TEST(AutoSjisConvEuc, CutOffInputStaysInsideTheLine)
{
    // Detection ignores what follows a NUL, so the walk meets these ends.
    EXPECT_EQ(conv(B({0xB0, 0xA1, 0x00, 0xB0})), B({0x88, 0x9F, 0x00, 0xB0}));
    EXPECT_EQ(conv(B({0xB0, 0xA1, 0x00, 0x8E})), B({0x88, 0x9F, 0x00, 0x8E}));
    EXPECT_EQ(conv(B({0xB0, 0xA1, 0x00, 0x1B, '('})), B({0x88, 0x9F, 0x00, 0x1B, '('}));
    EXPECT_EQ(conv(B({0xB0, 0xA1, 0x00, 0x8E, 0xB1})), B({0x88, 0x9F, 0x00, 0xB1}));
}

TEST(AutoSjisConv, OtherLinesComeBackUnchanged)
{
    const std::vector<QByteArray> lines = {
        "",
        "plain <A HREF=\"x.htm\">ascii</A>",
        B({0x88, 0x9F, 0x82, 0xA0, 'a', 0x83, 0x41}),           // Shift_JIS kanji
        B({0xB1}),                                              // one half-width kana
        B({0xFF, 0x80, 0x00, 0x1B, '$', 'B', 0x30, 0x21}),     // binary
    };
    for (bool two : {false, true})
        for (bool kana : {false, true})
            for (const QByteArray& l : lines) {
                if ((two || kana) && detect(l) != Enc::ShiftJis)
                    continue;   // ASCII converts in a shift mode
                EXPECT_EQ(conv(l, two, kana), l);
            }
}

TEST(AutoSjisConv, JisToSjisArithmetic)
{
    EXPECT_EQ(TAutoSjisConv::jisToSjis(0x30, 0x21), 0x889Fu);
    EXPECT_EQ(TAutoSjisConv::jisToSjis(0x24, 0x22), 0x82A0u);
    EXPECT_EQ(TAutoSjisConv::jisToSjis(0x21, 0x21), 0x8140u);
    EXPECT_EQ(TAutoSjisConv::jisToSjis(0x21, 0x60), 0x8180u);   // trail skips 0x7F
    EXPECT_EQ(TAutoSjisConv::jisToSjis(0x5E, 0x7E), 0x9FFCu);
    EXPECT_EQ(TAutoSjisConv::jisToSjis(0x5F, 0x21), 0xE040u);   // lead skips 0xA0-0xDF
    EXPECT_EQ(TAutoSjisConv::jisToSjis(0x7E, 0x7E), 0xEFFCu);
}

TEST(AutoSjisConv, NeverLongerAndStateAgreesWithCopies)
{
    // A cheap sweep over short lines of interesting bytes in every state.
    const unsigned char alphabet[] = {0x00, 0x0E, 0x0F, 0x1A, 0x1B, '$', '(', 'B', 'I', 'J', '@',
                                      0x21, 0x30, 0x7E, 0x8E, 0xA0, 0xA1, 0xB1, 0xDF, 0xFE, 0xFF, 0x88};
    const int k = int(sizeof alphabet);
    for (int len = 1; len <= 4; ++len) {
        int total = 1;
        for (int i = 0; i < len; ++i)
            total *= k;
        for (int v = 0; v < total; ++v) {
            QByteArray line;
            for (int i = 0, x = v; i < len; ++i, x /= k)
                line.append(char(alphabet[x % k]));
            for (int s = 0; s < 4; ++s)
                EXPECT_LE(conv(line, s & 1, s & 2).size(), line.size());
        }
    }
}


// ---------------------------------------------------------------- wide walks
// The 64-byte walks (where the processor has them) against the 16-byte ones,
// which the cases above pin down: same bytes, same encoding, same state.

using uchar = unsigned char;

struct Converted {
    Enc enc;
    QByteArray out;
    bool two, kana;
};

Converted run(const QByteArray& line, bool wide, bool two, bool kana)
{
    TAutoSjisConv::setWideVectors(wide);
    TAutoSjisConv c;
    c.twoByteMode = two;
    c.kanaMode = kana;
    QByteArray buf(line.constData(), line.size());   // exactly the line's size
    Converted r;
    r.enc = detect(line);
    buf.truncate(qsizetype(c.convertInPlace(buf.data(), size_t(buf.size()))));
    r.out = buf;
    r.two = c.twoByteMode;
    r.kana = c.kanaMode;
    TAutoSjisConv::setWideVectors(true);
    return r;
}

// Detection byte by byte, as the rule reads.
Enc detectByRule(const QByteArray& line)
{
    const auto* p = reinterpret_cast<const unsigned char*>(line.constData());
    size_t m = 0;
    while (m < size_t(line.size()) && p[m] != 0x0D && p[m] != 0x0A && p[m] != 0x00 && p[m] != 0x1A)
        ++m;
    enum { None, AfterPrefix, Confirmed } kana = None;
    bool prefixSeen = false, high = false;
    for (size_t i = 0; i < m; ++i) {
        const unsigned char b = p[i];
        if (b < 0x80)
            continue;
        high = true;
        if (kana != Confirmed)
            kana = (kana == AfterPrefix && b >= 0xA1 && b <= 0xDF) ? Confirmed : None;
        if (b == 0x8E) {
            kana = AfterPrefix;
            prefixSeen = true;
        }
        if (b < 0xA0 && b != 0x8E)
            return Enc::ShiftJis;
    }
    if (!high)
        return Enc::Jis;
    for (size_t i = 0; i < m; ++i)
        if (p[i] >= 0x80) {
            if (i + 1 >= m)
                return Enc::ShiftJis;
            ++i;
        }
    return kana == None && prefixSeen ? Enc::ShiftJis : Enc::EucJp;
}

void expectSameBothWays(const QByteArray& line, const char* what, int a = 0, int b = 0)
{
    TAutoSjisConv::setWideVectors(false);
    ASSERT_EQ(detect(line), detectByRule(line)) << what << " " << a << " " << b << " narrow";
    TAutoSjisConv::setWideVectors(true);
    ASSERT_TRUE(TAutoSjisConv::wideVectors()) << "only tests that skip without the 64-byte walks come here";
    ASSERT_EQ(detect(line), detectByRule(line)) << what << " " << a << " " << b << " wide " << line.toHex().constData();
    for (int s = 0; s < 4; ++s) {
        const Converted n = run(line, false, s & 1, s & 2);
        const Converted w = run(line, true, s & 1, s & 2);
        ASSERT_EQ(n.enc, w.enc) << what << " " << a << " " << b << " state " << s;
        ASSERT_EQ(n.out.toHex(' '), w.out.toHex(' ')) << what << " " << a << " " << b << " state " << s;
        ASSERT_EQ(n.two, w.two) << what << " " << a << " " << b;
        ASSERT_EQ(n.kana, w.kana) << what << " " << a << " " << b;
    }
}

QByteArray euc(int j1, int j2) { return B({j1 | 0x80, j2 | 0x80}); }

// Where the processor lacks AVX-512 VBMI2 only the 16-byte walks exist and
// there is nothing to compare: those tests say so instead of passing.
bool processorHasWideWalks()
{
    TAutoSjisConv::setWideVectors(true);
    return TAutoSjisConv::wideVectors();
}
constexpr const char* kNoWideWalks =
    "this processor has no AVX-512 VBMI2: no 64-byte walks to compare with the 16-byte ones";

TEST(AutoSjisConvWide, EveryPairAtEveryBlockOffset)
{
    if (!processorHasWideWalks())
        GTEST_SKIP() << kNoWideWalks;
    // All 94 x 94 pairs, in EUC-JP and in JIS, shifted across the block
    // edges so that each pair meets the lanes 62/63/0 somewhere.
    for (int shift = 0; shift < 3; ++shift) {
        QByteArray e(shift, 'a'), j = QByteArray(shift, 'a') + "\x1b$B";
        for (int j1 = 0x21; j1 <= 0x7E; ++j1)
            for (int j2 = 0x21; j2 <= 0x7E; ++j2) {
                e += euc(j1, j2);
                j += char(j1);
                j += char(j2);
            }
        expectSameBothWays(e, "euc", shift);
        expectSameBothWays(j, "jis", shift);
        // and the converted result is the published arithmetic
        const Converted c = run(e, true, false, false);
        ASSERT_EQ(c.out.size(), e.size());
        int at = shift;
        for (int j1 = 0x21; j1 <= 0x7E; ++j1)
            for (int j2 = 0x21; j2 <= 0x7E; ++j2, at += 2)
                ASSERT_EQ((unsigned(uchar(c.out[at])) << 8) | uchar(c.out[at + 1]),
                          TAutoSjisConv::jisToSjis(unsigned(j1), unsigned(j2)));
    }
}

TEST(AutoSjisConvWide, RunEdgesAndCutsAtEveryOffset)
{
    if (!processorHasWideWalks())
        GTEST_SKIP() << kNoWideWalks;
    // A special sequence placed at every offset of lines that cross one,
    // two and three blocks, in plain ASCII, in kanji and in kana.
    const std::vector<QByteArray> inserts = {
        B({0x8E, 0xB1}), B({0xB0, 0xA1}), B({0xB0}), B({0x8E}), B({0x8E, 0xE0}), B({0xB0, 0x41}),
        B({0xA0}), B({0xFF}), B({0xB0, 0xA0}), B({0x1B, '(', 'I'}), B({0x1B, '(', 'J'}),
        B({0x1B, '$', 'B'}), B({0x1B, '(', 'B'}), B({0x1B, '$'}), B({0x1B}), B({0x0E}), B({0x0F}),
        B({0x0E, 0x31, 0x0F}), B({0x00}), B({0x0D}), B({0x1A}), B({0x30, 0x21}), B({0x30, 0x1B}),
        B({0x30, 0x20}), B({0x88, 0x9F}), B({0x7F}), B({0x1B, 0x0E, 0x31}),
    };
    const std::vector<QByteArray> fills = {
        QByteArray("<A HREF=\"x\">"), euc(0x30, 0x21) + euc(0x24, 0x22), B({0x8E, 0xB1}),
        QByteArray("\x1b$B\x30\x21\x24\x22\x1b(B", 11), QByteArray("\x1b(I\x31\x5f\x1b(B", 8),
        QByteArray("0!"),
    };
    for (const QByteArray& fill : fills)
        for (int len : {63, 64, 65, 127, 129, 190}) {
            QByteArray base;
            while (base.size() < len)
                base += fill;
            base.truncate(len);
            expectSameBothWays(base, "fill", len);
            for (size_t k = 0; k < inserts.size(); ++k)
                for (int at = 0; at <= len; ++at) {
                    QByteArray line = base;
                    line.insert(at, inserts[k]);
                    expectSameBothWays(line, "insert", int(k), at);
                    line.truncate(at + inserts[k].size());   // the line ends right after it
                    expectSameBothWays(line, "cut", int(k), at);
                }
        }
}

TEST(AutoSjisConvWide, RandomLinesAgree)
{
    if (!processorHasWideWalks())
        GTEST_SKIP() << kNoWideWalks;
    std::mt19937 rng(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int alphabet[] = {0x00, 0x0A, 0x0D, 0x0E, 0x0F, 0x1A, 0x1B, 0x1B, 0x1B, '$', '(', 'B', 'I', 'J', '@',
                            0x20, 0x21, 0x30, 0x5F, 0x60, 0x7E, 0x7F, 0x80, 0x8E, 0x8E, 0x9F, 0xA0, 0xA1,
                            0xB0, 0xDF, 0xE0, 0xFE, 0xFF};
    for (int iter = 0; iter < 20000; ++iter) {
        QByteArray line;
        const int len = pick(0, 300);
        const int mode = pick(0, 3);   // how much of the line is well-formed
        while (line.size() < len) {
            switch (mode == 0 ? 4 : pick(0, 4 + mode * 2)) {
            case 0: case 1: line += "<P>text"; break;
            case 2: line += euc(pick(0x21, 0x7E), pick(0x21, 0x7E)); break;
            case 3: line += B({0x8E, pick(0xA1, 0xDF)}); break;
            case 4: line += char(alphabet[pick(0, int(sizeof alphabet / sizeof *alphabet) - 1)]); break;
            case 5: line += "\x1b$B"; break;
            case 6: line += "\x1b(B"; break;
            case 7: line += "\x1b(I"; break;
            case 8: line += char(pick(0x21, 0x7E)); break;
            default: line += B({pick(0x21, 0x7E), pick(0x21, 0x7E)}); break;
            }
        }
        expectSameBothWays(line, "random", iter);
    }
}

TEST(AutoSjisConvLines, WholeTextAgreesWithLineByLine)
{
    // Random texts of short and long lines (CR, NUL, Ctrl-Z inside lines, an
    // empty last line or none); the whole-text walk packs the converted lines
    // exactly as converting them one by one would, with the state carried.
    std::mt19937 rng(11);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const std::vector<QByteArray> pieces = {
        "<P>", "text ", "\n", "\n", "\r\n", B({0x00}), B({0x1A}), euc(0x30, 0x21), euc(0x24, 0x22),
        B({0x8E, 0xB1}), B({0x88, 0x9F}), "\x1b$B", "\x1b(B", "\x1b(I", B({0x0E}), B({0x0F}), "0!", "%$",
        B({0xB0}), B({0x8E}), B({0xFF}),
    };
    for (int iter = 0; iter < 1500; ++iter) {
        QByteArray text;
        const int len = pick(0, iter % 10 == 0 ? 2000 : 200);
        const int kinds = pick(3, int(pieces.size()) - 1);
        while (text.size() < len)
            text += pieces[size_t(pick(0, kinds))];
        for (bool wide : {false, true}) {
            TAutoSjisConv::setWideVectors(wide);
            for (int s = 0; s < 4; ++s) {
                TAutoSjisConv byLine, whole;
                byLine.twoByteMode = whole.twoByteMode = s & 1;
                byLine.kanaMode = whole.kanaMode = s & 2;
                QByteArray want;
                const QList<QByteArray> lines = text.split('\n');
                for (qsizetype i = 0; i < lines.size(); ++i) {
                    QByteArray l = lines[i];
                    l.detach();
                    l.truncate(qsizetype(byLine.convertInPlace(l.data(), size_t(l.size()))));
                    want += l;
                    if (i + 1 < lines.size())
                        want += '\n';
                }
                QByteArray got(text.constData(), text.size());
                got.truncate(qsizetype(whole.convertLines(got.data(), size_t(got.size()))));
                ASSERT_EQ(got.toHex(' '), want.toHex(' ')) << iter << " wide " << wide << " state " << s << " " << text.toHex().constData();
                ASSERT_EQ(whole.twoByteMode, byLine.twoByteMode) << iter;
                ASSERT_EQ(whole.kanaMode, byLine.kanaMode) << iter;
            }
        }
        TAutoSjisConv::setWideVectors(true);
    }
}

TEST(AutoSjisConvWide, LongLinesStayLinear)
{
    if (!processorHasWideWalks())
        GTEST_SKIP() << kNoWideWalks;
    // One 4 MB line of kanji and one of JIS in two-byte mode: both walks
    // agree, and nothing goes quadratic on the way.
    QByteArray e, j = "\x1b$B";
    for (int i = 0; i < (2 << 20); ++i) {
        e += euc(0x30 + i % 16, 0x21 + i % 90);
        j += char(0x30 + i % 16);
        j += char(0x21 + i % 90);
    }
    expectSameBothWays(e, "long euc");
    expectSameBothWays(j, "long jis");
}

} // namespace
