#include "app/documents.h"

#include "app/documentfile.h"
#include "app/documentload.h"
#include "app/linemap.h"
#include "platform/busy.h"
#include "platform/clock.h"

#include <QFile>
#include <QFileInfo>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

#include <sys/stat.h>

namespace {

// What a file is now, as far as telling one change from the next goes.
QByteArray fileState(const QString& path)
{
    struct stat st{};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return QByteArrayLiteral("gone");
    return QByteArray::number(quint64(st.st_dev)) + ':' + QByteArray::number(quint64(st.st_ino))
        + ':' + QByteArray::number(qint64(st.st_size)) + ':'
        + QByteArray::number(qint64(st.st_mtim.tv_sec)) + '.'
        + QByteArray::number(qint64(st.st_mtim.tv_nsec));
}

} // namespace

Documents::Documents(QTabWidget& tabs, Clock& clock) : m_tabs(tabs), m_clock(clock)
{
    m_watcher.setObjectName(QStringLiteral("DiskWatcher"));
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this](const QString& path) {
        // A save brings several reports at once: one look after them.
        m_touched.insert(path);
        if (!m_checkQueued) {
            m_checkQueued = true;
            QTimer::singleShot(0, this, &Documents::checkDisk);
        }
    });
}

Document& Documents::create()
{
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* edit = new DocumentEditor(tab);
    layout->addWidget(edit);
    const int n = ++m_count;
    tab->setObjectName(QStringLiteral("TabSheet%1").arg(n));
    edit->setObjectName(QStringLiteral("RichEdit%1").arg(n));
    Document& doc = m_documents[n];
    doc.number = n;
    doc.encoding = m_newEncoding;   // a file's own, once one is read into it
    doc.tab = tab;
    doc.edit = edit;
    doc.path = QStringLiteral("Page%1").arg(n);
    doc.saveTime = kSaveTimeUnsaved;
    edit->number = n;
    m_byTab[tab] = n;
    emit added(doc);
    return doc;
}

void Documents::remove(int n)
{
    auto it = m_documents.find(n);
    if (it == m_documents.end())
        return;
    const QString path = it->second.hasFile ? it->second.path : QString();
    m_byTab.erase(it->second.tab);
    m_documents.erase(it);
    m_told.erase(n);
    unwatch(path);
    emit removed(n);
}

Document* Documents::byNumber(int n)
{
    auto it = m_documents.find(n);
    return it == m_documents.end() ? nullptr : &it->second;
}

const Document* Documents::byNumber(int n) const
{
    auto it = m_documents.find(n);
    return it == m_documents.end() ? nullptr : &it->second;
}

Document* Documents::current()
{
    const QWidget* tab = m_tabs.currentWidget();
    if (!tab)
        return nullptr;
    auto it = m_byTab.find(tab);
    return it == m_byTab.end() ? nullptr : byNumber(it->second);
}

const Document* Documents::current() const
{
    return const_cast<Documents*>(this)->current();
}

QString Documents::tabCaption(const Document& doc)
{
    return doc.hasFile ? QFileInfo(doc.path).fileName() : QStringLiteral("Page%1").arg(doc.number);
}

Result<Document*> Documents::open(const QString& path, const FillProgress& progress,
                                  std::optional<charset::Encoding> encoding)
{
    const BusyCursor busy;
    FileReadResult read = readDocumentFile(path);
    if (!read.ok)
        return Outcome::failed(openFailureMessage(path, read.error));
    const Filling quiet(*this);
    Document& doc = create();
    doc.disk = read.stamp;
    doc.encoding = encoding ? *encoding : charset::detectEncoding(read.bytes);
    watch(path);
    if (read.bytes.size() > DocumentLoad::kAtOnceBytes) {
        // Shown at once; the rest comes in from the event loop.
        const int n = doc.number;
        FillResult filled;
        DocumentLoad* load = DocumentLoad::start(*doc.edit, std::move(read.bytes), &filled, doc.encoding);
        doc.path = path;
        doc.hasFile = true;
        doc.lineBreak = filled.lineBreak;
        doc.mixedBreaks = filled.mixedBreaks;
        if (load) {
            // Known from all the bytes already: whatever writes the document
            // before the load ends writes the file's own breaks.
            doc.lineBreak = load->lineBreak();
            doc.mixedBreaks = load->mixedBreaks();
            connect(load, &DocumentLoad::progressed, this, [this, n](qsizetype done, qsizetype total) {
                if (Document* d = byNumber(n))
                    emit loading(d, done, total);
            });
            connect(load, &DocumentLoad::finished, this, [this, n](const FillResult& r) {
                if (Document* d = byNumber(n)) {
                    d->lineBreak = r.lineBreak;
                    d->mixedBreaks = r.mixedBreaks;
                    emit stateChanged(d);
                }
            });
        }
        emit ready(doc);
        return &doc;
    }
    const FillResult filled =
        fillEditor(*doc.edit, std::move(read.bytes), kFillPieceBytes, progress, doc.encoding);
    if (filled.cancelled) {
        doc.hasFile = false;
        emit cancelled(doc.number);
        unwatch(path);
        return Outcome::cancelled();
    }
    doc.lineBreak = filled.lineBreak;
    doc.mixedBreaks = filled.mixedBreaks;
    doc.path = path;
    doc.hasFile = true;
    emit ready(doc);
    return &doc;
}

Document& Documents::createBlank(bool pasteClipboard)
{
    const Filling quiet(*this);
    Document& doc = create();
    doc.hasFile = false;
    if (pasteClipboard)
        doc.edit->paste();
    emit ready(doc);
    return doc;
}

Document& Documents::restore(const QString& text, const QString& path, bool hasFile,
                              sjis::LineBreak lineBreak, const std::vector<sjis::LineBreak>& breaks,
                              charset::Encoding encoding)
{
    const Filling quiet(*this);
    Document& doc = create();
    doc.encoding = encoding;
    {
        QTextCursor c(doc.edit->document());
        lines::insertText(c, text);
    }
    doc.edit->document()->clearUndoRedoStacks();
    doc.lineBreak = lineBreak;
    if (!breaks.empty()) {
        setEditorLineBreaks(*doc.edit, breaks);
        doc.mixedBreaks = true;
    }
    if (hasFile) {
        doc.path = path;
        doc.hasFile = true;
    }
    emit ready(doc);
    doc.edit->setTextCursor(QTextCursor(doc.edit->document()));
    doc.edit->document()->setModified(true);
    emit stateChanged(&doc);
    return doc;
}

bool Documents::write(Document& doc, const QString& path, QString* error, DiskStamp* stamp)
{
    // The whole file first: its line-break facts are final only then.
    DocumentLoad::finishNow(doc.edit->document());
    sjis::EncodeError encodeError;
    const std::optional<QByteArray> bytes = documentBytes(doc, &encodeError);
    if (!bytes) {
        if (error)
            *error = saveFailureMessage(path, charset::describe(encodeError, doc.encoding));
        return false;
    }
    QString why;
    if (!writeDocumentFile(path, *bytes, &why, stamp)) {
        if (error)
            *error = saveFailureMessage(path, why);
        return false;
    }
    return true;
}

void Documents::markSaved(Document& doc)
{
    doc.saveTime = QStringLiteral("保存時間：") + m_clock.now().toString(QStringLiteral("H:mm:ss"));
    doc.edit->document()->setModified(false);   // announces through the editor as well
    m_told.erase(doc.number);
    watch(doc.path);
    emit stateChanged(&doc);
}

bool Documents::save(Document& doc, QString* error)
{
    DiskStamp stamp;
    if (!write(doc, doc.path, error, &stamp))
        return false;
    doc.disk = stamp;
    markSaved(doc);
    return true;
}

bool Documents::saveAs(Document& doc, const QString& path, QString* error)
{
    // The document takes the new name only once the file is written.
    DiskStamp stamp;
    if (!write(doc, path, error, &stamp))
        return false;
    const QString old = doc.hasFile ? doc.path : QString();
    doc.path = path;
    doc.hasFile = true;
    doc.disk = stamp;
    if (old != path)
        unwatch(old);
    markSaved(doc);
    return true;
}

DiskChange Documents::diskChange(Document& doc)
{
    return doc.hasFile ? ::diskChange(doc.path, doc.disk) : DiskChange::Unchanged;
}

void Documents::toldOfDiskChange(const Document& doc)
{
    m_told[doc.number] = fileState(doc.path);
}

void Documents::watch(const QString& path)
{
    if (!path.isEmpty() && !m_watcher.files().contains(path) && QFileInfo::exists(path))
        m_watcher.addPath(path);
}

void Documents::unwatch(const QString& path)
{
    if (path.isEmpty())
        return;
    for (const auto& [n, doc] : m_documents)
        if (doc.hasFile && doc.path == path)
            return;   // another tab holds the same file
    if (m_watcher.files().contains(path))
        m_watcher.removePath(path);
}

void Documents::checkDisk()
{
    m_checkQueued = false;
    const std::set<QString> touched = std::exchange(m_touched, {});
    std::vector<int> numbers;
    for (const auto& [n, doc] : m_documents)
        if (doc.hasFile && touched.count(doc.path))
            numbers.push_back(n);
    for (int n : numbers) {
        Document* doc = byNumber(n);   // a report may have closed it meanwhile
        if (!doc)
            continue;
        const DiskChange change = diskChange(*doc);
        // A file replaced by renaming (as every careful writer does) is
        // another file: watch the new one.
        watch(doc->path);
        if (change == DiskChange::Unchanged) {
            m_told.erase(n);
            continue;
        }
        const QByteArray state = fileState(doc->path);
        auto told = m_told.find(n);
        if (told != m_told.end() && told->second == state)
            continue;   // this change was reported already
        m_told[n] = state;
        emit changedOnDisk(doc, change == DiskChange::Gone);
    }
}
