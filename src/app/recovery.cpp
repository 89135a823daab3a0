#include "app/recovery.h"

#include "app/document.h"
#include "app/documentload.h"
#include "app/tfmmain.h"
#include "app/tfmrecover.h"
#include "platform/product.h"
#include "platform/prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

namespace {

// Makes the folder and keeps it its owner's alone: an unsaved document may
// hold anything.  A folder that others could read is tightened.
bool makePrivateFolder(const QString& dir)
{
    if (!QDir().mkpath(dir))
        return false;
    constexpr QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
                                          | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    constexpr QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    const QFile::Permissions now = QFile::permissions(dir);
    if (!(now & others))
        return true;
    return QFile::setPermissions(dir, now & owner) && !(QFile::permissions(dir) & others);
}

} // namespace

RecoveryStore::RecoveryStore(QString dir) : m_dir(std::move(dir))
{
    if (m_dir.isEmpty())
        return;
    m_run = QStringLiteral("%1_%2")
                .arg(QCoreApplication::applicationPid())
                .arg(QDateTime::currentMSecsSinceEpoch());
    if (makePrivateFolder(m_dir)) {
        m_lock = std::make_unique<QLockFile>(QDir(m_dir).filePath(m_run + QStringLiteral(".lock")));
        // Taking the lock is the first write into the folder: when even that
        // fails, nothing else would be written there either.
        if (m_lock->tryLock(0))
            return;
        m_lock.reset();
    }
    m_unusable = m_dir;
    m_dir.clear();   // recovery is off for this run
}

RecoveryStore::~RecoveryStore() = default;

QString RecoveryStore::fileFor(int number) const
{
    return QDir(m_dir).filePath(QStringLiteral("%1-%2.qn4r").arg(m_run).arg(number));
}

QByteArray RecoveryStore::format(const QString& path, bool hasFile, sjis::LineBreak lineBreak,
                                 const QString& text, const std::vector<sjis::LineBreak>& breaks,
                                 charset::Encoding encoding)
{
    QByteArray out(kMagic);
    out += "path=" + QUrl::toPercentEncoding(path) + '\n';
    out += QByteArray("file=") + (hasFile ? "1" : "0") + '\n';
    out += QByteArray("break=") + breakName(lineBreak) + '\n';
    if (encoding != charset::Encoding::ShiftJis)   // files without the key are Shift_JIS
        out += "encoding=" + charset::encodingName(encoding).toLatin1() + '\n';
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
        } else if (line.startsWith("encoding=")) {
            // An encoding this program does not know keeps the text, in
            // the home encoding.
            d.encoding = charset::encodingFromName(QString::fromLatin1(line.mid(9)))
                             .value_or(charset::Encoding::ShiftJis);
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

bool RecoveryStore::write(const Document& doc, QString* error)
{
    if (!active() || !doc.edit)
        return false;
    // Nothing older of this document may land after it.
    m_writer.waitForIdle();
    DocumentLoad::finishNow(doc.edit->document());
    QString why;
    const bool ok =
        RecoveryWriter::writeFile(fileFor(doc.number), RecoverySnapshot::of(doc).takeBytes(), &why);
    if (!ok && error)
        *error = why;
    return ok;
}

void RecoveryStore::writeLater(const Document& doc)
{
    if (active() && doc.edit)
        m_writer.write(fileFor(doc.number), RecoverySnapshot::of(doc));
}

void RecoveryStore::remove(int number)
{
    if (active())
        m_writer.remove(fileFor(number));
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
        std::optional<RecoveredDocument> d;
        if (info.size() <= qint64(1) << 30 && f.open(QIODevice::ReadOnly))
            d = parse(f.readAll());
        if (!d) {
            // Offered as what it is, so that it does not stay unseen for ever.
            d.emplace();
            d->damaged = true;
        }
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
    connect(&m_timer, &QTimer::timeout, this, &RecoveryUnit::writeChanged);
    Documents& docs = main.documents();
    connect(&docs, &Documents::contentChanged, this, &RecoveryUnit::changed);
    connect(&docs, &Documents::stateChanged, this, &RecoveryUnit::stateChanged);
    connect(&docs, &Documents::removed, this, [this](int n) {
        m_dirty.erase(n);
        m_store.remove(n);
    });
    connect(&m_store.writer(), &RecoveryWriter::failed, this,
            [this](const QString& file, const QString& why) {
                warnUnprotected(QStringLiteral("復元用のファイル %1 を書き込めません（%2）。")
                                    .arg(QDir::toNativeSeparators(file), why));
            });
    if (!m_store.unusableDir().isEmpty()) {
        QTimer::singleShot(0, this, [this] {
            warnUnprotected(QStringLiteral("復元用のフォルダ %1 に書き込めません。")
                                .arg(QDir::toNativeSeparators(m_store.unusableDir())));
        });
    }
    if (offerAtStart && m_store.active())
        QTimer::singleShot(0, this, &RecoveryUnit::offer);
}

void RecoveryUnit::warnUnprotected(const QString& why)
{
    if (m_warned)
        return;
    m_warned = true;
    m_main.prompts().message(&m_main, kProduct,
                             why + QStringLiteral("\n保存していない変更は、プログラムが異常終了すると"
                                                  "失われます。"),
                             Prompts::Icon::Warning, Prompts::Buttons::Ok);
}

void RecoveryUnit::changed(Document* doc)
{
    if (!m_store.active() || !doc)
        return;
    m_dirty.insert(doc->number);
    // Counted from the first change not yet written: a user who never
    // pauses is kept too.
    if (!m_timer.isActive())
        m_timer.start();
}

void RecoveryUnit::stateChanged(Document* doc)
{
    if (!doc || doc->modified())
        return;
    // Saved: what is on disk is the document.
    m_dirty.erase(doc->number);
    m_store.remove(doc->number);
}

void RecoveryUnit::writeChanged()
{
    m_timer.stop();
    bool loading = false;
    for (auto it = m_dirty.begin(); it != m_dirty.end();) {
        const Document* d = m_main.documents().byNumber(*it);
        if (d && d->edit && DocumentLoad::of(d->edit->document())) {
            loading = true;   // no bytes from half a document; once it is in
            ++it;
            continue;
        }
        if (d && d->modified())
            m_store.writeLater(*d);
        it = m_dirty.erase(it);
    }
    if (loading)
        m_timer.start();
}

void RecoveryUnit::flush()
{
    writeChanged();
    m_store.writer().waitForIdle();
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
        if (restoring && !r.damaged && i < ticked.size() && ticked[i]) {
            Document& doc =
                m_main.documents().restore(r.text, r.path, r.hasFile, r.lineBreak, r.breaks,
                                           r.encoding);
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
