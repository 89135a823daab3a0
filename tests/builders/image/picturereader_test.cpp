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

TEST_F(PictureReader, EnormousClaimsCostOnlyTheHeaderAndAreRefusedForPixels)
{
    struct Case { const char* kind; QByteArray bytes; };
    const Case cases[] = {
        {"jpeg", pictures::withClaimedSize(pictures::jpeg(16, 16), "jpeg", 60000, 60000)},
        {"jpeg", pictures::withClaimedSize(pictures::jpeg(16, 16, {.progressive = true}), "jpeg", 60000, 60000)},
        {"gif", pictures::withClaimedSize(pictures::gif(16, 16), "gif", 60000, 60000)},
        {"bmp", pictures::withClaimedSize(pictures::bmp(16, 16), "bmp", 6000, 6000)},
    };
    for (const Case& c : cases) {
        const QByteArray k(c.kind);
        const PictureResult r = k == "jpeg" ? jpegSize(c.bytes) : k == "gif" ? gifSize(c.bytes) : bmpSize(c.bytes);
        ASSERT_TRUE(r.ok()) << c.kind << ": " << r.error.toStdString();
        EXPECT_EQ(r.size, k == "bmp" ? QSize(6000, 6000) : QSize(60000, 60000));
        QString error;
        const QImage pixels = k == "jpeg" ? jpegPixels(c.bytes, kPreviewPixelCap, &error)
                              : k == "gif" ? gifPixels(c.bytes, kPreviewPixelCap, &error)
                                           : bmpPixels(c.bytes, kPreviewPixelCap, &error);
        EXPECT_TRUE(pixels.isNull()) << c.kind;
        EXPECT_FALSE(error.isEmpty()) << c.kind;
    }
    // Qt's bitmap reader refuses such a header outright.
    const PictureResult hugeBmp =
        bmpSize(pictures::withClaimedSize(pictures::bmp(16, 16), "bmp", 60000, 60000));
    EXPECT_FALSE(hugeBmp.ok());
    EXPECT_FALSE(hugeBmp.error.isEmpty());

    // Even with no pixel budget, libjpeg's own memory stays bounded: the
    // progressive picture would need gigabytes of coefficients.
    QString error;
    const QByteArray progressive =
        pictures::withClaimedSize(pictures::jpeg(16, 16, {.progressive = true}), "jpeg", 60000, 60000);
    EXPECT_TRUE(jpegPixels(progressive, qint64(1) << 40, &error).isNull());
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(PictureReader, PixelsOfEachKind)
{
    QString error;
    // A JPEG over the budget is decoded at a fraction of its size.
    const QImage big = jpegPixels(pictures::jpeg(400, 200), 100 * 50, &error);
    ASSERT_FALSE(big.isNull()) << error.toStdString();
    EXPECT_EQ(big.size(), QSize(100, 50));
    EXPECT_GT(qRed(big.pixel(10, 25)), 200);    // left half red
    EXPECT_GT(qBlue(big.pixel(90, 25)), 200);   // right half blue
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

    // A GIF cut inside its picture data shows what arrived.
    const QByteArray gif = pictures::gif(64, 64);
    EXPECT_EQ(gifPixels(gif.left(gif.size() - 30), kPreviewPixelCap, &error).size(), QSize(64, 64));

    const QImage b = bmpPixels(pictures::bmp(5, 4), kPreviewPixelCap, &error);
    ASSERT_FALSE(b.isNull());
    EXPECT_EQ(QColor(b.pixel(4, 3)), QColor(10, 20, 30));
}
