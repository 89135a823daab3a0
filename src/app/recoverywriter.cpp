#include "app/recoverywriter.h"

#include "app/document.h"
#include "app/editordocument.h"
#include "app/linemap.h"
#include "app/recovery.h"

#include <QFile>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

// ------------------------------------------------------------------ snapshot

RecoverySnapshot RecoverySnapshot::of(const Document& doc)
{
    RecoverySnapshot s;
    s.path = doc.path;
    s.hasFile = doc.hasFile;
    s.lineBreak = doc.lineBreak;
    s.encoding = doc.encoding;
    QTextDocument* text = doc.edit->document();
    TextMirror& mirror = TextMirror::of(text);
    s.raw = mirror.text();
    if (LineMap::of(text).hasPieces()) {
        for (QTextBlock b = text->firstBlock().next(); b.isValid(); b = b.next())
            if (lines::continues(b))
                s.joins.push_back(qsizetype(b.position()) - 1);
    }
    if (doc.mixedBreaks) {
        // Asking the blocks again is needed only once lines came or went.
        EditorDocument::TakenBreaks none;
        auto* own = qobject_cast<EditorDocument*>(text);
        EditorDocument::TakenBreaks& taken = own ? own->takenBreaks() : none;
        if (taken.structure != mirror.structure() || taken.lineBreak != doc.lineBreak) {
            taken.breaks = editorLineBreaks(*doc.edit, doc.lineBreak);
            taken.structure = mirror.structure();
            taken.lineBreak = doc.lineBreak;
        }
        s.breaks = taken.breaks;
    }
    return s;
}

QString RecoverySnapshot::takeText()
{
    // The separator between pieces of a line goes, every other separator
    // ends a line.
    qsizetype size = 0;
    for (const TextMirror::Piece& p : raw)
        size += p.size;
    QString text(size, Qt::Uninitialized);
    QChar* to = text.data();
    qsizetype at = 0;   // index into the raw text
    size_t join = 0;
    for (const TextMirror::Piece& p : raw) {
        for (QChar c : p.view()) {
            if (join < joins.size() && joins[join] == at++) {
                ++join;
                continue;
            }
            const char16_t u = c.unicode();
            *to++ = (u == QChar::ParagraphSeparator || u == QChar::LineSeparator) ? QChar(u'\n') : c;
        }
    }
    raw.clear();
    text.truncate(to - text.constData());
    return text;
}

QByteArray RecoverySnapshot::takeBytes()
{
    const QString text = takeText();
    return RecoveryStore::format(path, hasFile, lineBreak, text, breaks, encoding);
}

// ------------------------------------------------------------------ writer

namespace {

// `wanted` is asked just before the file replaces the old one.
bool saveFile(const QString& file, const QByteArray& bytes, QString* error,
              const std::function<bool()>& wanted)
{
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly)) {
        *error = f.errorString();
        return false;
    }
    // An unsaved document is nobody else's to read.
    if (!f.setPermissions(QFile::ReadOwner | QFile::WriteOwner)) {
        *error = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (f.write(bytes) != bytes.size()) {
        *error = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (wanted && !wanted()) {
        f.cancelWriting();
        return true;
    }
    if (!f.commit()) {
        *error = f.errorString();
        return false;
    }
    return true;
}

} // namespace

bool RecoveryWriter::writeFile(const QString& file, const QByteArray& bytes, QString* error)
{
    return saveFile(file, bytes, error, {});
}

RecoveryWriter::~RecoveryWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void RecoveryWriter::write(const QString& file, RecoverySnapshot snapshot)
{
    {
        const std::lock_guard lock(m_mutex);
        auto waiting = std::find_if(m_jobs.begin(), m_jobs.end(),
                                    [&](const Job& j) { return j.file == file; });
        if (waiting != m_jobs.end())
            waiting->snapshot = std::move(snapshot);
        else
            m_jobs.push_back(Job{file, std::move(snapshot)});
        if (!m_thread.joinable())
            m_thread = std::thread([this] { run(); });
    }
    m_wake.notify_one();
}

void RecoveryWriter::remove(const QString& file)
{
    const std::lock_guard lock(m_mutex);
    std::erase_if(m_jobs, [&](const Job& j) { return j.file == file; });
    if (m_current == file)
        m_currentRemoved = true;   // the writing thread removes what it commits
    QFile::remove(file);
}

void RecoveryWriter::waitForIdle()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_jobs.empty() && m_current.isEmpty(); });
}

void RecoveryWriter::setBeforeWrite(std::function<void(const QString&)> f)
{
    const std::lock_guard lock(m_mutex);
    m_beforeWrite = std::move(f);
}

void RecoveryWriter::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
        if (m_jobs.empty())
            return;   // stopped, and everything queued is written
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_current = job.file;
        m_currentRemoved = false;
        const std::function<void(const QString&)> before = m_beforeWrite;
        lock.unlock();

        if (before)
            before(job.file);
        QString error;
        const bool ok = saveFile(job.file, job.snapshot.takeBytes(), &error, [this] {
            const std::lock_guard l(m_mutex);
            return !m_currentRemoved;
        });

        lock.lock();
        if (m_currentRemoved) {
            QFile::remove(job.file);   // committed just as it was removed
        } else if (!ok) {
            // Told before the write counts as done, so that whoever waited
            // for it finds the news already posted.
            lock.unlock();
            emit failed(job.file, error);
            lock.lock();
        }
        m_current.clear();
        m_idle.notify_all();
    }
}
