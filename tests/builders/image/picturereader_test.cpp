#include "builders/image/picturereader.h"

#include "support/pictures.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PictureReader : public ::testing::Test {
protected:
    QString put(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(writeAll(path, bytes));
        return path;
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(PictureReader, SizesComeFromTheHeaderOfEachKindWhateverTheExtensionsCase)
{
    struct Case { QString name; QByteArray bytes; QSize size; };
    const Case cases[] = {
        {QStringLiteral("a.jpg"), pictures::jpeg(33, 17), QSize(33, 17)},
        {QStringLiteral("b.JPG"), pictures::jpeg(40, 9, {.progressive = true}), QSize(40, 9)},
        {QStringLiteral("c.Jpg"), pictures::jpeg(8, 300, {.gray = true}), QSize(8, 300)},
        {QStringLiteral("d.gif"), pictures::gif(21, 5), QSize(21, 5)},
        {QStringLiteral("e.GIF"), pictures::gif(19, 23, {.interlaced = true}), QSize(19, 23)},
        {QStringLiteral("f.bmp"), pictures::bmp(13, 7), QSize(13, 7)},
        {QStringLiteral("g.BMP"), pictures::bmp(1, 1), QSize(1, 1)},
    };
    for (const Case& c : cases) {
        const PictureResult r = readPictureSize(put(c.name, c.bytes));
        EXPECT_TRUE(r.ok()) << c.name.toStdString() << ": " << r.error.toStdString();
        EXPECT_EQ(r.size, c.size) << c.name.toStdString();
    }
}

TEST_F(PictureReader, GifWithoutScreenSizeTakesItsFirstPicturesSize)
{
    const QByteArray g = pictures::withClaimedSize(pictures::gif(12, 6), "gif", 0, 0);
    const PictureResult r = gifSize(g);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.size, QSize(12, 6));
    QString error;
    EXPECT_EQ(gifPixels(g, kPreviewPixelCap, &error).size(), QSize(12, 6));
}

TEST_F(PictureReader, BadFilesAreReportedWithTheReadersText)
{
    const QByteArray jpg = pictures::jpeg(64, 64);
    const QByteArray gif = pictures::gif(64, 64);
    const QByteArray png = QByteArray::fromHex("89504e470d0a1a0a0000000d49484452");
    struct Case { QString name; QByteArray bytes; };
    const Case cases[] = {
        {QStringLiteral("png.jpg"), png},            // extension lies
        {QStringLiteral("jpeg.gif"), jpg},
        {QStringLiteral("gif.bmp"), gif},
        {QStringLiteral("empty.jpg"), {}},
        {QStringLiteral("empty.gif"), {}},
        {QStringLiteral("empty.bmp"), {}},
        {QStringLiteral("cut.jpg"), jpg.left(40)},   // ends inside the tables
        {QStringLiteral("cut.gif"), gif.left(15)},   // ends inside the colour map
        {QStringLiteral("cut.bmp"), pictures::bmp(8, 8).left(20)},
        {QStringLiteral("picture.png"), png},        // no reader for the type
        {QStringLiteral("noextension"), jpg},
    };
    for (const Case& c : cases) {
        const QString path = put(c.name, c.bytes);
        const PictureResult r = readPictureSize(path);
        EXPECT_FALSE(r.ok()) << c.name.toStdString();
        EXPECT_FALSE(r.error.trimmed().isEmpty()) << c.name.toStdString();
        QString error;
        EXPECT_TRUE(readPicturePixels(path, kPreviewPixelCap, &error).isNull()) << c.name.toStdString();
        EXPECT_FALSE(error.isEmpty()) << c.name.toStdString();
    }
    EXPECT_TRUE(readPictureSize(put(QStringLiteral("png.jpg"), png)).error.contains(QLatin1String("JPEG")));

    // Paths that are no picture file at all.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.jpg")));
    for (const QString& path : {dir.filePath(QStringLiteral("folder.jpg")), dir.filePath(QStringLiteral("gone.gif"))}) {
        const PictureResult r = readPictureSize(path);
        EXPECT_FALSE(r.ok()) << path.toStdString();
        EXPECT_FALSE(r.error.isEmpty());
    }
}

TEST_F(PictureReader, EnormousClaimsCostLittleAndGiveASmallerPreview)
{
    struct Case { const char* kind; QByteArray bytes; };
    const Case cases[] = {
        {"jpeg", pictures::withClaimedSize(pictures::jpeg(16, 16), "jpeg", 60000, 60000)},
        {"gif", pictures::withClaimedSize(pictures::gif(16, 16), "gif", 60000, 60000)},
    };
    for (const Case& c : cases) {
        const QByteArray k(c.kind);
        const PictureResult r = k == "jpeg" ? jpegSize(c.bytes) : gifSize(c.bytes);
        ASSERT_TRUE(r.ok()) << c.kind << ": " << r.error.toStdString();
        EXPECT_EQ(r.size, QSize(60000, 60000));
        QString error;
        const QImage pixels = k == "jpeg" ? jpegPixels(c.bytes, 256 * 256, &error)
                                          : gifPixels(c.bytes, 256 * 256, &error);
        ASSERT_FALSE(pixels.isNull()) << c.kind << ": " << error.toStdString();
        EXPECT_LE(pixels.width() * pixels.height(), 256 * 256) << c.kind;
        EXPECT_GT(pixels.width() * pixels.height(), 128 * 128) << c.kind;
    }
    // A bitmap claiming more than its file holds is damaged; Qt's reader
    // refuses such a header outright.
    QString error;
    EXPECT_TRUE(bmpPixels(pictures::withClaimedSize(pictures::bmp(16, 16), "bmp", 6000, 6000), kPreviewPixelCap,
                          &error).isNull());
    EXPECT_FALSE(error.isEmpty());
    const PictureResult hugeBmp =
        bmpSize(pictures::withClaimedSize(pictures::bmp(16, 16), "bmp", 60000, 60000));
    EXPECT_FALSE(hugeBmp.ok());
    EXPECT_FALSE(hugeBmp.error.isEmpty());

    // Even with no pixel budget, libjpeg's own memory stays bounded: the
    // progressive picture would need gigabytes of coefficients.
    const QByteArray progressive =
        pictures::withClaimedSize(pictures::jpeg(16, 16, {.progressive = true}), "jpeg", 60000, 60000);
    error.clear();
    EXPECT_TRUE(jpegPixels(progressive, qint64(1) << 40, &error).isNull());
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(PictureReader, PixelsOfEachKindAndPicturesOverTheBudgetMadeSmaller)
{
    QString error;
    // A JPEG over the budget is decoded at a fraction of its size, then
    // every third row and column of the eighth.
    const QImage big = jpegPixels(pictures::jpeg(400, 200), 100 * 50, &error);
    ASSERT_FALSE(big.isNull()) << error.toStdString();
    EXPECT_EQ(big.size(), QSize(100, 50));
    EXPECT_GT(qRed(big.pixel(10, 25)), 200);    // left half red
    EXPECT_GT(qBlue(big.pixel(90, 25)), 200);   // right half blue
    const QImage small = jpegPixels(pictures::jpeg(400, 200), 200, &error);
    ASSERT_FALSE(small.isNull()) << error.toStdString();
    EXPECT_EQ(small.size(), QSize(17, 9));
    EXPECT_GT(qRed(small.pixel(2, 4)), 200);
    EXPECT_GT(qBlue(small.pixel(15, 4)), 200);
    EXPECT_EQ(jpegPixels(pictures::jpeg(30, 10, {.gray = true}), kPreviewPixelCap, &error).size(),
              QSize(30, 10));

    // Interlaced GIF rows land where they belong; the transparent index shows through.
    const QImage g = gifPixels(pictures::gif(16, 20, {.interlaced = true, .transparentIndex = 3}),
                               kPreviewPixelCap, &error);
    ASSERT_FALSE(g.isNull()) << error.toStdString();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 16; ++x) {
            const QColor want = pictures::gifColor(x, y);
            if (want == QColor(Qt::white))
                EXPECT_EQ(qAlpha(g.pixel(x, y)), 0) << x << "," << y;
            else
                EXPECT_EQ(QColor(g.pixel(x, y)), want) << x << "," << y;
        }
    // Over the budget, every other row and column.
    const QImage half = gifPixels(pictures::gif(64, 40, {.interlaced = true}), 32 * 20, &error);
    ASSERT_EQ(half.size(), QSize(32, 20));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 32; ++x)
            EXPECT_EQ(QColor(half.pixel(x, y)), pictures::gifColor(2 * x, 2 * y)) << x << "," << y;

    const QImage b = bmpPixels(pictures::bmp(5, 4), kPreviewPixelCap, &error);
    ASSERT_FALSE(b.isNull());
    EXPECT_EQ(QColor(b.pixel(4, 3)), QColor(10, 20, 30));
    const QImage bs = bmpPixels(pictures::bmp(50, 41), 25 * 21, &error);
    EXPECT_EQ(bs.size(), QSize(25, 21));
    EXPECT_EQ(QColor(bs.pixel(24, 20)), QColor(10, 20, 30));

    EXPECT_EQ(reductionFor(1, 1, 0), 1);
    EXPECT_EQ(reductionFor(100, 100, 1), 100);
    EXPECT_EQ(reductionFor(65535, 65535, kPreviewPixelCap), 16);
}

TEST_F(PictureReader, AGifIsReadToItsEndAndDamageAnywhereFailsSizeAndPixelsAlike)
{
    const QByteArray one = pictures::gif(64, 64);
    // The screen and its colour map, then the picture, then the trailer ";".
    const qsizetype head = 6 + 7 + 3 * 4;
    ASSERT_EQ(one.at(head), '\x2C');
    ASSERT_EQ(one.back(), ';');
    const QByteArray picture = one.mid(head, one.size() - 1 - head);
    const QByteArray two = one.left(one.size() - 1) + picture + ';';
    QByteArray scrambled = two;
    for (qsizetype i = scrambled.size() - 40; i < scrambled.size() - 10; ++i)
        scrambled[i] = char(0xFF);

    // Pictures that read: also without the trailer many writers leave out.
    for (const QByteArray& good : {one, two, one.left(one.size() - 1), two.left(two.size() - 1)}) {
        const PictureResult r = gifSize(good);
        EXPECT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(r.size, QSize(64, 64));
        QString error;
        EXPECT_FALSE(gifPixels(good, kPreviewPixelCap, &error).isNull()) << error.toStdString();
    }

    struct Case { const char* what; QByteArray bytes; };
    const Case damaged[] = {
        {"cut in the first picture", one.left(one.size() - 30)},
        {"cut in the second picture", two.left(two.size() - 30)},
        {"scrambled second picture", scrambled},
        {"no picture", one.left(head) + ';'},
        {"garbage after the picture", one.left(one.size() - 1) + "garbage"},
    };
    for (const Case& c : damaged) {
        const PictureResult r = gifSize(c.bytes);
        EXPECT_FALSE(r.ok()) << c.what;
        EXPECT_FALSE(r.error.isEmpty()) << c.what;
        QString error;
        EXPECT_TRUE(gifPixels(c.bytes, kPreviewPixelCap, &error).isNull()) << c.what;
        EXPECT_EQ(error, r.error) << c.what;
        EXPECT_EQ(readPicture(put(QStringLiteral("d.gif"), c.bytes), kPreviewPixelCap).result.error, r.error)
            << c.what;
    }
}
