#include "app/documentfile.h"

#include "charset/sjis.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

FileReadResult readDocumentFile(const QString& path)
{
    FileReadResult r;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        r.error = QStringLiteral("ファイルが存在しません。");
        return r;
    }
    if (info.isDir()) {
        r.error = QStringLiteral("フォルダーはファイルとして開けません。");
        return r;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        r.error = f.error() == QFileDevice::PermissionsError
            ? QStringLiteral("読み込みの権限がありません。")
            : QStringLiteral("ファイルを開けません（%1）。").arg(f.errorString());
        return r;
    }
    if (!f.isSequential() && f.size() > kMaxDocumentFileBytes) {
        r.error = QStringLiteral("ファイルが大きすぎます（%1 バイト、上限 %2 バイト）。")
                      .arg(f.size())
                      .arg(kMaxDocumentFileBytes);
        return r;
    }
    QByteArray bytes;
    if (!f.isSequential()) {
        bytes.resize(qsizetype(f.size()));
        // No huge-page advice here: where the kernel honours it by compacting
        // memory at fault time, a fresh 32 MB buffer took 150 ms to fill.
        qsizetype done = 0;
        while (done < bytes.size()) {
            const qint64 got = f.read(bytes.data() + done, bytes.size() - done);
            if (got < 0) {
                r.error = QStringLiteral("ファイルを読み込めません（%1）。").arg(f.errorString());
                return r;
            }
            if (got == 0)
                break;   // the file shrank while we read it
            done += qsizetype(got);
        }
        bytes.truncate(done);
    } else {
        // Pipes and devices report no size: read in pieces up to the limit.
        constexpr qint64 kChunk = 1 << 20;
        for (;;) {
            const qsizetype old = bytes.size();
            if (old > kMaxDocumentFileBytes) {
                r.error = QStringLiteral("ファイルが大きすぎます（上限 %1 バイト）。")
                              .arg(kMaxDocumentFileBytes);
                return r;
            }
            bytes.resize(old + kChunk);
            const qint64 got = f.read(bytes.data() + old, kChunk);
            if (got < 0) {
                r.error = QStringLiteral("ファイルを読み込めません（%1）。").arg(f.errorString());
                return r;
            }
            bytes.resize(old + qsizetype(got));
            if (got == 0)
                break;
        }
    }
    r.ok = true;
    r.bytes = std::move(bytes);
    return r;
}

bool writeDocumentFile(const QString& path, const QByteArray& bytes, QString* error)
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
    if (!f.open(QIODevice::WriteOnly)) {
        return fail(f.error() == QFileDevice::PermissionsError
                        ? QStringLiteral("書き込みの権限がありません。")
                        : QStringLiteral("ファイルを作れません（%1）。").arg(f.errorString()));
    }
    if (f.write(bytes) != bytes.size()) {
        const QString why = f.errorString();
        f.cancelWriting();
        return fail(QStringLiteral("書き込みに失敗しました（%1）。").arg(why));
    }
    if (!f.commit())
        return fail(QStringLiteral("書き込みに失敗しました（%1）。").arg(f.errorString()));
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
