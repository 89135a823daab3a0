#pragma once
// Crash recovery.  Every changed document is written to a recovery file at
// most a few seconds after its first change not yet written, however
// steadily the user goes on typing, and the file goes when the document is
// saved or closed.  The files are the user's alone (folder 0700, files
// 0600); when they cannot be written the user is told once.  A run that ends without closing its documents (a crash,
// a kill) leaves its files behind; the next run offers them back.
//
// Files live in one folder: "<run>-<number>.qn4r" for each document of a
// run, and "<run>.lock", held while that run lives; a run is named by its
// process id and the moment it started, so a process id used again later
// never mixes two runs.

#include "app/recoverywriter.h"
#include "charset/encodings.h"
#include "charset/textfile.h"

#include <QDateTime>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>
#include <set>
#include <vector>

class QDialog;
class TFmMain;
struct Document;

struct RecoveredDocument {
    QString file;             // the recovery file
    QString path;             // the document's path ("Page" + n when it had no file)
    bool hasFile = false;
    sjis::LineBreak lineBreak = sjis::LineBreak::CrLf;
    std::vector<sjis::LineBreak> breaks;   // each line's, for a file with mixed breaks
    charset::Encoding encoding = charset::Encoding::ShiftJis;
    QString text;
    QDateTime written;        // when the recovery file was last written
    bool damaged = false;     // the file cannot be read or is not a recovery file
};

// The files themselves: their format, their folder, and which of them a
// run that is gone left behind.
class RecoveryStore {
public:
    // An empty folder: nothing is ever written or found.  The folder is
    // made (or kept) private to its owner; when it cannot be, or cannot be
    // written, nothing is written or found either and unusableDir() names it.
    explicit RecoveryStore(QString dir);
    ~RecoveryStore();

    bool active() const { return !m_dir.isEmpty(); }
    QString unusableDir() const { return m_unusable; }
    QString fileFor(int number) const;
    // Writes the document's file now, on this thread.
    bool write(const Document& doc, QString* error = nullptr);
    // Takes the document's text now and writes it on the writing thread.
    void writeLater(const Document& doc);
    void remove(int number);
    RecoveryWriter& writer() { return m_writer; }
    // The recovery files of runs that are no longer alive, oldest first.
    // Files that cannot be read or parsed are listed as damaged.
    std::vector<RecoveredDocument> leftBehind() const;
    // Forgets a file once its document is back or the user discarded it.
    static void discard(const RecoveredDocument& doc);

    static QByteArray format(const QString& path, bool hasFile, sjis::LineBreak lineBreak,
                             const QString& text, const std::vector<sjis::LineBreak>& breaks = {},
                             charset::Encoding encoding = charset::Encoding::ShiftJis);
    static std::optional<RecoveredDocument> parse(const QByteArray& bytes);

private:
    QString m_dir;
    QString m_unusable;
    QString m_run;
    std::unique_ptr<QLockFile> m_lock;
    RecoveryWriter m_writer;
};

// Keeps the files of one main window's documents and offers left-behind
// files back at the start.
class RecoveryUnit : public QObject {
    Q_OBJECT
public:
    // How long after its first change not yet written a document is
    // written, whatever follows.
    static constexpr int kDelayMs = 2000;

    RecoveryUnit(TFmMain& main, const QString& dir, bool offerAtStart);

    // Hands every document changed since the last write to the writing
    // thread now (what the timer does); flush() also waits until the files
    // are written.
    void writeChanged();
    void flush();
    // Shows the documents a gone run left behind and restores the ticked
    // ones; discards the others (or keeps them all when the dialog was
    // closed without a choice).  Returns how many were restored.
    int offer();
    const RecoveryStore& store() const { return m_store; }
    RecoveryStore& store() { return m_store; }

private:
    void changed(Document* doc);
    void stateChanged(Document* doc);
    // Says, once a run, that unsaved work is not protected.
    void warnUnprotected(const QString& why);

    TFmMain& m_main;
    RecoveryStore m_store;
    QTimer m_timer;
    std::set<int> m_dirty;
    bool m_warned = false;
};
