// TAutoSjisConv: detection, the JIS and EUC-JP walks, the shift state that
// carries across lines, and lines that are cut off or not JIS / EUC-JP.
#include "charset/autosjisconv.h"

#include <gtest/gtest.h>

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

} // namespace
