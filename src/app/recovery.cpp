#include "app/recovery.h"

#include "app/document.h"
#include "app/tfmmain.h"
#include "app/tfmrecover.h"
#include "platform/prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>
#include <map>

namespace {

constexpr char kMagic[] = "QN4RECOVERY 1\n";

const char* breakName(sjis::LineBreak b)
{
    switch (b) {
    case sjis::LineBreak::Lf: return "lf";
    case sjis::LineBreak::Cr: return "cr";
    case sjis::LineBreak::CrLf: break;
    }
    return "crlf";
}

} // namespace

// ------------------------------------------------------------------ store

RecoveryStore::RecoveryStore(QString dir) : m_dir(std::move(dir))
{
    if (m_dir.isEmpty())
        return;
    if (!QDir().mkpath(m_dir)) {
        m_dir.clear();   // nowhere to keep them: recovery is off for this run
        return;
    }
    m_run = QStringLiteral("%1_%2")
                .arg(QCoreApplication::applicationPid())
                .arg(QDateTime::currentMSecsSinceEpoch());
    m_lock = std::make_unique<QLockFile>(QDir(m_dir).filePath(m_run + QStringLiteral(".lock")));
    m_lock->tryLock(0);
}

RecoveryStore::~RecoveryStore() = default;

QString RecoveryStore::fileFor(int number) const
{
    return QDir(m_dir).filePath(QStringLiteral("%1-%2.qn4r").arg(m_run).arg(number));
}

QByteArray RecoveryStore::format(const QString& path, bool hasFile, sjis::LineBreak lineBreak,
                                 const QString& text, const std::vector<sjis::LineBreak>& breaks)
{
    QByteArray out(kMagic);
    out += "path=" + QUrl::toPercentEncoding(path) + '\n';
    out += QByteArray("file=") + (hasFile ? "1" : "0") + '\n';
    out += QByteArray("break=") + breakName(lineBreak) + '\n';
    if (!breaks.empty()) {
        // One letter a line: c(r lf), l(f), r (cr).
        out += "breaks=";
        for (sjis::LineBreak b : breaks)
            out += b == sjis::LineBreak::Lf ? 'l' : b == sjis::LineBreak::Cr ? 'r' : 'c';
        out += '\n';
    }
    out += '\n';
    out += text.toUtf8();
    return out;
}

std::optional<RecoveredDocument> RecoveryStore::parse(const QByteArray& bytes)
{
    if (!bytes.startsWith(kMagic))
        return std::nullopt;
    const qsizetype end = bytes.indexOf("\n\n", qsizetype(sizeof(kMagic) - 2));
    if (end < 0)
        return std::nullopt;
    RecoveredDocument d;
    bool havePath = false;
    const QList<QByteArray> lines =
        bytes.mid(qsizetype(sizeof(kMagic) - 1), end - qsizetype(sizeof(kMagic) - 1)).split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("path=")) {
            d.path = QUrl::fromPercentEncoding(line.mid(5));
            havePath = true;
        } else if (line == "file=1") {
            d.hasFile = true;
        } else if (line == "break=lf") {
            d.lineBreak = sjis::LineBreak::Lf;
        } else if (line == "break=cr") {
            d.lineBreak = sjis::LineBreak::Cr;
        } else if (line.startsWith("breaks=")) {
            d.breaks.reserve(size_t(line.size() - 7));
            for (char c : line.mid(7))
                d.breaks.push_back(c == 'l' ? sjis::LineBreak::Lf
                                   : c == 'r' ? sjis::LineBreak::Cr : sjis::LineBreak::CrLf);
        }
    }
    if (!havePath || (d.hasFile && d.path.isEmpty()))
        return std::nullopt;
    d.text = QString::fromUtf8(bytes.mid(end + 2));
    return d;
}

bool RecoveryStore::write(const Document& doc)
{
    if (!active() || !doc.edit)
        return false;
    QSaveFile f(fileFor(doc.number));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes =
        format(doc.path, doc.hasFile, doc.lineBreak, editorText(*doc.edit),
               doc.mixedBreaks ? editorLineBreaks(*doc.edit, doc.lineBreak)
                               : std::vector<sjis::LineBreak>{});
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

void RecoveryStore::remove(int number)
{
    if (active())
        QFile::remove(fileFor(number));
}

std::vector<RecoveredDocument> RecoveryStore::leftBehind() const
{
    std::vector<RecoveredDocument> found;
    if (!active())
        return found;
    const QDir dir(m_dir);
    std::map<QString, bool> gone;   // run -> it is over
    // Oldest first; files of one moment in the order of their names.
    QFileInfoList infos = dir.entryInfoList({QStringLiteral("*.qn4r")}, QDir::Files, QDir::Name);
    std::stable_sort(infos.begin(), infos.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return a.lastModified() < b.lastModified();
    });
    for (const QFileInfo& info : infos) {
        const QString run = info.fileName().section(u'-', 0, 0);
        if (run == m_run || run.isEmpty())
            continue;
        auto it = gone.find(run);
        if (it == gone.end()) {
            // A live run holds its lock; a run that died left a stale one
            // (or none), which can be taken.
            QLockFile lock(dir.filePath(run + QStringLiteral(".lock")));
            const bool taken = lock.tryLock(0);
            if (taken)
                lock.unlock();   // and the lock file goes with it
            it = gone.emplace(run, taken).first;
        }
        if (!it->second)
            continue;
        QFile f(info.filePath());
        if (info.size() > qint64(1) << 30 || !f.open(QIODevice::ReadOnly))
            continue;
        std::optional<RecoveredDocument> d = parse(f.readAll());
        if (!d)
            continue;
        d->file = info.filePath();
        d->written = info.lastModified();
        found.push_back(std::move(*d));
    }
    return found;
}

void RecoveryStore::discard(const RecoveredDocument& doc)
{
    QFile::remove(doc.file);
}

// ------------------------------------------------------------------ unit

RecoveryUnit::RecoveryUnit(TFmMain& main, const QString& dir, bool offerAtStart)
    : m_main(main), m_store(dir)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryUnit::flush);
    Documents& docs = main.documents();
    connect(&docs, &Documents::contentChanged, this, &RecoveryUnit::changed);
    connect(&docs, &Documents::stateChanged, this, &RecoveryUnit::stateChanged);
    connect(&docs, &Documents::removed, this, [this](int n) {
        m_dirty.erase(n);
        m_store.remove(n);
    });
    if (offerAtStart && m_store.active())
        QTimer::singleShot(0, this, &RecoveryUnit::offer);
}

void RecoveryUnit::changed(Document* doc)
{
    if (!m_store.active() || !doc)
        return;
    m_dirty.insert(doc->number);
    m_timer.start();   // again: a few seconds after the last change
}

void RecoveryUnit::stateChanged(Document* doc)
{
    if (!doc || doc->modified())
        return;
    // Saved: what is on disk is the document.
    m_dirty.erase(doc->number);
    m_store.remove(doc->number);
}

void RecoveryUnit::flush()
{
    m_timer.stop();
    for (int n : m_dirty)
        if (const Document* d = m_main.documents().byNumber(n); d && d->modified())
            m_store.write(*d);
    m_dirty.clear();
}

int RecoveryUnit::offer()
{
    std::vector<RecoveredDocument> found = m_store.leftBehind();
    if (found.empty())
        return 0;
    TFmRecover dialog(found, &m_main);
    m_main.prompts().execDialog(dialog);
    if (dialog.outcome() == TFmRecover::Outcome::Keep)
        return 0;   // offered again at the next start
    const bool restoring = dialog.outcome() == TFmRecover::Outcome::Restore;
    const std::vector<bool> ticked = dialog.ticked();
    int restored = 0;
    for (size_t i = 0; i < found.size(); ++i) {
        const RecoveredDocument& r = found[i];
        if (restoring && i < ticked.size() && ticked[i]) {
            Document& doc =
                m_main.documents().restore(r.text, r.path, r.hasFile, r.lineBreak, r.breaks);
            // Kept under this run's name before the old file goes, so that a
            // second crash cannot lose it.
            if (!m_store.write(doc))
                continue;
            ++restored;
        }
        RecoveryStore::discard(r);
    }
    return restored;
}
