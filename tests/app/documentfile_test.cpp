#include "app/documentfile.h"

#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <mutex>
#include <optional>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Readable failure messages for texts.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

// Runs `body` under the unprivileged account "nobody" in a child process and
// returns what it returned: permissions do not bind root, who runs the tests
// on CI.  Run by anyone else, `body` runs here (permissions bind already).
// nullopt when the account cannot be taken (no such account, no setuid).
std::optional<QByteArray> asNobody(const std::function<QByteArray()>& body)
{
    if (::geteuid() != 0)
        return body();
    const passwd* pw = ::getpwnam("nobody");
    if (!pw)
        return std::nullopt;
    const uid_t uid = pw->pw_uid;
    const gid_t gid = pw->pw_gid;
    int fds[2];
    if (::pipe(fds) != 0)
        return std::nullopt;
    const pid_t pid = ::fork();
    if (pid < 0)
        return std::nullopt;
    if (pid == 0) {
        ::close(fds[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
            ::_exit(3);
        const QByteArray out = body();
        qsizetype done = 0;
        while (done < out.size()) {
            const ssize_t n = ::write(fds[1], out.constData() + done, size_t(out.size() - done));
            if (n <= 0)
                ::_exit(4);
            done += n;
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    QByteArray out;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n > 0)
            out.append(buf, n);
        else if (n == 0 || errno != EINTR)
            break;
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return out;
}

// writeDocumentFile as a child's answer: "ok" or the reason.
QByteArray writeAnswer(const QString& path, const QByteArray& bytes)
{
    QString error;
    return writeDocumentFile(path, bytes, &error) ? QByteArray("ok") : error.toUtf8();
}

ino_t inodeOf(const QString& path)
{
    struct stat st{};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

mode_t modeOf(const QString& path)
{
    struct stat st{};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

void chmodTo(const QString& path, mode_t mode)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0) << path.toStdString();
}

QByteArray everyByte()
{
    QByteArray b;
    for (int i = 0; i < 256; ++i)
        b.append(char(i));
    b.append("\x82\xA0\x81\x00\xFF\x82", 6);   // valid pair, cut pair, NUL, stray bytes
    return b;
}

} // namespace

TEST(DocumentFile, BytesComeBackExactly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("all.htm"));
    const QByteArray bytes = everyByte();
    QString error;
    ASSERT_TRUE(writeDocumentFile(path, bytes, &error)) << error.toStdString();
    EXPECT_EQ(readAll(path), bytes);
    const FileReadResult r = readDocumentFile(path);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, bytes);
    EXPECT_TRUE(r.error.isEmpty());

    // An empty file reads as empty, not as a failure.
    ASSERT_TRUE(writeDocumentFile(path, QByteArray(), &error));
    const FileReadResult e = readDocumentFile(path);
    EXPECT_TRUE(e.ok);
    EXPECT_TRUE(e.bytes.isEmpty());
}

TEST(DocumentFile, UnreadablePathsFailWithAReason)
{
    QTemporaryDir dir;
    const FileReadResult missing = readDocumentFile(dir.filePath(QStringLiteral("gone.htm")));
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.isEmpty());

    const FileReadResult folder = readDocumentFile(dir.path());
    EXPECT_FALSE(folder.ok);
    EXPECT_FALSE(folder.error.isEmpty());

    EXPECT_FALSE(readDocumentFile(QString()).ok);

    if (::geteuid() != 0) {   // permissions do not bind root
        const QString locked = dir.filePath(QStringLiteral("locked.htm"));
        ASSERT_TRUE(writeAll(locked, "x"));
        QFile::setPermissions(locked, QFileDevice::WriteOwner);
        const FileReadResult r = readDocumentFile(locked);
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.error.isEmpty());
    }
}

TEST(DocumentFile, AFailedWriteLeavesTheOldFileAndNoLitter)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.htm"));
    ASSERT_TRUE(writeAll(path, "old content"));

    // A path that is a folder.
    QString error;
    EXPECT_FALSE(writeDocumentFile(dir.path(), "x", &error));
    EXPECT_FALSE(error.isEmpty());

    // A folder that was removed.
    const QString sub = dir.filePath(QStringLiteral("sub"));
    ASSERT_TRUE(QDir().mkdir(sub));
    ASSERT_TRUE(QDir(sub).removeRecursively());
    error.clear();
    EXPECT_FALSE(writeDocumentFile(sub + QStringLiteral("/a.htm"), "x", &error));
    EXPECT_FALSE(error.isEmpty());

    // The write is cut short (the file-size limit stands in for a full disk).
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    error.clear();
    const bool written = writeDocumentFile(path, QByteArray(1 << 20, 'n'), &error);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    // The cause, in the program's words (Qt knows none for a short write).
    EXPECT_TRUE(error.contains(QStringLiteral("ファイルサイズの上限"))) << error.toStdString();
    EXPECT_FALSE(error.contains(QStringLiteral("Unknown"))) << error.toStdString();
    EXPECT_EQ(readAll(path), QByteArray("old content"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("page.htm")});

    // A name longer than the file system takes.
    error.clear();
    EXPECT_FALSE(writeDocumentFile(dir.filePath(QString(300, u'n') + QStringLiteral(".htm")), "x", &error));
    EXPECT_EQ(error, QStringLiteral("ファイル名が長すぎます。"));
}

TEST(DocumentFile, MessagesNameTheFileAndTheReason)
{
    const QString m = saveFailureMessage(QStringLiteral("/w/a.htm"), QStringLiteral("理由"));
    EXPECT_TRUE(m.contains(QStringLiteral("/w/a.htm")));
    EXPECT_TRUE(m.contains(QStringLiteral("理由")));
    const QString o = openFailureMessage(QStringLiteral("/w/%1.htm"), QStringLiteral("x"));
    EXPECT_TRUE(o.contains(QStringLiteral("/w/%1.htm")));
}

TEST(DocumentFile, AFullDiskIsNamed)
{
    // /dev/full fails every write with "no space left", as a full disk does;
    // the writer's own loop and words are checked against it (a full file
    // system of our own needs a mount, which a plain container lacks).
    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        GTEST_SKIP() << "no /dev/full";
    int errnum = 0;
    EXPECT_FALSE(writeToDevice(full, QByteArray(100000, 'x'), &errnum));
    EXPECT_EQ(errnum, ENOSPC);
    EXPECT_EQ(writeFailureReason(errnum, full.errorString()),
              QStringLiteral("ディスクの空き容量が足りません。"));
}

// Permission cases run as "nobody" in a child process, since root passes
// every permission check.
TEST(DocumentFile, AWritableFileInALockedFolderIsWrittenInPlaceOnly)
{
    QTemporaryDir dir;
    chmodTo(dir.path(), 0755);
    const QString shared = dir.filePath(QStringLiteral("shared"));
    const QString open = dir.filePath(QStringLiteral("open"));
    ASSERT_TRUE(QDir().mkdir(shared));
    ASSERT_TRUE(QDir().mkdir(open));
    const QString page = shared + QStringLiteral("/page.htm");
    const QString other = open + QStringLiteral("/other.htm");
    ASSERT_TRUE(writeAll(page, "old page"));
    ASSERT_TRUE(writeAll(other, "old other"));
    // A link from a writable folder to a file in the locked one.
    const QString linked = shared + QStringLiteral("/linked.htm");
    const QString link = open + QStringLiteral("/link.htm");
    ASSERT_TRUE(writeAll(linked, "old linked"));
    ASSERT_TRUE(QFile::link(linked, link));
    chmodTo(linked, 0666);
    chmodTo(page, 0666);
    chmodTo(other, 0666);
    chmodTo(shared, 0555);
    chmodTo(open, 0777);
    const ino_t pageInode = inodeOf(page);
    const ino_t otherInode = inodeOf(other);

    const auto answers = asNobody([&] {
        return writeAnswer(page, "new page") + '\n' + writeAnswer(other, "new other") + '\n'
            + writeAnswer(link, "new linked");
    });
    if (!answers)
        GTEST_SKIP() << "cannot run as nobody";
    const QList<QByteArray> a = answers->split('\n');
    ASSERT_EQ(a.size(), 3);
    EXPECT_EQ(a[0], "ok");
    EXPECT_EQ(a[1], "ok");
    EXPECT_EQ(a[2], "ok");
    EXPECT_EQ(readAll(linked), QByteArray("new linked"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    // In place: the same file, its mode kept, nothing left beside it.
    EXPECT_EQ(readAll(page), QByteArray("new page"));
    EXPECT_EQ(inodeOf(page), pageInode);
    EXPECT_EQ(modeOf(page), mode_t(0666));
    EXPECT_EQ(QDir(shared).entryList(QDir::Files | QDir::Hidden),
              QStringList({QStringLiteral("linked.htm"), QStringLiteral("page.htm")}));
    // Where the folder takes a new file the save stays atomic: a new file
    // renamed over the old one.
    EXPECT_EQ(readAll(other), QByteArray("new other"));
    EXPECT_NE(inodeOf(other), otherInode);
    EXPECT_EQ(modeOf(other), mode_t(0666));
    chmodTo(shared, 0755);
}

TEST(DocumentFile, PermissionFailuresSayWhyInJapanese)
{
    QTemporaryDir dir;
    chmodTo(dir.path(), 0755);
    const QString locked = dir.filePath(QStringLiteral("locked"));
    const QString open = dir.filePath(QStringLiteral("open"));
    ASSERT_TRUE(QDir().mkdir(locked));
    ASSERT_TRUE(QDir().mkdir(open));
    const QString readOnly = open + QStringLiteral("/readonly.htm");
    const QString notOurs = open + QStringLiteral("/notours.htm");
    ASSERT_TRUE(writeAll(readOnly, "kept"));
    ASSERT_TRUE(writeAll(notOurs, "kept"));
    chmodTo(readOnly, 0444);
    chmodTo(notOurs, 0644);   // root's, and only root may write it
    chmodTo(open, 0777);
    chmodTo(locked, 0555);
    const QString fresh = locked + QStringLiteral("/new.htm");
    const QString secret = open + QStringLiteral("/secret.htm");
    ASSERT_TRUE(writeAll(secret, "kept"));
    chmodTo(secret, 0600);

    const auto answers = asNobody([&] {
        return writeAnswer(readOnly, "x") + '\n' + writeAnswer(notOurs, "x") + '\n'
            + writeAnswer(fresh, "x") + '\n' + readDocumentFile(secret).error.toUtf8();
    });
    if (!answers)
        GTEST_SKIP() << "cannot run as nobody";
    const QList<QByteArray> a = answers->split('\n');
    ASSERT_EQ(a.size(), 4);
    EXPECT_EQ(QString::fromUtf8(a[3]), QStringLiteral("読み込みの権限がありません。"));
    EXPECT_EQ(QString::fromUtf8(a[0]), QStringLiteral("読み取り専用のファイルです。"));
    EXPECT_EQ(QString::fromUtf8(a[1]), QStringLiteral("このファイルに書き込む権限がありません。"));
    EXPECT_EQ(QString::fromUtf8(a[2]),
              QStringLiteral("フォルダー %1 にファイルを作る権限がありません。").arg(locked));
    EXPECT_EQ(readAll(readOnly), QByteArray("kept"));
    EXPECT_EQ(readAll(notOurs), QByteArray("kept"));
    EXPECT_FALSE(QFile::exists(fresh));
    chmodTo(locked, 0755);
}

TEST(DocumentFile, PipesAndDevicesAreRefusedWithoutWaiting)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.htm"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    // Should the reader wait for a writer after all, a writer comes after
    // ten seconds and goes: the test then fails instead of hanging.
    std::mutex m;
    std::condition_variable cv;
    bool finished = false;
    std::thread rescue([&] {
        std::unique_lock<std::mutex> lock(m);
        if (cv.wait_for(lock, std::chrono::seconds(10), [&] { return finished; }))
            return;
        lock.unlock();
        for (int i = 0; i < 100; ++i) {
            const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                ::close(fd);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    });
    const FileReadResult pipe = readDocumentFile(fifo);
    {
        const std::lock_guard<std::mutex> lock(m);
        finished = true;
    }
    cv.notify_all();
    rescue.join();
    EXPECT_FALSE(pipe.ok);
    EXPECT_TRUE(pipe.error.contains(QStringLiteral("名前付きパイプ"))) << pipe.error.toStdString();

    for (const char* device : {"/dev/zero", "/dev/null"}) {
        if (!QFileInfo::exists(QLatin1String(device)))
            continue;
        const FileReadResult r = readDocumentFile(QLatin1String(device));
        EXPECT_FALSE(r.ok) << device;
        EXPECT_TRUE(r.error.contains(QStringLiteral("デバイス"))) << r.error.toStdString();
    }
    const FileReadResult folder = readDocumentFile(dir.path());
    EXPECT_EQ(folder.error, QStringLiteral("フォルダーはファイルとして開けません。"));
}

TEST(DocumentFile, StampsTellAnotherProgramsChanges)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.htm"));
    ASSERT_TRUE(writeAll(path, "v1"));
    DiskStamp stamp = readDocumentFile(path).stamp;
    ASSERT_TRUE(stamp.known);
    EXPECT_EQ(diskChange(path, stamp), DiskChange::Unchanged);

    // Rewritten in place with as many bytes, within the same tick of the
    // file system's clock as likely as not: the contents tell.
    ASSERT_TRUE(writeAll(path, "v2"));
    EXPECT_EQ(diskChange(path, stamp), DiskChange::Changed);
    ASSERT_TRUE(writeAll(path, "v1"));
    EXPECT_EQ(diskChange(path, stamp), DiskChange::Unchanged);   // the same text again
    ASSERT_TRUE(writeAll(path, "v1 and more"));
    EXPECT_EQ(diskChange(path, stamp), DiskChange::Changed);

    // A file last written long ago: its time tells, the contents are not read.
    ASSERT_TRUE(writeAll(path, "v1"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5), QTimeZone::utc()),
                                  QFileDevice::FileModificationTime));
    }
    stamp = readDocumentFile(path).stamp;
    EXPECT_EQ(diskChange(path, stamp), DiskChange::Unchanged);
    ASSERT_TRUE(writeAll(path, "v2"));
    EXPECT_EQ(diskChange(path, stamp), DiskChange::Changed);

    // Our own write is the new reference; a removed file is gone.
    QString error;
    ASSERT_TRUE(writeDocumentFile(path, "ours", &error, &stamp)) << error.toStdString();
    EXPECT_EQ(diskChange(path, stamp), DiskChange::Unchanged);
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(diskChange(path, stamp), DiskChange::Gone);
    DiskStamp none;
    EXPECT_EQ(diskChange(path, none), DiskChange::Unchanged);
}
