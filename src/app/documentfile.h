#pragma once
// Reading and writing document files as bytes, with errors a user can act on.
// Text conversion is the charset layer's; these functions only move bytes.

#include <QByteArray>
#include <QString>

// Files larger than this are refused on opening (the editor cannot hold them).
inline constexpr qint64 kMaxDocumentFileBytes = qint64(256) * 1024 * 1024;

struct FileReadResult {
    bool ok = false;
    QByteArray bytes;
    QString error;      // why it failed, for a message box (empty on success)
};

// Reads the whole file.  Fails with a reason when the path does not exist, is
// a directory, cannot be opened (permission), cannot be read, or is larger
// than kMaxDocumentFileBytes.
FileReadResult readDocumentFile(const QString& path);

// Writes `bytes` to `path` through QSaveFile: the old file stays intact unless
// the whole new content was written.  On failure returns false and sets
// *error (when given) to the reason.
bool writeDocumentFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// The message shown when a file cannot be opened / saved: names the file and
// the reason.
QString openFailureMessage(const QString& path, const QString& reason);
QString saveFailureMessage(const QString& path, const QString& reason);
