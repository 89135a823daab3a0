#include "app/filecommands.h"

#include "app/document.h"
#include "app/documentfile.h"
#include "app/prompts.h"
#include "app/tfmmain.h"
#include "builders/frame/tfmframe.h"
#include "builders/newpage/tfmnew.h"
#include "charset/textfile.h"
#include "platform/clock.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QPrinter>
#include <QTabWidget>

namespace {

const QString kProduct = QStringLiteral("Quillnest4");
const QString kChanged = QStringLiteral("変更あり");
const QString kUnchanged = QStringLiteral("変更なし");
const QString kOpenFilter =
    QStringLiteral("HTMLﾌｧｲﾙ(*htm;*.htm)|*.htm;*.html|ﾃｷｽﾄﾌｧｲﾙ(*txt)|*.txt|全てのﾌｧｲﾙ(*.*)|*.*");
const QString kSaveFilter = QStringLiteral(
    "HTMLﾌｧｲﾙ(*htm)|*.htm|HTMLﾌｧｲﾙ(*.html)|*.html|ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt");

QAction* recentAction(TFmMain& main, int k)
{
    return main.action(QStringLiteral("MR%1").arg(k).toLatin1().constData());
}

RecentFiles::Captions recentCaptions(TFmMain& main)
{
    RecentFiles::Captions c;
    for (int k = 1; k <= RecentFiles::kCount; ++k)
        c[size_t(k - 1)] = recentAction(main, k)->text();
    return c;
}

} // namespace

// ------------------------------------------------------------------ helpers

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
    FileReadResult read = readDocumentFile(path);
    if (!read.ok) {
        main.prompts().message(&main, kProduct, openFailureMessage(path, read.error),
                               Prompts::Icon::Warning, Prompts::Buttons::Ok);
        return false;
    }
    main.FillingDocument = true;
    Document& doc = main.NewDocument();
    const FillResult filled = fillEditor(*doc.edit, read.bytes);
    doc.lineBreak = filled.lineBreak;
    doc.mixedBreaks = filled.mixedBreaks;
    read.bytes = QByteArray();   // the bytes are not needed any more
    doc.path = path;
    doc.hasFile = true;
    main.editControl()->setTabText(main.editControl()->indexOf(doc.tab),
                                   QFileInfo(path).fileName());
    main.setCaptionForCurrent();
    main.finishFilling(doc);
    main.FillingDocument = false;
    return true;
}

// ------------------------------------------------------------------ wiring

FileCommands::FileCommands(TFmMain& main) : m_main(main)
{
    setObjectName(QStringLiteral("FileCommands"));
    auto wire = [this](std::initializer_list<const char*> names, void (FileCommands::*handler)(),
                       bool needsDocument) {
        for (const char* name : names) {
            QAction* a = m_main.action(name);
            if (!a)
                continue;
            connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
            if (needsDocument)
                m_main.documentCommands().add(a);
            else
                a->setEnabled(true);
        }
    };
    wire({"MNew", "ToolNew", "FNew"}, &FileCommands::MNewClick, false);
    wire({"MWhite", "ToolWhite", "FWhite"}, &FileCommands::MWhiteClick, false);
    wire({"MFrame", "ToolFrame", "FFrame"}, &FileCommands::MFrameClick, false);
    wire({"MOpen", "ToolOpen", "FOpen"}, &FileCommands::MOpenClick, false);
    wire({"MSave", "ToolSave"}, &FileCommands::MSaveClick, true);
    wire({"MSaveAs", "FSaveAs"}, &FileCommands::MSaveAsClick, true);
    wire({"MAllSave", "ToolAllSave"}, &FileCommands::MAllSaveClick, true);
    wire({"MOneClose", "Fclose"}, &FileCommands::MOneCloseClick, true);
    wire({"MClose2"}, &FileCommands::MOneCloseClick, false);   // only reachable from an editor
    wire({"MAllDelete", "ToolAllDelete"}, &FileCommands::MAllDeleteClick, true);
    wire({"MPrintStart", "ToolPrint"}, &FileCommands::MPrintStartClick, true);
    wire({"PrintSet"}, &FileCommands::PrintSetClick, false);
    if (QAction* print = m_main.action("MPrint"))
        m_main.documentCommands().add(print);

    for (int k = 1; k <= RecentFiles::kCount; ++k)
        connect(recentAction(m_main, k), &QAction::triggered, this, [this, k] { MRClick(k); });
    if (QAction* n13 = m_main.action("N13"))
        n13->setEnabled(true);
    if (QMenu* file = m_main.menu("File1"))
        connect(file, &QMenu::aboutToShow, this, &FileCommands::File1Click);
    File1Click();

    m_main.onFormClose = [this] { return FormClose(); };
}

FileCommands::~FileCommands()
{
    m_main.onFormClose = nullptr;
}

TFmNew& FileCommands::fmNew()
{
    if (!m_fmNew)
        m_fmNew = new TFmNew(m_main.prompts(), &m_main);
    return *m_fmNew;
}

TFmFrame& FileCommands::fmFrame()
{
    if (!m_fmFrame)
        m_fmFrame = new TFmFrame(&m_main);
    return *m_fmFrame;
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

// ------------------------------------------------------------------ new documents

void FileCommands::newDocument(bool pasteClipboard)
{
    m_main.FillingDocument = true;
    Document& doc = m_main.NewDocument();
    doc.hasFile = false;
    if (pasteClipboard)
        doc.edit->paste();
    m_main.finishFilling(doc);
    m_main.FillingDocument = false;
}

void FileCommands::MNewClick()
{
    TFmNew& dlg = fmNew();
    dlg.FormActivate();
    dlg.move(m_main.pos() + QPoint(30, 70));
    m_main.prompts().execDialog(dlg);
    if (dlg.outcome() == TFmNew::PageOnClipboard)
        newDocument(true);
    else if (dlg.outcome() == TFmNew::BlankPage)
        newDocument(false);
}

void FileCommands::MWhiteClick()
{
    newDocument(false);
}

void FileCommands::MFrameClick()
{
    TFmFrame& dlg = fmFrame();
    dlg.FormActivate();
    dlg.move(m_main.pos() + QPoint(30, 70));
    m_main.prompts().execDialog(dlg);
    if (dlg.outcome() == 1)
        newDocument(true);
}

// ------------------------------------------------------------------ open

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
    QAction* item = recentAction(m_main, k);
    if (!item)
        return;
    const QString path = item->text();
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
    for (int k = 1; k <= RecentFiles::kCount; ++k) {
        QAction* a = recentAction(m_main, k);
        a->setEnabled(RecentFiles::isFilled(a->text()));
    }
}

// ------------------------------------------------------------------ save

bool FileCommands::writeDocument(Document& doc, const QString& path)
{
    sjis::EncodeError encodeError;
    const std::optional<QByteArray> bytes =
        documentBytes(*doc.edit, doc.lineBreak, doc.mixedBreaks, &encodeError);
    if (!bytes) {
        warn(saveFailureMessage(path, sjis::describe(encodeError)));
        return false;
    }
    QString why;
    if (!writeDocumentFile(path, *bytes, &why)) {
        warn(saveFailureMessage(path, why));
        return false;
    }
    return true;
}

void FileCommands::markSaved(Document& doc)
{
    doc.edit->document()->setModified(false);
    doc.status = kUnchanged;
    doc.saveTime = QStringLiteral("保存時間：") + m_main.clock().now().toString(QStringLiteral("H:mm:ss"));
    if (&doc == m_main.currentDocument()) {
        m_main.setStatusPanel(1, doc.status);
        m_main.setStatusPanel(2, doc.saveTime);
    }
}

void FileCommands::setTabCaption(Document& doc)
{
    m_main.editControl()->setTabText(m_main.editControl()->indexOf(doc.tab),
                                     QFileInfo(doc.path).fileName());
}

void FileCommands::addRecent(const QString& path)
{
    RecentFiles::Captions captions = recentCaptions(m_main);
    const int changed = m_recent.add(captions, path);
    if (changed == 0)
        return;
    recentAction(m_main, changed)->setText(captions[size_t(changed - 1)]);
    m_main.SaveSettings();
}

bool FileCommands::SaveCurrent()
{
    Document* doc = m_main.currentDocument();
    if (!doc)
        return false;
    if (!doc->hasFile)
        return SaveCurrentAs();
    if (!writeDocument(*doc, doc->path))
        return false;
    markSaved(*doc);
    m_main.ShowModified(false);
    addRecent(doc->path);
    return true;
}

bool FileCommands::SaveCurrentAs()
{
    Document* doc = m_main.currentDocument();
    if (!doc)
        return false;
    Prompts::FileRequest req;
    req.filter = kSaveFilter;
    req.filterIndex = 1;
    req.proposedName = doc->path;
    const Prompts::FileAnswer a =
        askSavePath(m_main.prompts(), &m_main, req, pathWithFilterExtension);
    bool saved = false;
    if (a.accepted) {
        const QString path = a.path;
        // The document takes the new name only once the file is written.
        if (writeDocument(*doc, path)) {
            doc->path = path;
            doc->hasFile = true;
            setTabCaption(*doc);
            m_main.setCaptionForCurrent();
            markSaved(*doc);
            m_main.ShowModified(false);
            addRecent(path);
            saved = true;
        }
    }
    emit filesChanged();
    return saved;
}

void FileCommands::MAllSaveClick()
{
    for (int n = 1; n <= m_main.DocumentCount(); ++n) {
        Document* doc = m_main.documentByNumber(n);
        if (!doc)
            continue;
        if (doc->hasFile) {
            if (writeDocument(*doc, doc->path))
                markSaved(*doc);
            continue;
        }
        Prompts::FileRequest req;
        req.filter = kSaveFilter;
        req.filterIndex = 1;
        req.proposedName = doc->path;
        const Prompts::FileAnswer a =
            askSavePath(m_main.prompts(), &m_main, req, pathWithFilterExtension);
        if (!a.accepted)
            continue;
        const QString path = a.path;
        if (!writeDocument(*doc, path))
            continue;
        doc->path = path;
        doc->hasFile = true;
        setTabCaption(*doc);
        markSaved(*doc);
        emit filesChanged();
    }
    showCurrentState();
}

// The status panels and caption follow the current document.
void FileCommands::showCurrentState()
{
    if (Document* cur = m_main.currentDocument()) {
        m_main.setStatusPanel(1, cur->status);
        m_main.setStatusPanel(2, cur->saveTime);
        m_main.setCaptionForCurrent();
    }
}

// ------------------------------------------------------------------ close

// Asks "%sを保存しますか?" for a changed current document.  Returns true when
// the document may be closed: it was unchanged, the answer was No, or it was
// saved.  Cancel, a cancelled save dialog and a failed save keep it open.
bool FileCommands::mayClose(Document& doc)
{
    if (doc.status != kChanged)
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
    for (int n = 1; n <= m_main.DocumentCount(); ++n) {
        Document* doc = m_main.documentByNumber(n);
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
    doc->edit->print(&p);
    if (p.printerState() == QPrinter::Error)
        warn(QStringLiteral("%1 を印刷できませんでした。").arg(doc->path));
}
