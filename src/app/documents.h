#pragma once
// The documents of the main window: their numbers, lookups by number and by
// tab, and their life: opened from a file, made blank, saved, saved as,
// closed.  Whatever changes a document's path, file flag, save time or
// modified flag is announced by one signal, which the main window turns into
// tab text, caption and status panels.

#include "app/document.h"
#include "platform/outcome.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <functional>
#include <map>
#include <set>

class Clock;
class QTabWidget;


class Documents : public QObject {
    Q_OBJECT
public:
    Documents(QTabWidget& tabs, Clock& clock);

    // ---- the store
    int count() const { return m_count; }   // numbers given so far
    // A new empty document: its tab page ("TabSheet" + number) and editor
    // ("RichEdit" + number), under the next number; announced by `added`,
    // whose receiver shows it.
    Document& create();
    void remove(int n);
    Document* byNumber(int n);
    const Document* byNumber(int n) const;
    Document* current();
    const Document* current() const;
    bool any() const { return !m_documents.empty(); }

    // ---- filling: editor changes are not the user's while a fill lasts
    class Filling {
    public:
        explicit Filling(Documents& d) : m_d(d) { ++m_d.m_filling; }
        ~Filling() { --m_d.m_filling; }
        Filling(const Filling&) = delete;
        Filling& operator=(const Filling&) = delete;
    private:
        Documents& m_d;
    };
    bool filling() const { return m_filling > 0; }

    // ---- life
    // Reads the file into a new document; on failure no tab is made and
    // the result says why.  `progress` hears how far the fill is and may
    // cancel it: then no tab stays either.  The file's encoding is found
    // from its bytes unless `encoding` is given.
    Result<Document*> open(const QString& path, const FillProgress& progress = {},
                           std::optional<charset::Encoding> encoding = std::nullopt);
    // A new document without a file, filled from the clipboard when asked.
    Document& createBlank(bool pasteClipboard);
    // The encoding new documents are saved in (Shift_JIS unless set).
    void setNewDocumentEncoding(charset::Encoding e) { m_newEncoding = e; }
    charset::Encoding newDocumentEncoding() const { return m_newEncoding; }
    // A document brought back after a crash: its text, and its path when it
    // had a file; it opens as changed.  `breaks`, when given, are its lines'
    // own breaks (a file with mixed breaks).
    Document& restore(const QString& text, const QString& path, bool hasFile,
                      sjis::LineBreak lineBreak, const std::vector<sjis::LineBreak>& breaks = {},
                      charset::Encoding encoding = charset::Encoding::ShiftJis);
    // Writes the document to its own path / to `path`.  Nothing about the
    // document changes unless the whole file was written; on failure the
    // reason goes to *error (naming the file).
    bool save(Document& doc, QString* error);
    bool saveAs(Document& doc, const QString& path, QString* error);
    // The tab caption a document shows: its file name, or "Page" + number.
    static QString tabCaption(const Document& doc);
    // Whether another program changed or removed the document's file since
    // it was opened or saved here (always unchanged without a file).
    DiskChange diskChange(Document& doc);
    // The user has been told of the file's present state (asked before a
    // save): no report of it follows.
    void toldOfDiskChange(const Document& doc);

    // Announces a change of the document's path, file flag, save time or
    // modified flag.
    void announce(Document& doc) { emit stateChanged(&doc); }

    // The user changed a document's text (fills do not count).
    void announceEdit(Document& doc) { emit contentChanged(&doc); }

signals:
    // A document was made (not yet in the tab control) / is ready: opened,
    // made blank or restored, before it is handed back.
    void added(Document& doc);
    void ready(Document& doc);
    // An open was cancelled half-way: the document made for it is to close
    // without any question.
    void cancelled(int number);
    void stateChanged(Document* doc);
    void contentChanged(Document* doc);
    void removed(int number);
    // A big file loading in the background: bytes in so far, and all.
    void loading(Document* doc, qsizetype done, qsizetype total);
    // Another program changed (or removed) the document's file; once for
    // each change, never for our own saves.
    void changedOnDisk(Document* doc, bool gone);

private:
    bool write(Document& doc, const QString& path, QString* error, DiskStamp* stamp);
    void markSaved(Document& doc);
    void watch(const QString& path);
    void unwatch(const QString& path);
    void checkDisk();

    QTabWidget& m_tabs;
    Clock& m_clock;
    int m_count = 0;
    int m_filling = 0;
    charset::Encoding m_newEncoding = charset::Encoding::ShiftJis;
    std::map<int, Document> m_documents;
    std::map<const QWidget*, int> m_byTab;
    // Files of open documents, watched for other programs' changes.
    QFileSystemWatcher m_watcher{this};
    std::set<QString> m_touched;        // paths reported, not yet looked at
    bool m_checkQueued = false;
    std::map<int, QByteArray> m_told;   // the file's state last reported, by number
};
