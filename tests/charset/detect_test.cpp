#include "charset/encodings.h"

#include <gtest/gtest.h>

using charset::Encoding;
using charset::detectEncoding;

namespace {

const QString kProse = QStringLiteral("<P>こんにちは、世界。日本語のページです。</P>\r\n");

QByteArray in(Encoding e, const QString& text = kProse)
{
    return charset::encode(text, e).value();
}

QByteArray page(const char* meta, const QByteArray& body)
{
    return QByteArray("<HTML><HEAD>") + meta + "<TITLE>t</TITLE></HEAD>\r\n<BODY>" + body
        + "</BODY></HTML>\r\n";
}

TEST(DetectEncoding, ByteOrderMarkFirst)
{
    EXPECT_EQ(detectEncoding("\xEF\xBB\xBF"), Encoding::Utf8Bom);
    // Even against a declaration and with invalid bytes after it.
    EXPECT_EQ(detectEncoding("\xEF\xBB\xBF" + page("<META charset=\"Shift_JIS\">", "\xFF")),
              Encoding::Utf8Bom);
}

TEST(DetectEncoding, DeclaredCharsetWhenTheBytesAgree)
{
    const QByteArray sjisBody = in(Encoding::ShiftJis);
    EXPECT_EQ(detectEncoding(page("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                                  "charset=x-sjis\">",
                                  sjisBody)),
              Encoding::ShiftJis);
    EXPECT_EQ(detectEncoding(page("<meta charset=euc-jp>", in(Encoding::EucJp))), Encoding::EucJp);
    EXPECT_EQ(detectEncoding(page("<meta charset='UTF-8'>", in(Encoding::Utf8))), Encoding::Utf8);
    EXPECT_EQ(detectEncoding(page("<meta charset=\"iso-2022-jp\">", in(Encoding::Iso2022Jp))),
              Encoding::Iso2022Jp);
    // Plain ASCII agrees with every declaration.
    EXPECT_EQ(detectEncoding(page("<meta charset=\"utf-8\">", "abc")), Encoding::Utf8);
    EXPECT_EQ(detectEncoding(page("<meta charset=\"euc-jp\">", "abc")), Encoding::EucJp);
    // A meta that lies is passed over: the bytes are Shift_JIS, not UTF-8.
    EXPECT_EQ(detectEncoding(page("<meta charset=\"utf-8\">", sjisBody)), Encoding::ShiftJis);
    // An unknown label is as no declaration.
    EXPECT_EQ(detectEncoding(page("<meta charset=\"koi8-r\">", in(Encoding::Utf8))),
              Encoding::Utf8);
    // Only the first 4 KB are searched for it.
    QByteArray late = QByteArray(5000, ' ') + page("<meta charset=\"euc-jp\">", "abc");
    EXPECT_EQ(detectEncoding(late), Encoding::ShiftJis);
}

TEST(DetectEncoding, BytesValidInUtf8AndShiftJisAreUtf8UnlessDeclaredShiftJis)
{
    // "äöü" in UTF-8 (C3 A4 ...) also reads as valid code page 932 (kana).
    const QByteArray both = QStringLiteral("äöü").toUtf8();
    for (QChar c : charset::decode(both, Encoding::ShiftJis))
        ASSERT_FALSE(sjis::isRawByte(c.unicode()));
    EXPECT_EQ(detectEncoding(page("", both)), Encoding::Utf8);
    EXPECT_EQ(detectEncoding(page("<meta charset=\"Shift_JIS\">", both)), Encoding::ShiftJis);
}

TEST(DetectEncoding, ValidUtf8WithHighBytes)
{
    EXPECT_EQ(detectEncoding(in(Encoding::Utf8)), Encoding::Utf8);
    // A sample cut inside a character still counts as valid.
    QByteArray big = QByteArray(70 * 1024 - 1, 'a');
    big.prepend(in(Encoding::Utf8));
    big += "\xE3\x81\x82";
    EXPECT_EQ(detectEncoding(big), Encoding::Utf8);
    // One invalid sequence and it is not UTF-8.
    EXPECT_EQ(detectEncoding(in(Encoding::Utf8) + "\xE3\x81"), Encoding::ShiftJis);
}

TEST(DetectEncoding, Iso2022JpByItsEscapes)
{
    EXPECT_EQ(detectEncoding(in(Encoding::Iso2022Jp)), Encoding::Iso2022Jp);
    EXPECT_EQ(detectEncoding("\x1B$@F|\x1B(J"), Encoding::Iso2022Jp);
    // Escapes with bytes over 0x7F, or an unknown escape alone: not ISO-2022-JP.
    EXPECT_EQ(detectEncoding("\x1B$BF|\x1B(B\x82\xA0"), Encoding::ShiftJis);
    EXPECT_EQ(detectEncoding("abc\x1B[0m"), Encoding::ShiftJis);
}

TEST(DetectEncoding, EucJpOnlyWhenUnmistakable)
{
    // Prose: kana and punctuation (rows 1-5) in valid EUC-JP.
    EXPECT_EQ(detectEncoding(in(Encoding::EucJp)), Encoding::EucJp);
    // Kanji only, but not valid Shift_JIS (0xFD lead).
    EXPECT_EQ(detectEncoding("\xB0\xFD\xB0\xA1"), Encoding::EucJp);
    // Half-width katakana in Shift_JIS pair up as EUC-JP kanji: it stays
    // Shift_JIS, as it is also valid code page 932 and shows no kana rows.
    EXPECT_EQ(detectEncoding(in(Encoding::ShiftJis, QStringLiteral("ｱｲｳｴ"))), Encoding::ShiftJis);
    // Ordinary Shift_JIS prose is never valid EUC-JP.
    EXPECT_EQ(detectEncoding(in(Encoding::ShiftJis)), Encoding::ShiftJis);
    // An unmapped EUC-JP pair (row 9): not valid, so Shift_JIS.
    EXPECT_EQ(detectEncoding("\xA4\xA2\xA9\xA1"), Encoding::ShiftJis);
    // Nor a lead byte at the file's end.
    EXPECT_EQ(detectEncoding("\xB0\xFD\xB0"), Encoding::ShiftJis);
}

TEST(DetectEncoding, ShiftJisOtherwise)
{
    EXPECT_EQ(detectEncoding(""), Encoding::ShiftJis);
    EXPECT_EQ(detectEncoding("<HTML>plain ASCII</HTML>\r\n"), Encoding::ShiftJis);
    EXPECT_EQ(detectEncoding(in(Encoding::ShiftJis)), Encoding::ShiftJis);
    // Bytes over 0x7F far into a big ASCII file are still found.
    QByteArray big(200 * 1024, 'a');
    big += in(Encoding::Utf8);
    EXPECT_EQ(detectEncoding(big), Encoding::Utf8);
}

} // namespace
