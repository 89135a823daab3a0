#pragma once
// Writes recovery files on a thread of its own, so that a big document never
// holds up the window.  The window only copies the editor's text (one copy of
// its characters, no encoding); turning that into the file's text, encoding
// it and writing it happen on the writing thread.

#include "app/textmirror.h"
#include "charset/encodings.h"
#include "charset/textfile.h"

#include <QObject>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

struct Document;

// A document as its recovery file will hold it, taken on the UI thread.
struct RecoverySnapshot {
    QString path;
    bool hasFile = false;
    sjis::LineBreak lineBreak = sjis::LineBreak::CrLf;
    charset::Encoding encoding = charset::Encoding::ShiftJis;
    // The editor's raw text: a paragraph separator between blocks, line
    // separators where short lines share a block.
    TextMirror::Text raw;
    // Indexes into `raw` of the separators between pieces of one long line.
    std::vector<qsizetype> joins;
    // Each line's own break, for a file with mixed breaks (else empty).
    std::vector<sjis::LineBreak> breaks;

    // Takes the document's text as it stands (UI thread).
    static RecoverySnapshot of(const Document& doc);
    // The file's text, '\n' between lines (any thread; consumes `raw`).
    QString takeText();
    // The recovery file's bytes (any thread; consumes `raw`).
    QByteArray takeBytes();
};

class RecoveryWriter : public QObject {
    Q_OBJECT
public:
    RecoveryWriter() = default;
    // Finishes what is queued, then stops.
    ~RecoveryWriter() override;

    // Queues a write of `file`; a write of the same file still waiting is
    // replaced by this newer one.
    void write(const QString& file, RecoverySnapshot snapshot);
    // Removes `file` now.  A queued write of it is dropped, and one under way
    // leaves nothing behind: a removal always wins over an earlier write.
    void remove(const QString& file);
    // Returns once nothing is queued or being written.
    void waitForIdle();

    // Runs on the writing thread before each file is written (tests hold a
    // write there).
    void setBeforeWrite(std::function<void(const QString& file)> f);

    // Writes one recovery file through QSaveFile, readable by its owner
    // only; on failure the reason goes to *error.
    static bool writeFile(const QString& file, const QByteArray& bytes, QString* error);

signals:
    // A write failed (emitted on the writing thread; heard on the receiver's).
    void failed(const QString& file, const QString& reason);

private:
    struct Job {
        QString file;
        RecoverySnapshot snapshot;
    };
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;   // a job came, or the end
    std::condition_variable m_idle;   // a job ended
    std::deque<Job> m_jobs;
    QString m_current;                // the file being written
    bool m_currentRemoved = false;    // ... was removed meanwhile
    bool m_stop = false;
    std::function<void(const QString&)> m_beforeWrite;
    std::thread m_thread;             // started with the first write
};
