#pragma once
// Reading and writing document files as bytes, with errors a user can act on.
// Text conversion is the charset layer's; these functions only move bytes.

#include <QByteArray>
#include <QString>

class QFileDevice;

// Files larger than this are refused on opening (the editor cannot hold them).
inline constexpr qint64 kMaxDocumentFileBytes = qint64(256) * 1024 * 1024;

// What a file held when we last read or wrote it: enough to tell later
// whether another program has changed it since.
struct DiskStamp {
    bool known = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;   // the file's modification time
    qint64 takenNs = 0;      // when the stamp was taken
    size_t hash = 0;         // of the contents
};

enum class DiskChange { Unchanged, Changed, Gone };

// Compares the file at `path` with what `stamp` recorded.  Times and size
// decide where they can; the contents are compared where they cannot (the
// same size with other times, or a file written too shortly before the
// stamp was taken for its time to tell).  Contents found equal renew the
// stamp.  A file that cannot be looked at counts as unchanged (the write
// will say why it fails); an unknown stamp too.
DiskChange diskChange(const QString& path, DiskStamp& stamp);

struct FileReadResult {
    bool ok = false;
    QByteArray bytes;
    QString error;      // why it failed, for a message box (empty on success)
    DiskStamp stamp;    // the file as read
};

// Reads the whole file.  Fails with a reason when the path does not exist,
// is not a regular file (a folder, a pipe, a device), cannot be opened
// (permission), cannot be read, or is larger than kMaxDocumentFileBytes.
// Never waits for a writer: a name that turns into a pipe between the look
// and the opening is opened without blocking and refused.
FileReadResult readDocumentFile(const QString& path);

// Writes `bytes` to `path` through QSaveFile: the old file stays intact unless
// the whole new content was written.  Only an existing file that may be
// written in a folder that may not is written in place (there is no other
// way to save it).  On failure returns false and sets *error (when given) to
// the reason, in words naming its cause (full disk, permission, read-only
// file...).  On success *stamp (when given) records the file as written.
bool writeDocumentFile(const QString& path, const QByteArray& bytes, QString* error = nullptr,
                       DiskStamp* stamp = nullptr);

// Writes all of `bytes` to an open device.  On failure returns false with
// the system's error number in *errnum (0 when none was given).
bool writeToDevice(QFileDevice& out, QByteArrayView bytes, int* errnum);
// The reason a write failed with the system's error number `errnum`, for a
// message; `fallback` (Qt's own words) where the number says nothing.
QString writeFailureReason(int errnum, const QString& fallback);

// The message shown when a file cannot be opened / saved: names the file and
// the reason.
QString openFailureMessage(const QString& path, const QString& reason);
QString saveFailureMessage(const QString& path, const QString& reason);
