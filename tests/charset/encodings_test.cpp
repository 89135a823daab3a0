#include "charset/encodings.h"
#include "charset/encodingscore.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <random>

using charset::Encoding;
using charset::LineBreak;

namespace {

constexpr Encoding kAll[] = {Encoding::ShiftJis, Encoding::Utf8, Encoding::Utf8Bom,
                             Encoding::EucJp, Encoding::Iso2022Jp};

const QByteArray kBom("\xEF\xBB\xBF");

QString raw(uchar b) { return QString(QChar(sjis::rawByteChar(b))); }
QString raw7(uchar b) { return QString(QChar(charset::rawByte7Char(b))); }

int rawCount(const QString& s)
{
    int n = 0;
    for (QChar c : s)
        n += sjis::isRawByte(c.unicode()) || charset::isRawByte7(c.unicode());
    return n;
}

// Decoding then encoding in `e`, as text and as a document with each
// line's own break, gives the bytes back.
void expectRoundTrip(const QByteArray& bytes, Encoding e)
{
    const QByteArray expected =
        e == Encoding::Utf8Bom && !bytes.startsWith(kBom) ? kBom + bytes : bytes;
    const auto back = charset::encode(charset::decode(bytes, e), e);
    ASSERT_TRUE(back.has_value()) << bytes.toHex().constData();
    EXPECT_EQ(back->toHex(), expected.toHex()) << charset::encodingName(e).toStdString();

    const charset::DocumentText doc = charset::decodeDocument(bytes, e);
    const auto breaks = charset::lineBreaksOf(bytes, e);
    EXPECT_EQ(qsizetype(breaks.size()), doc.text.count(u'\n'));
    const auto saved = charset::encodeDocumentLines(doc.text, e, breaks, doc.lineBreak);
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->toHex(), expected.toHex()) << charset::encodingName(e).toStdString();
}

TEST(EncodingNames, StatusBarNamesAndBack)
{
    const QStringList names = {"Shift_JIS", "UTF-8", "UTF-8 (BOM)", "EUC-JP", "ISO-2022-JP"};
    int i = 0;
    for (Encoding e : kAll) {
        EXPECT_EQ(charset::encodingName(e), names[i++]);
        EXPECT_EQ(charset::encodingFromName(charset::encodingName(e)), e);
    }
    EXPECT_FALSE(charset::encodingFromName(u"utf8").has_value());
}

TEST(Utf8Codec, JapaneseTextAndBom)
{
    const QString text = QStringLiteral("<P>日本語のテキスト、ｶﾀｶﾅ ① 😀</P>");
    const QByteArray bytes = text.toUtf8();
    EXPECT_EQ(charset::decode(bytes, Encoding::Utf8), text);
    EXPECT_EQ(charset::encode(text, Encoding::Utf8).value(), bytes);
    // The mark is remembered by the encoding, not held in the text.
    EXPECT_EQ(charset::decode(kBom + bytes, Encoding::Utf8Bom), text);
    EXPECT_EQ(charset::encode(text, Encoding::Utf8Bom).value(), kBom + bytes);
    expectRoundTrip(kBom + bytes, Encoding::Utf8Bom);
    // Read as plain UTF-8, the mark stays a character and comes back.
    EXPECT_EQ(charset::decode(kBom + bytes, Encoding::Utf8).front(), QChar(0xFEFF));
    expectRoundTrip(kBom + bytes, Encoding::Utf8);
}

TEST(Utf8Codec, InvalidSequencesAreKeptByteByByte)
{
    const struct { const char* bytes; QString text; } cases[] = {
        {"a\xE3\x81", "a" + raw(0xE3) + raw(0x81)},                     // truncated at the end
        {"\xE3\x81" "b", raw(0xE3) + raw(0x81) + "b"},                  // truncated mid-text
        {"\xC0\xAF", raw(0xC0) + raw(0xAF)},                             // overlong '/'
        {"\xE0\x80\xAF", raw(0xE0) + raw(0x80) + raw(0xAF)},             // overlong, 3 bytes
        {"\xED\xA0\x80\xED\xB0\x80", raw(0xED) + raw(0xA0) + raw(0x80) + raw(0xED) + raw(0xB0)
                                         + raw(0x80)},                  // encoded surrogates
        {"\xF4\x90\x80\x80", raw(0xF4) + raw(0x90) + raw(0x80) + raw(0x80)}, // past U+10FFFF
        {"\x80\xBF", raw(0x80) + raw(0xBF)},                              // stray continuations
        {"\xFE\xFF", raw(0xFE) + raw(0xFF)},
        // U+F780 is a raw byte's stand-in: its UTF-8 form stays three bytes.
        {"\xEF\x9E\x80", raw(0xEF) + raw(0x9E) + raw(0x80)},
    };
    for (const auto& c : cases) {
        const QByteArray bytes(c.bytes);
        EXPECT_EQ(charset::decode(bytes, Encoding::Utf8), c.text) << bytes.toHex().constData();
        expectRoundTrip(bytes, Encoding::Utf8);
    }
    // A mark followed by invalid bytes.
    EXPECT_EQ(charset::decode("\xEF\xBB\xBF\xFF" "a", Encoding::Utf8Bom), raw(0xFF) + "a");
    expectRoundTrip("\xEF\xBB\xBF\xFF" "a", Encoding::Utf8Bom);
}

TEST(Utf8Codec, AgreesWithQtOnValidInput)
{
    std::mt19937 rng(8);
    for (int round = 0; round < 300; ++round) {
        std::u32string points;
        const int n = int(rng() % 200);
        for (int i = 0; i < n; ++i) {
            char32_t c;
            switch (rng() % 5) {
            case 0: c = 0x20 + rng() % 0x60; break;
            case 1: c = 0x80 + rng() % 0x780; break;
            case 2: c = 0x3000 + rng() % 0x7000; break;
            case 3: c = 0x10000 + rng() % 0x100000; break;
            default: c = 0x800 + rng() % 0xF800; break;
            }
            if ((c >= 0xD800 && c <= 0xDFFF) || sjis::isRawByte(char16_t(c)) || c == 0xFEFF)
                c = 'x';
            points += c;
        }
        const QString text = QString::fromUcs4(points.data(), points.size());
        const QByteArray bytes = text.toUtf8();
        ASSERT_EQ(charset::decode(bytes, Encoding::Utf8), QString::fromUtf8(bytes));
        ASSERT_EQ(charset::encode(text, Encoding::Utf8).value(), bytes);
        // The document form's ASCII fast path meets breaks at every offset.
        const QString withBreaks = text + QStringLiteral("\r\nabcdefghijklmnopq\r") + text;
        ASSERT_EQ(charset::decodeDocument(withBreaks.toUtf8(), Encoding::Utf8).text,
                  QString(text + "\nabcdefghijklmnopq\n" + text));
    }
}

TEST(Utf8Codec, LoneSurrogateIsRefusedWithItsPlace)
{
    const QString text = QStringLiteral("ab\ncd") + QChar(0xD800) + "e";
    charset::EncodeError error;
    EXPECT_FALSE(charset::encodeDocument(text, Encoding::Utf8, LineBreak::CrLf, &error));
    EXPECT_EQ(error.line, 2);
    EXPECT_EQ(error.column, 3);
    EXPECT_EQ(error.character, char32_t(0xD800));
    // A raw byte typed into the text is written as that byte, as Shift_JIS does.
    EXPECT_EQ(charset::encode(raw(0x80), Encoding::Utf8).value(), QByteArray("\x80"));
}

TEST(EucJpCodec, KanjiKanaAndRawSequences)
{
    // 日本語 ｱ, a JIS X 0212 triple, an unmapped pair (row 9), a lone lead.
    const QByteArray bytes("\xC6\xFC\xCB\xDC\xB8\xEC \x8E\xB1|\x8F\xB0\xA1|\xA9\xA1|\xC6");
    const QString text = QStringLiteral("日本語 ｱ|") + raw(0x8F) + raw(0xB0) + raw(0xA1) + "|"
        + raw(0xA9) + raw(0xA1) + "|" + raw(0xC6);
    EXPECT_EQ(charset::decode(bytes, Encoding::EucJp), text);
    expectRoundTrip(bytes, Encoding::EucJp);
    EXPECT_EQ(charset::encode(QStringLiteral("日本語ｱ①"), Encoding::EucJp).value(),
              QByteArray("\xC6\xFC\xCB\xDC\xB8\xEC\x8E\xB1\xAD\xA1"));
}

TEST(EucJpCodec, CharacterOutsideTheSetIsRefusedWithItsPlace)
{
    charset::EncodeError error;
    // 髙 is an IBM extension: code page 932 has it, EUC-JP does not.
    EXPECT_FALSE(charset::encodeDocument(u"あ\nいう髙", Encoding::EucJp, LineBreak::Lf, &error));
    EXPECT_EQ(error.line, 2);
    EXPECT_EQ(error.column, 3);
    EXPECT_EQ(error.character, char32_t(0x9AD9));
    EXPECT_TRUE(charset::describe(error, Encoding::EucJp).contains(QStringLiteral("EUC-JP")));
    EXPECT_FALSE(charset::canEncode(0x9AD9, Encoding::EucJp));
    EXPECT_TRUE(charset::canEncode(0x9AD9, Encoding::ShiftJis));
    EXPECT_TRUE(charset::canEncode(0xFEFF, Encoding::Utf8));
}

// What Python's iso2022_jp codec writes for "日本語のテキスト\r\nabc漢字\r\n".
const QByteArray kJisSample("\x1B$BF|K\\8l$N%F%-%9%H\x1B(B\r\nabc\x1B$B4A;z\x1B(B\r\n");

TEST(Iso2022JpCodec, UsualEscapesReadAsNothing)
{
    EXPECT_EQ(charset::decode(kJisSample, Encoding::Iso2022Jp),
              QStringLiteral("日本語のテキスト\r\nabc漢字\r\n"));
    EXPECT_EQ(charset::encode(u"日本語のテキスト\r\nabc漢字\r\n", Encoding::Iso2022Jp).value(),
              kJisSample);
    // Text ending in kanji is closed; YEN SIGN goes through JIS X 0201 Roman.
    EXPECT_EQ(charset::encode(u"漢", Encoding::Iso2022Jp).value(), QByteArray("\x1B$B4A\x1B(B"));
    EXPECT_EQ(charset::encode(u"¥a", Encoding::Iso2022Jp).value(),
              QByteArray("\x1B(J\\\x1B(B" "a"));
    expectRoundTrip(kJisSample, Encoding::Iso2022Jp);
    expectRoundTrip("\x1B(J\\\x1B(B" "a", Encoding::Iso2022Jp);
}

TEST(Iso2022JpCodec, OldStyleEscapesAreKeptOnceThenLearnt)
{
    // ESC $ @ in, ESC ( J out, all through the file: the first of each is kept.
    const QByteArray bytes("\x1B$@F|\x1B(Ja\r\n\x1B$@K\\\x1B(Jb\r\n");
    const QString text = charset::decode(bytes, Encoding::Iso2022Jp);
    EXPECT_EQ(text, raw7(0x1B) + raw7('$') + raw7('@') + QStringLiteral("日") + raw7(0x1B)
                        + raw7('(') + raw7('J') + QStringLiteral("a\r\n本b\r\n"));
    expectRoundTrip(bytes, Encoding::Iso2022Jp);
}

TEST(Iso2022JpCodec, BadInputSavesBackIdentical)
{
    const QByteArray cases[] = {
        "\x1B$BF|K\\",                  // an escape never closed
        "a\x1B$BF|\r\n",                // a line break inside two-byte text
        "\x1B(Iabc",                    // an unknown escape (half-width kana set)
        "\x1B$B\x7F!\x1B(B",            // a two-byte code that is no character
        "\x1B$B\x1B(B",                 // an empty segment
        "\x1B(B\x1B(Babc",              // redundant escapes
        "\xB1\xB2\x1B",                 // bytes over 0x7F, an ESC at the end
        "\x1B$B4A\x1B(B\x1B$B4A",      // closed, then opened for good
    };
    for (const QByteArray& bytes : cases) {
        SCOPED_TRACE(bytes.toHex().constData());
        expectRoundTrip(bytes, Encoding::Iso2022Jp);
        // ... and by the reading itself, not by its fallback to all bytes kept.
        const QString text = charset::detail::decodeIso2022JpUnchecked(bytes);
        EXPECT_EQ(charset::detail::encodeIso2022Jp(text, {}, nullptr).value(), bytes);
    }
    // What can be read is shown.
    EXPECT_TRUE(charset::decode("\x1B$BF|K\\", Encoding::Iso2022Jp).endsWith(u"日本"));
    EXPECT_TRUE(charset::decode("\x1B(Iabc", Encoding::Iso2022Jp).endsWith(u"abc"));
}

TEST(Iso2022JpCodec, HalfWidthKanaAndEscIsRefused)
{
    charset::EncodeError error;
    EXPECT_FALSE(charset::encode(u"ab\nｱ", Encoding::Iso2022Jp, &error));
    EXPECT_EQ(error.line, 2);
    EXPECT_EQ(error.column, 1);
    EXPECT_FALSE(charset::encode(QString(QChar(0x1B)), Encoding::Iso2022Jp, &error));
}

TEST(EncodingsDocument, BreaksFoundAndWrittenAsShiftJis)
{
    const QString text = QStringLiteral("一行目\n二行目\nend");
    for (Encoding e : kAll) {
        SCOPED_TRACE(charset::encodingName(e).toStdString());
        for (LineBreak lb : {LineBreak::CrLf, LineBreak::Lf, LineBreak::Cr}) {
            const QByteArray bytes = charset::encodeDocument(text, e, lb).value();
            const charset::DocumentText doc = charset::decodeDocument(bytes, e);
            EXPECT_EQ(doc.text, text);
            EXPECT_EQ(doc.lineBreak, lb);
            EXPECT_FALSE(charset::hasMixedBreaks(bytes, e, lb));
        }
        // Mixed breaks stay as they were.
        const std::vector<LineBreak> mixed = {LineBreak::Lf, LineBreak::Cr};
        const QByteArray bytes =
            charset::encodeDocumentLines(text, e, mixed, LineBreak::CrLf).value();
        EXPECT_TRUE(charset::hasMixedBreaks(bytes, e, LineBreak::Lf));
        EXPECT_EQ(charset::lineBreaksOf(bytes, e), mixed);
        EXPECT_EQ(charset::decodeDocument(bytes, e).lineBreak, LineBreak::Lf);
        expectRoundTrip(bytes, e);
    }
}

TEST(EncodingsDocument, RandomBytesRoundTripInEveryEncoding)
{
    std::mt19937 rng(22);
    const QByteArray pieces[] = {"\r\n", "\r", "\n", "\x1B$B", "\x1B(B", "\x1B(J", "\x1B$@",
                                 "\xE3\x81\x82", "\x8E", "\x8F", "\xEF\xBB\xBF", "!", "~"};
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes;
        const int n = int(rng() % 40);
        for (int i = 0; i < n; ++i) {
            if (rng() % 3 == 0)
                bytes += pieces[rng() % std::size(pieces)];
            else
                bytes += char(rng() % 256);
        }
        for (Encoding e : kAll)
            expectRoundTrip(bytes, e);
    }
}

TEST(EncodingsDocument, ValidTextHasNoStandIns)
{
    const QString text = QStringLiteral("<P>こんにちは、世界。</P>\r\n漢字とかな\r\n");
    for (Encoding e : kAll) {
        const QByteArray bytes = charset::encode(text, e).value();
        EXPECT_EQ(rawCount(charset::decode(bytes, e)), 0) << charset::encodingName(e).toStdString();
        EXPECT_EQ(charset::decode(bytes, e), text);
    }
}

} // namespace
