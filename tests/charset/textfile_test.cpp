#include "charset/textfile.h"

#include <gtest/gtest.h>

#include <random>

using sjis::LineBreak;

namespace {

QByteArray breakBytes(LineBreak lb)
{
    switch (lb) {
    case LineBreak::CrLf: return "\r\n";
    case LineBreak::Lf: return "\n";
    case LineBreak::Cr: return "\r";
    }
    return {};
}

// Reference: every CR LF, lone CR and lone LF replaced by `to`.
QByteArray normaliseBreaks(const QByteArray& in, const QByteArray& to)
{
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '\r') {
            if (i + 1 < in.size() && in[i + 1] == '\n')
                ++i;
            out += to;
        } else if (in[i] == '\n') {
            out += to;
        } else {
            out += in[i];
        }
    }
    return out;
}

TEST(DocumentDecode, FirstBreakFoundDecides)
{
    struct Case { QByteArray bytes; LineBreak expected; };
    const QByteArray longLine(100, 'x'); // found past the 16-byte fast path
    const Case cases[] = {
        {"a\r\nb\nc\rd", LineBreak::CrLf},
        {"a\nb\r\nc", LineBreak::Lf},
        {"a\rb\r\nc\n", LineBreak::Cr},
        {"\r", LineBreak::Cr},
        {"abc\r", LineBreak::Cr},
        {"\r\r\n", LineBreak::Cr},
        {"abc", LineBreak::CrLf},
        {"", LineBreak::CrLf},
        {longLine + "\n" + longLine + "\r\n", LineBreak::Lf},
        {longLine + "\r\n" + longLine + "\n", LineBreak::CrLf},
        {longLine + "\r" + longLine + "\r\n", LineBreak::Cr},
        {"\x82\xa0\x82\xa2\n\r\n", LineBreak::Lf},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sjis::decodeDocument(c.bytes).lineBreak, c.expected) << c.bytes.toStdString();
}

TEST(DocumentDecode, EveryBreakBecomesNewline)
{
    EXPECT_EQ(sjis::decodeDocument("a\r\nb\rc\nd\n\re").text, QStringLiteral("a\nb\nc\nd\n\ne"));
    EXPECT_EQ(sjis::decodeDocument("\r\n\r\n").text, QStringLiteral("\n\n"));
    EXPECT_EQ(sjis::decodeDocument("\x82\xa0\r\n\x8a\xbf").text, QStringLiteral("あ\n漢"));
    // A lead byte before the break stays raw and does not eat it.
    EXPECT_EQ(sjis::decodeDocument("\x82\r\nx").text, QString(QChar(0xF782)) + QStringLiteral("\nx"));
}

TEST(DocumentRoundTrip, ConsistentBreaksAreByteIdentical)
{
    const QByteArray body = QByteArray("<HTML>\x82\xa0\x8a\xbf\xb1 text that is long enough "
                                       "for the wide copy ")
                            + QByteArray(40, 'z');
    for (LineBreak lb : {LineBreak::CrLf, LineBreak::Lf, LineBreak::Cr}) {
        const QByteArray br = breakBytes(lb);
        QByteArray file;
        for (int i = 0; i < 50; ++i)
            file += body.left(i * 3 % body.size()) + br;
        file += br + br + "last line, no break";
        const sjis::DocumentText doc = sjis::decodeDocument(file);
        EXPECT_EQ(doc.lineBreak, lb);
        EXPECT_FALSE(doc.text.contains(u'\r'));
        const auto back = sjis::encodeDocument(doc.text, doc.lineBreak);
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, file);
    }
}

TEST(DocumentRoundTrip, NulAndInvalidBytesSurvive)
{
    const QByteArray file("a\0b\r\n\x80\xa0\xfd\xfe\xff\xed\x40\r\n\x82", 15);
    const sjis::DocumentText doc = sjis::decodeDocument(file);
    EXPECT_EQ(doc.text.size(), 13);
    EXPECT_EQ(doc.text[1], QChar(0));
    const auto back = sjis::encodeDocument(doc.text, doc.lineBreak);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, file);
}

TEST(DocumentRoundTrip, RandomFilesComeBackWithTheirOwnBreak)
{
    // Whatever the bytes, saving with the detected break gives the file
    // with every break written that way and nothing else changed.
    std::mt19937 rng(2029);
    const char alphabet[] = {'\r', '\n', 'a', '<', '\0', char(0x82), char(0xA0), char(0x8A),
                             char(0xBF), char(0xB1), char(0xED), char(0x40), char(0xFF)};
    std::uniform_int_distribution<int> length(0, 100);
    std::uniform_int_distribution<int> symbol(0, int(sizeof alphabet) - 1);
    std::uniform_int_distribution<int> plain(0, 3);
    for (int i = 0; i < 20000; ++i) {
        const int n = length(rng);
        QByteArray file;
        for (int k = 0; k < n; ++k)
            file += plain(rng) ? 'x' : alphabet[symbol(rng)];
        const sjis::DocumentText doc = sjis::decodeDocument(file);
        const auto back = sjis::encodeDocument(doc.text, doc.lineBreak);
        ASSERT_TRUE(back);
        ASSERT_EQ(*back, normaliseBreaks(file, breakBytes(doc.lineBreak)))
            << file.toHex(' ').toStdString();
        ASSERT_EQ(sjis::decodeDocument(*back).text, doc.text);
    }
}

TEST(DocumentEncode, NewlineAndParagraphSeparatorWriteTheBreak)
{
    const QString text = QStringLiteral("あ\nb") + QChar(0x2029) + QStringLiteral("c\n");
    EXPECT_EQ(sjis::encodeDocument(text, LineBreak::CrLf).value_or("?"),
              QByteArray("\x82\xa0\r\nb\r\nc\r\n"));
    EXPECT_EQ(sjis::encodeDocument(text, LineBreak::Lf).value_or("?"),
              QByteArray("\x82\xa0\nb\nc\n"));
    EXPECT_EQ(sjis::encodeDocument(text, LineBreak::Cr).value_or("?"),
              QByteArray("\x82\xa0\rb\rc\r"));
    // Breaks inside a long ASCII run, at every position of the wide copy.
    for (int at = 0; at < 20; ++at) {
        QString line(20, u'a');
        line[at] = u'\n';
        QByteArray expected(20, 'a');
        expected.replace(at, 1, "\r\n");
        EXPECT_EQ(sjis::encodeDocument(line, LineBreak::CrLf).value_or("?"), expected) << at;
    }
}

TEST(DocumentEncode, ErrorPositionCountsEveryBreakKind)
{
    const QString ps(QChar(0x2029));
    const QString text = QStringLiteral("one") + ps + QStringLiteral("two\nthree\r\nfour\rfi") + QString::fromUcs4(U"😀");
    sjis::EncodeError e;
    EXPECT_FALSE(sjis::encodeDocument(text, LineBreak::CrLf, &e));
    EXPECT_EQ(e.line, 5);
    EXPECT_EQ(e.column, 3);
    EXPECT_EQ(e.character, char32_t(0x1F600));
    EXPECT_EQ(e.offset, text.size() - 2);

    EXPECT_FALSE(sjis::encodeDocument(QStringLiteral("a") + ps + QStringLiteral("bé"), LineBreak::Lf, &e));
    EXPECT_EQ(e.line, 2);
    EXPECT_EQ(e.column, 2);
}

} // namespace
