#include "app/encodingcommands.h"

#include "app/documents.h"
#include "app/filecommands.h"
#include "app/mainlayout.h"
#include "app/settings.h"
#include "app/tfmmain.h"
#include "platform/product.h"
#include "platform/prompts.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>

namespace {

constexpr charset::Encoding kEncodings[5] = {charset::Encoding::ShiftJis, charset::Encoding::Utf8,
                                             charset::Encoding::Utf8Bom, charset::Encoding::EucJp,
                                             charset::Encoding::Iso2022Jp};

} // namespace

EncodingCommands::EncodingCommands(TFmMain& main) : m_main(main)
{
    setObjectName(QStringLiteral("EncodingCommands"));
    const MainControls& c = main.controls();
    for (int i = 0; i < 5; ++i) {
        const charset::Encoding e = kEncodings[i];
        connect(c.MReopenIn[i], &QAction::triggered, this, [this, e] { reopenIn(e); });
        connect(c.MSaveCopyIn[i], &QAction::triggered, this, [this, e] { saveCopyIn(e); });
    }
    connect(c.MNewUtf8, &QAction::toggled, this, [this](bool on) {
        m_main.documents().setNewDocumentEncoding(on ? charset::Encoding::Utf8
                                                     : charset::Encoding::ShiftJis);
    });
    connect(c.MCharset, &QMenu::aboutToShow, this, &EncodingCommands::showMenu);
    connect(&main.events(), &EditorEvents::currentDocumentChanged, this, &EncodingCommands::showMenu);
    connect(&main.documents(), &Documents::stateChanged, this, &EncodingCommands::showMenu);
    showMenu();
}

void EncodingCommands::showMenu()
{
    const MainControls& c = m_main.controls();
    const Document* doc = m_main.currentDocument();
    c.MReopenAs->menuAction()->setEnabled(doc && doc->hasFile);
    c.MSaveCopyAs->menuAction()->setEnabled(doc != nullptr);
    for (int i = 0; i < 5; ++i) {
        c.MReopenIn[i]->setEnabled(doc && doc->hasFile);
        c.MReopenIn[i]->setChecked(doc && doc->encoding == kEncodings[i]);
        c.MSaveCopyIn[i]->setEnabled(doc != nullptr);
    }
}

bool EncodingCommands::reopenIn(charset::Encoding e)
{
    Document* doc = m_main.currentDocument();
    if (!doc || !doc->hasFile) {
        showMenu();
        return false;
    }
    if (doc->modified()
        && m_main.prompts().message(
               &m_main, kProduct,
               QStringLiteral("%1 は変更されています。\n変更を破棄して %2 で開き直しますか？")
                   .arg(QDir::toNativeSeparators(doc->path), charset::encodingName(e)),
               Prompts::Icon::Warning, Prompts::Buttons::YesNo)
               != Prompts::Answer::Yes) {
        showMenu();
        return false;
    }
    const int old = doc->number;
    const QString path = doc->path;
    QTabWidget* tabs = m_main.editControl();
    const int index = tabs->indexOf(doc->tab);
    const Result<Document*> opened = m_main.documents().open(path, {}, e);
    if (!opened.isDone()) {
        if (opened.isFailed())
            warn(opened.message());
        showMenu();
        return false;
    }
    Document* fresh = opened.value();
    // The new reading takes the old one's place among the tabs.
    QWidget* freshTab = fresh->tab;
    m_main.closeDocument(old);
    tabs->tabBar()->moveTab(tabs->indexOf(freshTab), index);
    tabs->setCurrentWidget(freshTab);
    showMenu();
    return true;
}

bool EncodingCommands::saveCopyIn(charset::Encoding e)
{
    Document* doc = m_main.currentDocument();
    if (!doc)
        return false;
    sjis::EncodeError encodeError;
    std::optional<QByteArray> bytes =
        documentBytes(*doc->edit, doc->lineBreak, doc->mixedBreaks, &encodeError, e);
    if (!bytes) {
        warn(QStringLiteral("ｺﾋﾟｰを保存できません。\n%1").arg(charset::describe(encodeError, e)));
        return false;
    }
    Prompts::FileRequest req;
    req.filter = saveDialogFilter();
    req.filterIndex = 1;
    req.proposedName = doc->path;
    const Prompts::FileAnswer a =
        askSavePath(m_main.prompts(), &m_main, req, pathWithFilterExtension);
    if (!a.accepted)
        return false;
    if (doc->hasFile && QFileInfo(a.path) == QFileInfo(doc->path)) {
        // A copy over the document's own file: the document is saved, and
        // from now on in the encoding its file has.
        const charset::Encoding before = doc->encoding;
        doc->encoding = e;
        QString error;
        if (!m_main.documents().save(*doc, &error)) {
            doc->encoding = before;
            warn(error);
            return false;
        }
        m_main.documents().announce(*doc);
        return true;
    }
    QString why;
    if (!writeDocumentFile(a.path, *bytes, &why)) {
        warn(saveFailureMessage(a.path, why));
        return false;
    }
    return true;
}

void EncodingCommands::load(const Settings& settings)
{
    const charset::Encoding e =
        charset::encodingFromName(settings.newEncoding).value_or(charset::Encoding::ShiftJis);
    m_main.documents().setNewDocumentEncoding(e);
    m_main.controls().MNewUtf8->setChecked(e == charset::Encoding::Utf8);
}

void EncodingCommands::store(Settings& settings) const
{
    settings.newEncoding = charset::encodingName(m_main.documents().newDocumentEncoding());
}

void EncodingCommands::warn(const QString& text)
{
    m_main.prompts().message(&m_main, kProduct, text, Prompts::Icon::Warning, Prompts::Buttons::Ok);
}
