// Every JIS X 0208 character (rows 1-84) and every half-width katakana,
// written in EUC-JP and in ISO-2022-JP, converts to what glibc's iconv makes
// of the same line in Shift_JIS.
#include "charset/autosjisconv.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>

namespace {

std::optional<QByteArray> iconvToSjis(const char* from, const QByteArray& in)
{
    iconv_t cd = iconv_open("SHIFT_JIS", from);
    if (cd == iconv_t(-1))
        return std::nullopt;
    QByteArray out(in.size() * 2 + 16, '\0');
    char* ip = const_cast<char*>(in.constData());
    size_t il = size_t(in.size());
    char* op = out.data();
    size_t ol = size_t(out.size());
    bool ok = iconv(cd, &ip, &il, &op, &ol) != size_t(-1)
              && iconv(cd, nullptr, nullptr, &op, &ol) != size_t(-1);
    iconv_close(cd);
    if (!ok)
        return std::nullopt;
    out.truncate(op - out.constData());
    return out;
}

QByteArray pair(int a, int b)
{
    const char bytes[2] = {char(a), char(b)};
    return QByteArray(bytes, 2);
}

QByteArray jisLine(const QByteArray& pairs, char set)
{
    return QByteArray("\x1b$B") + pairs + QByteArray("\x1b(") + set;
}

TEST(AutoSjisConvVersusIconv, EveryJisX0208Character)
{
    int compared = 0;
    for (int j1 = 0x21; j1 <= 0x74; ++j1) {
        QByteArray eucRow = "<TD>";
        QByteArray jisRow;
        for (int j2 = 0x21; j2 <= 0x7E; ++j2) {
            const QByteArray euc = pair(j1 | 0x80, j2 | 0x80);
            const auto want = iconvToSjis("EUC-JP", euc);
            if (!want)
                continue;   // unassigned code
            ++compared;
            eucRow += euc;
            jisRow += char(j1);
            jisRow += char(j2);

            TAutoSjisConv c;
            EXPECT_EQ(c.ConvertToSjis(euc), *want) << std::hex << j1 << j2;
            const QByteArray jis = jisLine(pair(j1, j2), 'B');
            const auto wantJis = iconvToSjis("ISO-2022-JP", jis);
            ASSERT_TRUE(wantJis);
            EXPECT_EQ(c.ConvertToSjis(jis), *wantJis) << std::hex << j1 << j2;
            EXPECT_FALSE(c.twoByteMode);
        }
        // Whole rows, with ASCII around them, take the word-at-a-time paths.
        eucRow += "</TD>";
        TAutoSjisConv c;
        const auto want = iconvToSjis("EUC-JP", eucRow);
        ASSERT_TRUE(want);
        EXPECT_EQ(c.ConvertToSjis(eucRow), *want) << "row " << j1 - 0x20;
        const QByteArray jis = "<TD>" + jisLine(jisRow, 'B') + "</TD>";
        EXPECT_EQ(c.ConvertToSjis(jis), *iconvToSjis("ISO-2022-JP", jis)) << "row " << j1 - 0x20;
    }
    EXPECT_EQ(compared, 6879);
}

TEST(AutoSjisConvVersusIconv, HalfWidthKatakana)
{
    QByteArray eucAll, jisAll;
    for (int k = 0xA1; k <= 0xDF; ++k) {
        const QByteArray euc = pair(0x8E, k);
        const QByteArray jis = QByteArray("\x1b(I") + char(k - 0x80) + QByteArray("\x1b(B");
        eucAll += euc;
        jisAll += char(k - 0x80);
        TAutoSjisConv c;
        EXPECT_EQ(c.ConvertToSjis(euc), *iconvToSjis("EUC-JP", euc)) << std::hex << k;
        // glibc reads ESC ( I only in its ISO-2022-JP-3 converter.
        EXPECT_EQ(c.ConvertToSjis(jis), *iconvToSjis("ISO-2022-JP-3", jis)) << std::hex << k;
    }
    TAutoSjisConv c;
    EXPECT_EQ(c.ConvertToSjis("a" + eucAll + "b"), *iconvToSjis("EUC-JP", "a" + eucAll + "b"));
    const QByteArray jis = QByteArray("a\x1b(I") + jisAll + QByteArray("\x1b(Bb");
    EXPECT_EQ(c.ConvertToSjis(jis), *iconvToSjis("ISO-2022-JP-3", jis));
}

} // namespace
