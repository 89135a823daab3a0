#include "app/filecommands.h"

#include "app/document.h"
#include "app/documentload.h"
#include "app/fileline.h"
#include "app/settings.h"
#include "app/tfmmain.h"
#include "platform/progress.h"
#include "platform/prompts.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QMenu>
#include <QPrinter>
#include <QTabWidget>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>

namespace {

const QString kOpenFilter =
    QStringLiteral("HTMLﾌｧｲﾙ(*htm;*.htm)|*.htm;*.html|ﾃｷｽﾄﾌｧｲﾙ(*txt)|*.txt|全てのﾌｧｲﾙ(*.*)|*.*");
const QString kSaveFilter = QStringLiteral(
    "HTMLﾌｧｲﾙ(*htm)|*.htm|HTMLﾌｧｲﾙ(*.html)|*.html|ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt");

RecentFiles::Captions recentCaptions(const MainControls& c)
{
    RecentFiles::Captions captions;
    for (int k = 0; k < RecentFiles::kCount; ++k)
        captions[size_t(k)] = c.MR[k]->text();
    return captions;
}

} // namespace

// ------------------------------------------------------------------ helpers

QString changedOnDiskQuestion(const QString& path)
{
    return QStringLiteral("%1 は他のプログラムによって変更されています。上書きしますか？").arg(path);
}

const QString& saveDialogFilter()
{
    return kSaveFilter;
}

QString pathWithFilterExtension(const QString& path, int filterIndex)
{
    if (!QFileInfo(path).suffix().isEmpty())
        return path;
    switch (filterIndex) {
    case 2: return path + QStringLiteral(".html");
    case 3: return path + QStringLiteral(".txt");
    default: return path + QStringLiteral(".htm");
    }
}

bool openDocumentFile(TFmMain& main, const QString& path)
{
    ProgressGate progress(&main, QStringLiteral("%1 を開いています…").arg(QFileInfo(path).fileName()));
    const Result<Document*> opened = main.documents().open(path, std::ref(progress));
    if (opened.isFailed())   // a user who stopped it hears nothing
        main.prompts().message(&main, kProduct, opened.message(), Prompts::Icon::Warning,
                               Prompts::Buttons::Ok);
    return opened.isDone();
}

// ------------------------------------------------------------------ wiring

FileCommands::FileCommands(TFmMain& main) : m_main(main)
{
    setObjectName(QStringLiteral("FileCommands"));
    const MainControls& c = main.controls();
    auto wire = [this](std::initializer_list<QAction*> actions, void (FileCommands::*handler)(),
                       bool needsDocument) {
        for (QAction* a : actions) {
            connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
            if (needsDocument)
                m_main.documentCommands().add(a);
            else
                a->setEnabled(true);
        }
    };
    wire({c.MWhite, c.ToolWhite, c.FWhite}, &FileCommands::MWhiteClick, false);
    wire({c.MOpen, c.ToolOpen, c.FOpen}, &FileCommands::MOpenClick, false);
    wire({c.MSave, c.ToolSave}, &FileCommands::MSaveClick, true);
    wire({c.MSaveAs, c.FSaveAs}, &FileCommands::MSaveAsClick, true);
    wire({c.MAllSave, c.ToolAllSave}, &FileCommands::MAllSaveClick, true);
    wire({c.MOneClose, c.Fclose}, &FileCommands::MOneCloseClick, true);
    wire({c.MClose2}, &FileCommands::MOneCloseClick, false);   // only reachable from an editor
    wire({c.MAllDelete, c.ToolAllDelete}, &FileCommands::MAllDeleteClick, true);
    wire({c.MPrintStart, c.ToolPrint}, &FileCommands::MPrintStartClick, true);
    wire({c.PrintSet}, &FileCommands::PrintSetClick, false);
    m_main.documentCommands().add(c.MPrint->menuAction());

    for (int k = 1; k <= RecentFiles::kCount; ++k)
        connect(c.MR[k - 1], &QAction::triggered, this, [this, k] { MRClick(k); });
    c.N13->menuAction()->setEnabled(true);
    connect(c.File1, &QMenu::aboutToShow, this, &FileCommands::File1Click);
    File1Click();

    m_main.setFormClose([this] { return FormClose(); });

    connect(&m_main.documents(), &Documents::changedOnDisk, this,
            [this](Document* doc, bool) { noticeDiskChange(doc->number); });
    m_main.installEventFilter(this);
}

FileCommands::~FileCommands()
{
    m_main.setFormClose(nullptr);
}

void FileCommands::load(const Settings& s)
{
    for (int k = 0; k < RecentFiles::kCount; ++k) {
        const QString& v = s.mr[size_t(k)];
        m_main.controls().MR[k]->setText(v.isEmpty() ? RecentFiles::emptyCaption() : v);
    }
    File1Click();
}

void FileCommands::store(Settings& s) const
{
    for (int k = 0; k < RecentFiles::kCount; ++k)
        s.mr[size_t(k)] = m_main.controls().MR[k]->text();
}

QPrinter& FileCommands::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void FileCommands::warn(const QString& text)
{
    m_main.prompts().message(&m_main, kProduct, text, Prompts::Icon::Warning, Prompts::Buttons::Ok);
}

// ------------------------------------------------------------------ others' changes

bool FileCommands::eventFilter(QObject* watched, QEvent* event)
{
    // Changes made while the user was in another program are told on coming back.
    if (watched == &m_main && event->type() == QEvent::WindowActivate && !m_diskNotices.empty())
        QTimer::singleShot(0, this, &FileCommands::tellDiskChanges);
    return QObject::eventFilter(watched, event);
}

void FileCommands::noticeDiskChange(int number)
{
    if (std::find(m_diskNotices.begin(), m_diskNotices.end(), number) == m_diskNotices.end())
        m_diskNotices.push_back(number);
    if (m_main.isActiveWindow())
        tellDiskChanges();
}

void FileCommands::tellDiskChanges()
{
    if (m_telling || !m_main.isActiveWindow())
        return;
    m_telling = true;
    while (!m_diskNotices.empty()) {
        const int n = m_diskNotices.front();
        m_diskNotices.erase(m_diskNotices.begin());
        Document* doc = m_main.documents().byNumber(n);
        if (!doc)
            continue;
        const DiskChange change = m_main.documents().diskChange(*doc);
        if (change == DiskChange::Unchanged)
            continue;   // changed back, or saved here since
        m_main.prompts().message(
            &m_main, kProduct,
            change == DiskChange::Gone
                ? QStringLiteral("%1 は他のプログラムによって削除されたか、移動されました。").arg(doc->path)
                : QStringLiteral("%1 は他のプログラムによって変更されました。\n"
                                 "上書き保存するときは、上書きしてよいかお尋ねします。")
                      .arg(doc->path),
            Prompts::Icon::Information, Prompts::Buttons::Ok);
    }
    m_telling = false;
}

// ------------------------------------------------------------------ new and open

void FileCommands::MWhiteClick()
{
    m_main.documents().createBlank(false);
}

void FileCommands::MOpenClick()
{
    Prompts::FileRequest req;
    req.filter = kOpenFilter;
    const Prompts::FileAnswer a = m_main.prompts().openFile(&m_main, req);
    if (a.accepted && !a.path.isEmpty())
        openDocumentFile(m_main, a.path);
}

void FileCommands::MRClick(int k)
{
    const QString path = m_main.controls().MR[k - 1]->text();
    if (!RecentFiles::isFilled(path))
        return;
    if (!QFileInfo::exists(path)) {
        warn(QStringLiteral("ファイルが見つかりせん"));
        return;
    }
    openDocumentFile(m_main, path);
}

void FileCommands::File1Click()
{
    for (QAction* a : m_main.controls().MR)
        a->setEnabled(RecentFiles::isFilled(a->text()));
}

// ------------------------------------------------------------------ save

void FileCommands::addRecent(const QString& path)
{
    RecentFiles::Captions captions = recentCaptions(m_main.controls());
    const int changed = m_recent.add(captions, path);
    if (changed == 0)
        return;
    m_main.controls().MR[changed - 1]->setText(captions[size_t(changed - 1)]);
    m_main.SaveSettings();
}

bool FileCommands::SaveCurrent()
{
    Document* doc = m_main.currentDocument();
    if (!doc)
        return false;
    if (!doc->hasFile)
        return SaveCurrentAs();
    if (!mayOverwrite(*doc, doc->path))
        return false;
    QString error;
    if (!m_main.documents().save(*doc, &error)) {
        warn(error);
        return false;
    }
    addRecent(doc->path);
    return true;
}

// Asks for a name and writes the document there; false when cancelled or
// the write failed (the document then keeps its old name).
bool FileCommands::saveAs(Document& doc)
{
    Prompts::FileRequest req;
    req.filter = kSaveFilter;
    req.filterIndex = 1;
    req.proposedName = doc.path;
    const Prompts::FileAnswer a =
        askSavePath(m_main.prompts(), &m_main, req, pathWithFilterExtension);
    if (!a.accepted || !mayOverwrite(doc, a.path))
        return false;
    QString error;
    if (!m_main.documents().saveAs(doc, a.path, &error)) {
        warn(error);
        return false;
    }
    return true;
}

bool FileCommands::mayOverwrite(Document& doc, const QString& path)
{
    if (!doc.hasFile || path != doc.path
        || m_main.documents().diskChange(doc) != DiskChange::Changed)
        return true;
    // The question tells of the change: no word of it afterwards as well.
    m_main.documents().toldOfDiskChange(doc);
    m_diskNotices.erase(std::remove(m_diskNotices.begin(), m_diskNotices.end(), doc.number),
                        m_diskNotices.end());
    return m_main.prompts().message(&m_main, kProduct, changedOnDiskQuestion(doc.path),
                                    Prompts::Icon::Warning, Prompts::Buttons::YesNo)
        == Prompts::Answer::Yes;
}

bool FileCommands::SaveCurrentAs()
{
    Document* doc = m_main.currentDocument();
    if (!doc)
        return false;
    const bool saved = saveAs(*doc);
    if (saved)
        addRecent(doc->path);
    emit filesChanged();
    return saved;
}

void FileCommands::MAllSaveClick()
{
    Documents& docs = m_main.documents();
    for (int n = 1; n <= docs.count(); ++n) {
        Document* doc = docs.byNumber(n);
        if (!doc)
            continue;
        if (doc->hasFile) {
            if (!mayOverwrite(*doc, doc->path))
                continue;
            QString error;
            if (!docs.save(*doc, &error))
                warn(error);
            continue;
        }
        if (saveAs(*doc))
            emit filesChanged();
    }
    // The status panels and caption show the current document again.
    if (Document* cur = docs.current())
        docs.announce(*cur);
}

// ------------------------------------------------------------------ close

// Asks "%sを保存しますか?" for a changed current document.  Returns true when
// the document may be closed: it was unchanged, the answer was No, or it was
// saved.  Cancel, a cancelled save dialog and a failed save keep it open.
bool FileCommands::mayClose(Document& doc)
{
    if (!doc.modified())
        return true;
    const Prompts::Answer a = m_main.prompts().message(
        &m_main, kProduct, QStringLiteral("%1を保存しますか?").arg(doc.path),
        Prompts::Icon::Question, Prompts::Buttons::YesNoCancel);
    if (a == Prompts::Answer::No)
        return true;
    if (a == Prompts::Answer::Yes && SaveCurrentAs())
        return true;
    return false;
}

void FileCommands::MOneCloseClick()
{
    Document* doc = m_main.currentDocument();
    if (!doc)
        return;
    doc->edit->setFocus();
    if (!mayClose(*doc))
        return;
    m_main.closeDocument(doc->number);
}

bool FileCommands::CloseAll()
{
    Documents& docs = m_main.documents();
    for (int n = 1; n <= docs.count(); ++n) {
        Document* doc = docs.byNumber(n);
        if (!doc)
            continue;
        m_main.editControl()->setCurrentWidget(doc->tab);
        if (!mayClose(*doc))
            return false;
        m_main.closeDocument(n);
    }
    return true;
}

bool FileCommands::FormClose()
{
    const bool allClosed = CloseAll();
    m_main.SaveSettings();
    return allClosed;
}

// ------------------------------------------------------------------ print

void FileCommands::PrintSetClick()
{
    m_main.prompts().printerSetup(&m_main, printer());
}

void FileCommands::MPrintStartClick()
{
    Document* doc = m_main.currentDocument();
    if (!doc)
        return;
    QPrinter& p = printer();
    if (!m_main.prompts().printDialog(&m_main, p))
        return;
    p.setDocName(doc->path);
    DocumentLoad::finishNow(doc->edit->document());
    // The file's lines wrapped at the page's edge, never clipped there, and
    // a long line held in pieces prints as one.
    lines::printableCopy(*doc->edit)->print(&p);
    if (p.printerState() == QPrinter::Error)
        warn(QStringLiteral("%1 を印刷できませんでした。").arg(doc->path));
}
