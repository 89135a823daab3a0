// The image builder's picture sizes (JPEG and BMP headers only, a GIF read
// to its end) and previews from large pictures, coming back to the builder
// in super mode, and the file panel's listing of a folder of 20,000 files
// through its filter.
#include "app/filelist.h"
#include "app/filepanel.h"
#include "app/tfmmain.h"
#include "builders/image/imageunit.h"
#include "builders/image/picturereader.h"
#include "builders/image/tfmcg.h"
#include "composition.h"
#include "platform/qtprompts.h"
#include "support/options.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <gif_lib.h>
#include <jpeglib.h>
#include <memory>
#include <vector>

namespace {

constexpr int kWidth = 6000, kHeight = 4000;

QTemporaryDir& scratch()
{
    static QTemporaryDir dir;
    return dir;
}

QString writeJpeg()
{
    const QString path = scratch().filePath(QStringLiteral("large.jpg"));
    if (QFile::exists(path))
        return path;
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    FILE* f = std::fopen(QFile::encodeName(path).constData(), "wb");
    jpeg_stdio_dest(&c, f);
    c.image_width = kWidth;
    c.image_height = kHeight;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 60, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(size_t(kWidth) * 3);
    while (c.next_scanline < c.image_height) {
        for (int x = 0; x < kWidth; ++x)
            row[size_t(x) * 3] = (unsigned char)((x + int(c.next_scanline)) & 0xFF);
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::fclose(f);
    return path;
}

int gifWrite(GifFileType* gif, const GifByteType* data, int n)
{
    return int(std::fwrite(data, 1, size_t(n), static_cast<FILE*>(gif->UserData)));
}

QString writeGif()
{
    const QString path = scratch().filePath(QStringLiteral("large.gif"));
    if (QFile::exists(path))
        return path;
    FILE* f = std::fopen(QFile::encodeName(path).constData(), "wb");
    int error = 0;
    GifFileType* g = EGifOpen(f, gifWrite, &error);
    GifColorType colors[2] = {{0, 0, 0}, {255, 255, 255}};
    ColorMapObject* map = GifMakeMapObject(2, colors);
    EGifPutScreenDesc(g, kWidth, kHeight, 1, 0, map);
    EGifPutImageDesc(g, 0, 0, kWidth, kHeight, false, nullptr);
    std::vector<GifPixelType> line(static_cast<size_t>(kWidth));
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x)
            line[size_t(x)] = GifPixelType(((x / 64) + (y / 64)) & 1);
        EGifPutLine(g, line.data(), kWidth);
    }
    EGifCloseFile(g, &error);
    GifFreeMapObject(map);
    std::fclose(f);
    return path;
}

// A 24-bit BMP: the headers, then the pixel rows (left as zeros, a sparse file).
QString writeBmp()
{
    const QString path = scratch().filePath(QStringLiteral("large.bmp"));
    if (QFile::exists(path))
        return path;
    const quint32 rowBytes = (kWidth * 3 + 3) & ~3u;
    const quint32 pixels = rowBytes * kHeight;
    QByteArray h(54, '\0');
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            h[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    h[0] = 'B';
    h[1] = 'M';
    put32(2, 54 + pixels);
    put32(10, 54);
    put32(14, 40);
    put32(18, kWidth);
    put32(22, kHeight);
    h[26] = 1;
    h[28] = 24;
    put32(34, pixels);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(h);
    f.resize(54 + pixels);
    return path;
}

void BM_ImageSize(benchmark::State& state)
{
    const QString path = state.range(0) == 0 ? writeJpeg() : state.range(0) == 1 ? writeGif() : writeBmp();
    state.SetLabel(QFileInfo(path).suffix().toStdString() + " "
                   + std::to_string(QFileInfo(path).size() / 1024) + " KiB");
    for (auto _ : state) {
        const PictureResult r = readPictureSize(path);
        if (!r.ok() || r.size != QSize(kWidth, kHeight))
            state.SkipWithError(r.error.toStdString().c_str());
        benchmark::DoNotOptimize(r.size);
    }
}
BENCHMARK(BM_ImageSize)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The super-mode preview of the same pictures (over the budget, so made
// smaller), size and preview from one reading.
void BM_PicturePreview(benchmark::State& state)
{
    const QString path = state.range(0) == 0 ? writeJpeg() : state.range(0) == 1 ? writeGif() : writeBmp();
    state.SetLabel(QFileInfo(path).suffix().toStdString());
    for (auto _ : state) {
        const PictureRead r = readPicture(path, kPreviewPixelCap);
        if (!r.result.ok() || r.preview.isNull())
            state.SkipWithError((r.result.error + r.previewError).toStdString().c_str());
        benchmark::DoNotOptimize(r.preview.constBits());
    }
}
BENCHMARK(BM_PicturePreview)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Going over to the main window and back to the image builder in super mode
// with the large JPEG shown: the builder reads the picture again, but keeps
// its preview while the file stays the same.
void BM_SuperModeReturn(benchmark::State& state)
{
    const QString path = writeJpeg();
    QTemporaryDir settings;
    QtPrompts prompts;
    TFmMain::Options o = benchOptions(settings);
    auto main = std::make_unique<TFmMain>(prompts, o);
    main->show();
    ImageBuilderUnit& unit = *unitsOf(*main)->image;
    TFmCg* cg = unit.window();
    cg->MSuperClick();
    unit.openPicture(path);
    QApplication::setActiveWindow(cg);
    if (cg->previewImage().isNull())
        state.SkipWithError("no preview");
    for (auto _ : state) {
        QApplication::setActiveWindow(main.get());
        QApplication::setActiveWindow(cg);
    }
    if (cg->tagText() != QStringLiteral(" <IMG SRC=\"large.jpg\">"))
        state.SkipWithError("picture not shown");
    cg->close();
}
BENCHMARK(BM_SuperModeReturn)->Unit(benchmark::kMicrosecond);

// A folder of 20,000 files of mixed types.
QString manyFiles()
{
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        static const char* const ext[] = {".htm", ".html", ".gif", ".jpg", ".bmp", ".txt",
                                          ".mid", ".wav", ".png", ".css", "", ".JPG"};
        for (int i = 0; i < 20000; ++i) {
            QFile f(dir.filePath(QStringLiteral("file%1%2").arg(i, 5, 10, QLatin1Char('0')).arg(QLatin1String(ext[i % 12]))));
            f.open(QIODevice::WriteOnly);
        }
        made = true;
    }
    return dir.path();
}

void BM_FileListFilter(benchmark::State& state)
{
    const QString dir = manyFiles();
    const filelist::NameFilter filter(filelist::filterEntries().at(size_t(state.range(0))).patterns);
    qsizetype found = 0;
    for (auto _ : state) {
        const QStringList names = filelist::matchingFiles(dir, filter);
        found = names.size();
        benchmark::DoNotOptimize(names.constData());
    }
    state.counters["listed"] = double(found);
}
// Entry 0 "*.*", entry 8 the supported types.
BENCHMARK(BM_FileListFilter)->Arg(0)->Arg(8)->Unit(benchmark::kMillisecond);

// The same folder shown in the panel of a real main window (list items and
// icons included).
void BM_FileListPanel(benchmark::State& state)
{
    const QString dir = manyFiles();
    QTemporaryDir settings;
    QtPrompts prompts;
    TFmMain::Options o = benchOptions(settings);
    auto main = std::make_unique<TFmMain>(prompts, o);
    FilePanel& panel = *unitsOf(*main)->filePanel;
    panel.DirectoryListBoxChange(dir);
    for (auto _ : state)
        panel.refresh();
    state.counters["listed"] = double(panel.FileListBox()->count());
}
BENCHMARK(BM_FileListPanel)->Unit(benchmark::kMillisecond);

} // namespace
