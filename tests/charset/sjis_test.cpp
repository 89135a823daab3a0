#include "charset/sjis.h"

#include <gtest/gtest.h>

#include <random>

namespace {

QByteArray bytesOf(std::initializer_list<int> list)
{
    QByteArray b;
    for (int v : list)
        b.append(char(v));
    return b;
}

QString units(std::initializer_list<char16_t> list)
{
    QString s;
    for (char16_t c : list)
        s.append(QChar(c));
    return s;
}

QByteArray roundTrip(const QByteArray& b)
{
    const auto back = sjis::encode(sjis::decode(b));
    return back ? *back : QByteArray("<encode failed>");
}

std::string hex(const QByteArray& b) { return b.toHex(' ').toStdString(); }

// --------------------------------------------------------------- round trips

TEST(SjisRoundTrip, EveryOneAndTwoByteSequence)
{
    for (int a = 0; a < 256; ++a) {
        const QByteArray one = bytesOf({a});
        ASSERT_EQ(roundTrip(one), one) << hex(one);
        for (int b = 0; b < 256; ++b) {
            const QByteArray two = bytesOf({a, b});
            ASSERT_EQ(roundTrip(two), two) << hex(two);
        }
    }
}

TEST(SjisRoundTrip, RandomByteStrings)
{
    std::mt19937 rng(932);
    std::uniform_int_distribution<int> length(0, 64);
    std::uniform_int_distribution<int> any(0, 255);
    std::uniform_int_distribution<int> high(0x80, 0xFF);
    std::uniform_int_distribution<int> pick(0, 9);
    for (int i = 0; i < 100000; ++i) {
        const int n = length(rng);
        // Some strings are mostly ASCII so that the 16-byte fast path meets
        // its exits at every position; most lean on high bytes.
        const int highShare = (i % 4 == 0) ? 1 : 6;
        QByteArray b(n, Qt::Uninitialized);
        for (int k = 0; k < n; ++k)
            b[k] = char(pick(rng) < highShare ? high(rng) : any(rng));
        ASSERT_EQ(roundTrip(b), b) << hex(b);
    }
}

TEST(SjisRoundTrip, EveryEncodableCharacterDecodesBack)
{
    int encodable = 0;
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            EXPECT_FALSE(sjis::canEncode(c));
            continue;
        }
        const char16_t u = char16_t(c);
        const auto bytes = sjis::encode(QStringView(&u, 1));
        ASSERT_EQ(bytes.has_value(), sjis::canEncode(c)) << std::hex << unsigned(c);
        if (!bytes)
            continue;
        ++encodable;
        // Characters typed on Linux that are written as their Windows twins
        // decode to the twin (checked in SjisMapping).
        if (QStringView(u"\u301C\u2212\u2016\u2014\u00A2\u00A3\u00AC\u00A5\u203E").contains(QChar(u)))
            continue;
        // A stand-in for a byte that is a character by itself (a half-width
        // katakana byte) is written as that byte and comes back as the kana.
        if (sjis::isRawByte(u) && u >= 0xF7A1 && u <= 0xF7DF)
            continue;
        ASSERT_EQ(sjis::decode(*bytes), QString(QChar(u))) << std::hex << unsigned(c);
    }
    // ASCII, 63 half-width katakana, 128 raw-byte stand-ins, 9206 pairs,
    // 9 characters typed on Linux.
    EXPECT_EQ(encodable, 128 + 63 + 128 + 9206 + 9);
    EXPECT_FALSE(sjis::canEncode(0x1F600));
    EXPECT_FALSE(sjis::canEncode(0x110000));
}

TEST(SjisRoundTrip, LongMixedText)
{
    QString text;
    for (int i = 0; i < 2000; ++i)
        text += QStringLiteral("<P>漢字とｶﾀｶﾅ、ASCII text %1 ①～＼</P>\r\n").arg(i);
    const auto bytes = sjis::encode(text);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(sjis::decode(*bytes), text);
}

// --------------------------------------------------------------- known points

TEST(SjisMapping, KnownCharacters)
{
    struct Point { QByteArray bytes; char16_t unit; };
    const Point points[] = {
        {bytesOf({0x82, 0xA0}), u'あ'},
        {bytesOf({0x8A, 0xBF}), u'漢'},
        {bytesOf({0xB1}), u'ｱ'},
        {bytesOf({0xA1}), u'｡'},
        {bytesOf({0xDF}), u'ﾟ'},
        {bytesOf({0x87, 0x40}), u'①'},
        {bytesOf({0x81, 0x60}), 0xFF5E},   // FULLWIDTH TILDE, as Windows maps it
        {bytesOf({0x81, 0x5F}), 0xFF3C},   // FULLWIDTH REVERSE SOLIDUS
        {bytesOf({0x5C}), u'\\'},          // 0x5C is the backslash in cp932
        {bytesOf({0x7E}), u'~'},
        {bytesOf({0x00}), 0x0000},
        {bytesOf({0xF0, 0x40}), 0xE000},   // user-defined area
        {bytesOf({0xF9, 0xFC}), 0xE757},
        // IBM extensions are the forms Windows writes...
        {bytesOf({0xFA, 0x5C}), 0x7E8A},
        {bytesOf({0xFB, 0xFC}), 0x9AD9},
        {bytesOf({0xFA, 0xB1}), 0xFA11},
        {bytesOf({0xFA, 0x40}), 0x2170},
        // ...while NEC row 13 wins over the IBM duplicates of its symbols.
        {bytesOf({0x87, 0x54}), 0x2160},
        {bytesOf({0x87, 0x82}), 0x2116},
        {bytesOf({0x81, 0xCA}), 0xFFE2},
    };
    for (const Point& p : points) {
        EXPECT_EQ(sjis::decode(p.bytes), QString(QChar(p.unit))) << hex(p.bytes);
        EXPECT_EQ(sjis::encode(QStringView(&p.unit, 1)).value_or("?"), p.bytes) << hex(p.bytes);
    }
}

TEST(SjisMapping, DuplicatesWindowsNeverWritesStayRaw)
{
    // NEC-selected IBM extension (Windows writes U+7E8A as FA 5C), NEC row 13
    // copies of JIS symbols (U+2252 is 81 E0) and IBM copies of NEC row 13.
    for (const QByteArray& b : {bytesOf({0xED, 0x40}), bytesOf({0xEE, 0xEF}),
                                bytesOf({0x87, 0x90}), bytesOf({0xFA, 0x4A}),
                                bytesOf({0xFA, 0x54})}) {
        const QString s = sjis::decode(b);
        ASSERT_EQ(s.size(), 2) << hex(b);
        EXPECT_EQ(s[0].unicode(), sjis::rawByteChar(uchar(b[0]))) << hex(b);
        EXPECT_EQ(roundTrip(b), b);
    }
    EXPECT_EQ(sjis::decode(bytesOf({0xED, 0x40})), units({0xF7ED, u'@'}));
}

TEST(SjisMapping, StrayBytesAreRaw)
{
    for (int b : {0x80, 0xA0, 0xFD, 0xFE, 0xFF})
        EXPECT_EQ(sjis::decode(bytesOf({b})), QString(QChar(0xF700 + b))) << b;
    // Lead byte at the end, lead + ASCII, lead + unmapped trail (0x7F), lead
    // before a lead that then pairs with the following byte.
    EXPECT_EQ(sjis::decode(bytesOf({'a', 0x82})), units({u'a', 0xF782}));
    EXPECT_EQ(sjis::decode(bytesOf({0x82, 'A'})), units({0xF782, u'A'}));
    EXPECT_EQ(sjis::decode(bytesOf({0x82, 0x7F})), units({0xF782, 0x7F}));
    EXPECT_EQ(sjis::decode(bytesOf({0x85, 0x82, 0xA0})), units({0xF785, u'あ'}));
    EXPECT_EQ(sjis::decode(bytesOf({0x82, 0x0D, 0x0A})), units({0xF782, u'\r', u'\n'}));
    // Every stand-in encodes back to its byte.
    for (int b = 0x80; b < 0x100; ++b) {
        const char16_t c = sjis::rawByteChar(uchar(b));
        EXPECT_TRUE(sjis::isRawByte(c));
        EXPECT_EQ(sjis::encode(QStringView(&c, 1)).value_or("?"), bytesOf({b}));
    }
    EXPECT_FALSE(sjis::isRawByte(0xF77F));
    EXPECT_FALSE(sjis::isRawByte(0xF800));
}

TEST(SjisMapping, CharactersLinuxInputTypesAreWrittenAsWindowsWritesThem)
{
    // 〜 − ‖ — ¢ £ ¬ from input methods, ¥ from a Japanese keyboard, ‾.
    const QString typed = QString::fromUtf16(u"\u301C\u2212\u2016\u2014\u00A2\u00A3\u00AC\u00A5\u203E");
    EXPECT_EQ(sjis::encode(typed).value_or("?"),
              bytesOf({0x81, 0x60, 0x81, 0x7C, 0x81, 0x61, 0x81, 0x5C, 0x81, 0x91, 0x81, 0x92,
                       0x81, 0xCA, 0x5C, 0x7E}));
    // Decoding is unchanged: the bytes come back as the Windows characters,
    // and those encode to the same bytes again.
    const QString back = sjis::decode(*sjis::encode(typed));
    EXPECT_EQ(back, QString::fromUtf16(u"\uFF5E\uFF0D\u2225\u2015\uFFE0\uFFE1\uFFE2\\~"));
    EXPECT_EQ(sjis::encode(back), sjis::encode(typed));
}

TEST(SjisMapping, CharactersWithoutAByteFormAreRefused)
{
    // C1 controls, U+0080 (0x80 is a raw byte), accented letters, NBSP.
    for (char32_t c : {0x00A0u, 0x0080u, 0x0085u, 0x00E9u, 0x2029u, 0xFFFFu})
        EXPECT_FALSE(sjis::canEncode(c)) << std::hex << unsigned(c);
    EXPECT_TRUE(sjis::canEncode(0));
    EXPECT_TRUE(sjis::canEncode(U'\\'));
}

// --------------------------------------------------------------- encode errors

TEST(SjisEncodeError, LineAndColumnAcrossEveryBreak)
{
    // (Past a U+2029 only encodeDocument() gets; see the document tests.)
    for (const QString& br : {QStringLiteral("\n"), QStringLiteral("\r\n"), QStringLiteral("\r")}) {
        const QString text = QStringLiteral("line one") + br + QStringLiteral("二行目") + br + QStringLiteral("abcdé tail");
        sjis::EncodeError e;
        EXPECT_FALSE(sjis::encode(text, &e));
        EXPECT_EQ(e.line, 3);
        EXPECT_EQ(e.column, 5);
        EXPECT_EQ(e.offset, text.indexOf(u'é'));
        EXPECT_EQ(e.character, char32_t(0xE9));
    }
    // "\n\r" is two breaks; "\r\n" one.
    sjis::EncodeError e;
    EXPECT_FALSE(sjis::encode(QStringLiteral("a\n\rb\r\né"), &e));
    EXPECT_EQ(e.line, 4);
    EXPECT_EQ(e.column, 1);
}

TEST(SjisEncodeError, PlainEncodeRefusesParagraphSeparator)
{
    const QString text = QStringLiteral("ab") + QChar(0x2029) + QStringLiteral("cd");
    sjis::EncodeError e;
    EXPECT_FALSE(sjis::encode(text, &e));
    EXPECT_EQ(e.character, char32_t(0x2029));
    EXPECT_EQ(e.line, 1);
    EXPECT_EQ(e.column, 3);
}

TEST(SjisEncodeError, SurrogatesAreWholeCharacters)
{
    // 😀 is reported as one character, not as its first surrogate.
    const QString emojiFirst = QString::fromUcs4(U"x😀é");
    sjis::EncodeError e;
    EXPECT_FALSE(sjis::encode(emojiFirst, &e));
    EXPECT_EQ(e.character, char32_t(0x1F600));
    EXPECT_EQ(e.offset, 1);
    EXPECT_EQ(e.column, 2);

    // Lone surrogates are refused as themselves.
    const QString loneHigh = units({u'a', 0xD83D, u'b'});
    EXPECT_FALSE(sjis::encode(loneHigh, &e));
    EXPECT_EQ(e.character, char32_t(0xD83D));
    EXPECT_EQ(e.column, 2);
    const QString loneLow = units({0xDE00});
    EXPECT_FALSE(sjis::encode(loneLow, &e));
    EXPECT_EQ(e.character, char32_t(0xDE00));
    EXPECT_EQ(e.line, 1);
    EXPECT_EQ(e.column, 1);
    const QString highAtEnd = units({u'あ', 0xD83D});
    EXPECT_FALSE(sjis::encode(highAtEnd, &e));
    EXPECT_EQ(e.character, char32_t(0xD83D));
}

TEST(SjisEncodeError, FailureInsideALongAsciiRun)
{
    // The culprit sits among characters handled eight at a time.
    for (int at = 0; at < 40; ++at) {
        QString text(40, u'a');
        text[at] = QChar(0xE9);
        sjis::EncodeError e;
        ASSERT_FALSE(sjis::encode(text, &e));
        EXPECT_EQ(e.offset, at);
        EXPECT_EQ(e.column, at + 1);
    }
}

TEST(SjisEncodeError, DescribeNamesPlaceCharacterAndCode)
{
    sjis::EncodeError e;
    e.line = 3;
    e.column = 5;
    e.character = 0xE9;
    EXPECT_EQ(sjis::describe(e), QStringLiteral("3 行 5 列目の文字「é」(U+00E9) は Shift_JIS で保存できません。"));
    e.character = 0x1F600;
    EXPECT_TRUE(sjis::describe(e).contains(QStringLiteral("「😀」(U+1F600)")));
    // Nothing to show for a lone surrogate or an invisible character.
    e.character = 0xD83D;
    EXPECT_EQ(sjis::describe(e), QStringLiteral("3 行 5 列目の文字 U+D83D は Shift_JIS で保存できません。"));
    e.character = 0x85;
    EXPECT_TRUE(sjis::describe(e).contains(QStringLiteral("文字 U+0085 は")));
}

} // namespace
