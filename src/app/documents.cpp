#include "app/documents.h"

#include "app/documentfile.h"
#include "app/documentload.h"
#include "app/linemap.h"
#include "platform/busy.h"
#include "platform/clock.h"

#include <QFileInfo>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextDocument>

Documents::Documents(QTabWidget& tabs, Clock& clock) : m_tabs(tabs), m_clock(clock) {}

void Documents::setMakers(std::function<Document&()> makeDocument,
                          std::function<void(Document&)> finishFilling,
                          std::function<void(int)> discard)
{
    m_makeDocument = std::move(makeDocument);
    m_finishFilling = std::move(finishFilling);
    m_discard = std::move(discard);
}

Document& Documents::add(QWidget* tab, DocumentEditor* edit)
{
    const int n = ++m_count;
    Document& doc = m_documents[n];
    doc.number = n;
    doc.tab = tab;
    doc.edit = edit;
    doc.path = QStringLiteral("Page%1").arg(n);
    doc.saveTime = kSaveTimeUnsaved;
    if (edit)
        edit->number = n;
    m_byTab[tab] = n;
    return doc;
}

void Documents::remove(int n)
{
    auto it = m_documents.find(n);
    if (it == m_documents.end())
        return;
    m_byTab.erase(it->second.tab);
    m_documents.erase(it);
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

Document* Documents::open(const QString& path, QString* error, const FillProgress& progress)
{
    const BusyCursor busy;
    FileReadResult read = readDocumentFile(path);
    if (!read.ok) {
        if (error)
            *error = openFailureMessage(path, read.error);
        return nullptr;
    }
    const Filling quiet(*this);
    Document& doc = m_makeDocument();
    if (read.bytes.size() > DocumentLoad::kAtOnceBytes) {
        // Shown at once; the rest comes in from the event loop.
        const int n = doc.number;
        FillResult filled;
        DocumentLoad* load = DocumentLoad::start(*doc.edit, std::move(read.bytes), &filled);
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
        m_finishFilling(doc);
        return &doc;
    }
    const FillResult filled = fillEditor(*doc.edit, std::move(read.bytes), kFillPieceBytes, progress);
    if (filled.cancelled) {
        m_discard(doc.number);
        if (error)
            error->clear();
        return nullptr;
    }
    doc.lineBreak = filled.lineBreak;
    doc.mixedBreaks = filled.mixedBreaks;
    doc.path = path;
    doc.hasFile = true;
    m_finishFilling(doc);
    return &doc;
}

Document& Documents::createBlank(bool pasteClipboard)
{
    const Filling quiet(*this);
    Document& doc = m_makeDocument();
    doc.hasFile = false;
    if (pasteClipboard)
        doc.edit->paste();
    m_finishFilling(doc);
    return doc;
}

Document& Documents::restore(const QString& text, const QString& path, bool hasFile,
                              sjis::LineBreak lineBreak, const std::vector<sjis::LineBreak>& breaks)
{
    const Filling quiet(*this);
    Document& doc = m_makeDocument();
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
    m_finishFilling(doc);
    doc.edit->setTextCursor(QTextCursor(doc.edit->document()));
    doc.edit->document()->setModified(true);
    emit stateChanged(&doc);
    return doc;
}

bool Documents::write(Document& doc, const QString& path, QString* error)
{
    // The whole file first: its line-break facts are final only then.
    DocumentLoad::finishNow(doc.edit->document());
    sjis::EncodeError encodeError;
    const std::optional<QByteArray> bytes =
        documentBytes(*doc.edit, doc.lineBreak, doc.mixedBreaks, &encodeError);
    if (!bytes) {
        if (error)
            *error = saveFailureMessage(path, sjis::describe(encodeError));
        return false;
    }
    QString why;
    if (!writeDocumentFile(path, *bytes, &why)) {
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
    emit stateChanged(&doc);
}

bool Documents::save(Document& doc, QString* error)
{
    if (!write(doc, doc.path, error))
        return false;
    markSaved(doc);
    return true;
}

bool Documents::saveAs(Document& doc, const QString& path, QString* error)
{
    // The document takes the new name only once the file is written.
    if (!write(doc, path, error))
        return false;
    doc.path = path;
    doc.hasFile = true;
    markSaved(doc);
    return true;
}
