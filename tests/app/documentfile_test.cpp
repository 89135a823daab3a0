#include "app/documentfile.h"

#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

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
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readAll(path), QByteArray("old content"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("page.htm")});
}

TEST(DocumentFile, MessagesNameTheFileAndTheReason)
{
    const QString m = saveFailureMessage(QStringLiteral("/w/a.htm"), QStringLiteral("理由"));
    EXPECT_TRUE(m.contains(QStringLiteral("/w/a.htm")));
    EXPECT_TRUE(m.contains(QStringLiteral("理由")));
    const QString o = openFailureMessage(QStringLiteral("/w/%1.htm"), QStringLiteral("x"));
    EXPECT_TRUE(o.contains(QStringLiteral("/w/%1.htm")));
}
