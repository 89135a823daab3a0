#include "app/documentfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

// A file written this shortly before its stamp was taken may be written
// again within the same tick of the file system's clock (or of a coarser
// one, as on FAT): its time alone cannot tell.
constexpr qint64 kClockSlackNs = qint64(3) * 1000 * 1000 * 1000;
constexpr size_t kHashSeed = 0x51ab7c3du;

qint64 nowNs()
{
    timespec t{};
    ::clock_gettime(CLOCK_REALTIME, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

qint64 modifiedNs(const struct stat& st)
{
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

DiskStamp stampOf(const struct stat& st, QByteArrayView contents)
{
    DiskStamp s;
    s.known = true;
    s.device = quint64(st.st_dev);
    s.inode = quint64(st.st_ino);
    s.size = qint64(st.st_size);
    s.modifiedNs = modifiedNs(st);
    s.takenNs = nowNs();
    s.hash = qHashBits(contents.data(), size_t(contents.size()), kHashSeed);
    return s;
}

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

QString notRegularReason(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("フォルダーはファイルとして開けません。");
    if (S_ISFIFO(mode))
        return QStringLiteral("名前付きパイプ（FIFO）です。通常のファイルしか開けません。");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("デバイスです。通常のファイルしか開けません。");
    if (S_ISSOCK(mode))
        return QStringLiteral("ソケットです。通常のファイルしか開けません。");
    return QStringLiteral("通常のファイルではないため開けません。");
}

QString systemText(int errnum)
{
    return QString::fromLocal8Bit(std::strerror(errnum));
}

QString openErrorReason(int errnum)
{
    switch (errnum) {
    case ENOENT: return QStringLiteral("ファイルが存在しません。");
    case EACCES:
    case EPERM: return QStringLiteral("読み込みの権限がありません。");
    case ENAMETOOLONG: return QStringLiteral("ファイル名が長すぎます。");
    case ENOTDIR: return QStringLiteral("パスの途中にフォルダーでないものがあります。");
    case ELOOP: return QStringLiteral("シンボリックリンクが循環しています。");
    case EMFILE:
    case ENFILE: return QStringLiteral("開いているファイルが多すぎます。");
    case EIO: return QStringLiteral("ディスクの読み込みでエラーが起きました（入出力エラー）。");
    default: return QStringLiteral("ファイルを開けません（%1）。").arg(systemText(errnum));
    }
}

QString readErrorReason(int errnum)
{
    if (errnum == EIO)
        return QStringLiteral("ディスクの読み込みでエラーが起きました（入出力エラー）。");
    return QStringLiteral("ファイルを読み込めません（%1）。").arg(systemText(errnum));
}

QString tooBigReason(qint64 size)
{
    return QStringLiteral("ファイルが大きすぎます（%1 バイト、上限 %2 バイト）。")
        .arg(size)
        .arg(kMaxDocumentFileBytes);
}

// Closes the descriptor when it goes out of scope.
struct Fd {
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

bool writable(const QByteArray& path, int* errnum)
{
    if (::access(path.constData(), W_OK) == 0)
        return true;
    *errnum = errno;
    return false;
}

// Why QSaveFile could not open `path` for writing, from the state of the
// file and its folder: Qt reports its own error kinds and words here.
QString openForWritingReason(const QString& path, int errnum, const QString& qtText)
{
    const QByteArray file = native(path);
    const QByteArray folder = native(QFileInfo(path).absolutePath());
    struct stat st{};
    int why = 0;
    if (::stat(file.constData(), &st) == 0 && !writable(file, &why)) {
        if (why == EROFS)
            return QStringLiteral("読み取り専用のファイルシステムにあります。");
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            return QStringLiteral("読み取り専用のファイルです。");
        return QStringLiteral("このファイルに書き込む権限がありません。");
    }
    if (!writable(folder, &why)) {
        if (why == EROFS)
            return QStringLiteral("読み取り専用のファイルシステムにあります。");
        if (why == EACCES || why == EPERM)
            return QStringLiteral("フォルダー %1 にファイルを作る権限がありません。")
                .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
    }
    if (errnum != 0)
        return writeFailureReason(errnum, qtText);
    return QStringLiteral("ファイルを作れません（%1）。").arg(qtText);
}

} // namespace

FileReadResult readDocumentFile(const QString& path)
{
    FileReadResult r;
    if (path.isEmpty()) {
        r.error = QStringLiteral("ファイルが存在しません。");
        return r;
    }
    const QByteArray name = native(path);
    struct stat st{};
    // Only regular files: opening a pipe waits for a writer for good, and
    // opening a device may do something of its own.
    if (::stat(name.constData(), &st) != 0) {
        r.error = openErrorReason(errno);
        return r;
    }
    if (!S_ISREG(st.st_mode)) {
        r.error = notRegularReason(st.st_mode);
        return r;
    }
    // Without blocking, should the name have become a pipe since the look
    // above; the descriptor's own type is what counts.
    Fd f;
    do {
        f.fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (f.fd < 0 && errno == EINTR);
    if (f.fd < 0) {
        r.error = openErrorReason(errno);
        return r;
    }
    if (::fstat(f.fd, &st) != 0) {
        r.error = readErrorReason(errno);
        return r;
    }
    if (!S_ISREG(st.st_mode)) {
        r.error = notRegularReason(st.st_mode);
        return r;
    }
    if (st.st_size > kMaxDocumentFileBytes) {
        r.error = tooBigReason(st.st_size);
        return r;
    }
    QByteArray bytes;
    // No huge-page advice here: where the kernel honours it by compacting
    // memory at fault time, a fresh 32 MB buffer took 150 ms to fill.
    bytes.resize(qsizetype(st.st_size));
    qsizetype done = 0;
    for (;;) {
        if (done == bytes.size()) {
            // The file may have grown since fstat: read on to its end.
            if (bytes.size() >= kMaxDocumentFileBytes + 1)
                break;
            bytes.resize(qMin<qsizetype>(bytes.size() + (qsizetype(1) << 16),
                                         kMaxDocumentFileBytes + 1));
        }
        const ssize_t got = ::read(f.fd, bytes.data() + done, size_t(bytes.size() - done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            r.error = readErrorReason(errno);
            return r;
        }
        if (got == 0)
            break;
        done += qsizetype(got);
    }
    if (done > kMaxDocumentFileBytes) {
        r.error = tooBigReason(done);
        return r;
    }
    bytes.truncate(done);
    r.ok = true;
    r.stamp = stampOf(st, bytes);
    r.bytes = std::move(bytes);
    return r;
}

DiskChange diskChange(const QString& path, DiskStamp& stamp)
{
    if (!stamp.known)
        return DiskChange::Unchanged;
    struct stat st{};
    if (::stat(native(path).constData(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? DiskChange::Gone : DiskChange::Unchanged;
    if (!S_ISREG(st.st_mode) || qint64(st.st_size) != stamp.size)
        return DiskChange::Changed;
    const bool sameStat = quint64(st.st_dev) == stamp.device && quint64(st.st_ino) == stamp.inode
        && modifiedNs(st) == stamp.modifiedNs;
    const bool timeTells = stamp.takenNs - stamp.modifiedNs > kClockSlackNs;
    if (sameStat && timeTells)
        return DiskChange::Unchanged;
    const FileReadResult now = readDocumentFile(path);
    if (!now.ok || now.stamp.hash != stamp.hash)
        return DiskChange::Changed;
    stamp = now.stamp;   // the same contents: the file as it is now
    return DiskChange::Unchanged;
}

bool writeToDevice(QFileDevice& out, QByteArrayView bytes, int* errnum)
{
    *errnum = 0;
    qsizetype done = 0;
    while (done < bytes.size()) {
        // A short write leaves no error of its own: the next call meets the
        // cause (a full disk) and reports it.
        errno = 0;
        const qint64 got = out.write(bytes.data() + done, bytes.size() - done);
        if (got <= 0) {
            *errnum = errno;
            return false;
        }
        done += qsizetype(got);
    }
    errno = 0;
    if (!out.flush()) {
        *errnum = errno;
        return false;
    }
    return true;
}

QString writeFailureReason(int errnum, const QString& fallback)
{
    switch (errnum) {
    case ENOSPC: return QStringLiteral("ディスクの空き容量が足りません。");
    case EDQUOT: return QStringLiteral("ディスクの使用量の上限（クォータ）を超えました。");
    case EFBIG: return QStringLiteral("ファイルが大きすぎて書き込めません（ファイルサイズの上限を超えました）。");
    case EROFS: return QStringLiteral("読み取り専用のファイルシステムにあります。");
    case EACCES:
    case EPERM: return QStringLiteral("書き込みの権限がありません。");
    case ENAMETOOLONG: return QStringLiteral("ファイル名が長すぎます。");
    case ENOENT: return QStringLiteral("保存先のフォルダーがありません。");
    case ENOTDIR: return QStringLiteral("パスの途中にフォルダーでないものがあります。");
    case EISDIR: return QStringLiteral("同じ名前のフォルダーがあります。");
    case ETXTBSY: return QStringLiteral("ファイルが使用中です。");
    case EMFILE:
    case ENFILE: return QStringLiteral("開いているファイルが多すぎます。");
    case EIO: return QStringLiteral("ディスクへの書き込みでエラーが起きました（入出力エラー）。");
    case 0: return QStringLiteral("書き込みに失敗しました（%1）。").arg(fallback);
    default: return QStringLiteral("書き込みに失敗しました（%1）。").arg(systemText(errnum));
    }
}

bool writeDocumentFile(const QString& path, const QByteArray& bytes, QString* error,
                       DiskStamp* stamp)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const QFileInfo info(path);
    if (path.isEmpty())
        return fail(QStringLiteral("ファイル名がありません。"));
    if (info.isDir())
        return fail(QStringLiteral("同じ名前のフォルダーがあります。"));
    if (!info.absoluteDir().exists())
        return fail(QStringLiteral("保存先のフォルダーがありません。"));

    QSaveFile f(path);
    // A new file is made beside the old one and renamed over it, so that a
    // failure leaves the old file whole.  Where the folder takes no new
    // file but the file itself may be written (a shared web folder), the
    // file is written in place: there is no other way to save it.  A link
    // is followed, as QSaveFile does: the folder is the one of its target.
    const QString target = info.isSymLink() && !info.canonicalFilePath().isEmpty()
        ? info.canonicalFilePath()
        : path;
    const QByteArray file = native(target);
    struct stat st{};
    int folderWhy = 0;
    const bool inPlace = ::stat(file.constData(), &st) == 0 && S_ISREG(st.st_mode)
        && ::access(file.constData(), W_OK) == 0
        && !writable(native(QFileInfo(target).absolutePath()), &folderWhy)
        && (folderWhy == EACCES || folderWhy == EPERM);
    if (inPlace) {
        // Written in place, the old contents are gone from the first byte
        // on: refuse at once what the disk cannot take.
        struct statvfs fs{};
        if (::statvfs(file.constData(), &fs) == 0) {
            const long double room = (long double)fs.f_bavail * fs.f_frsize
                + (long double)st.st_blocks * 512;
            if (room < (long double)bytes.size())
                return fail(writeFailureReason(ENOSPC, QString()));
        }
        f.setDirectWriteFallback(true);
    }
    errno = 0;
    if (!f.open(QIODevice::WriteOnly))
        return fail(openForWritingReason(target, errno, f.errorString()));
    int errnum = 0;
    if (!writeToDevice(f, bytes, &errnum)) {
        const QString why = writeFailureReason(errnum, f.errorString());
        f.cancelWriting();
        return fail(why);
    }
    // Taken before the rename, which changes none of it.
    struct stat written{};
    const bool stamped = ::fstat(f.handle(), &written) == 0;
    errno = 0;
    if (!f.commit())
        return fail(writeFailureReason(errno, f.errorString()));
    if (stamp) {
        *stamp = stamped ? stampOf(written, bytes) : DiskStamp{};
    }
    return true;
}

QString openFailureMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("%1 を開けませんでした。\n%2").arg(QDir::toNativeSeparators(path), reason);
}

QString saveFailureMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("%1 を保存できませんでした。\n%2")
        .arg(QDir::toNativeSeparators(path), reason);
}
