#include "app/browsercommands.h"

#include "app/tfmmain.h"
#include "platform/desktopshell.h"
#include "platform/namedbrowser.h"
#include "platform/prompts.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>

namespace {

// The extension as the path spells it, dot included ("" when none).
QString extensionOf(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot);
}

// The file's address as a browser must be given it: every character that
// means something in an address is percent-encoded.
QString fileAddress(const QString& path)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
}

bool isHtmlPath(const QString& path)
{
    const QString ext = extensionOf(path);   // exact: ".HTM" is not HTML here
    return ext == QLatin1String(".htm") || ext == QLatin1String(".html");
}

} // namespace

BrowserCommands::BrowserCommands(TFmMain& main) : m_main(main), m_shell(makeXdgShell())
{
    const MainControls& c = main.controls();
    connect(c.BtnBrowse, &QPushButton::clicked, this, &BrowserCommands::BtnBrowseClick);
    connect(c.IE1, &QAction::triggered, this, &BrowserCommands::BtnBrowseClick);
    connect(c.MNN4, &QAction::triggered, this, &BrowserCommands::MNN4Click);
    connect(c.InterNeteXPLOLOR1, &QAction::triggered, this, &BrowserCommands::InterNeteXPLOLOR1Click);
    connect(c.Help2, &QAction::triggered, this, &BrowserCommands::Help2Click);
    connect(c.BrightfernHomePage1, &QAction::triggered, this,
            &BrowserCommands::BrightfernHomePage1Click);
    for (QAction* a : {c.IE1, c.MNN4, c.InterNeteXPLOLOR1})
        main.documentCommands().add(a);
    main.documentCommands().add(c.BtnBrowse);
    for (QAction* a : {c.Help2, c.BrightfernHomePage1})
        a->setEnabled(true);
}

BrowserCommands::~BrowserCommands() = default;

void BrowserCommands::message(const QString& text, bool error)
{
    m_main.prompts().message(&m_main, kProduct, text,
                             error ? Prompts::Icon::Error : Prompts::Icon::None,
                             Prompts::Buttons::Ok);
}

void BrowserCommands::BtnBrowseClick()
{
    const Document* doc = m_main.currentDocument();
    if (!doc)
        return;
    if (!isHtmlPath(doc->path)) {
        message(QStringLiteral("\"%1\"はHTMLﾌｧｲﾙではありません").arg(doc->path), true);
        return;
    }
    m_shell->open(doc->path, nullptr);   // the desktop reports its own failures
}

void BrowserCommands::namedBrowser(const QString& service)
{
    const Document* doc = m_main.currentDocument();
    if (!doc || !isHtmlPath(doc->path))
        return;
    BrowserRequest r;
    r.service = service;
    r.topic = QStringLiteral("WWW_OpenURL");
    r.program = QStringLiteral("C:\\Program Files\\NetScape\\Communicator\\program\\NetScape.exe");
    // The path percent-encoded, so that a browser reads back exactly this
    // file: "%41", "#", "?" and line breaks are part of the name.
    r.request = QStringLiteral("\"%1\",,-1,,,,,").arg(fileAddress(doc->path));
    switch (sendBrowserRequest(r)) {
    case BrowserResult::Shown:
        break;
    case BrowserResult::NotConnected:
        message(QStringLiteral("接続できませんでした。"), false);
        break;
    case BrowserResult::Failed:
        message(QStringLiteral("表示できませんでした。（未対応ﾊﾞｰｼﾞｮﾝです"), false);
        break;
    }
}

void BrowserCommands::MNN4Click()
{
    namedBrowser(QStringLiteral("NSShell"));
}

void BrowserCommands::InterNeteXPLOLOR1Click()
{
    namedBrowser(QStringLiteral("IExplore"));
}

QString BrowserCommands::helpFile() const
{
    return QDir(m_main.options().exeDir).filePath(QStringLiteral("Qn4.hlp"));
}

void BrowserCommands::Help2Click()
{
    const QString help = helpFile();
    if (!QFileInfo(help).isFile()) {
        message(QStringLiteral("ヘルプファイル %1 が見つかりません。").arg(QDir::toNativeSeparators(help)),
                true);
        return;
    }
    // The desktop knows no ".hlp" type: the browser gets the same HTML under
    // a name it recognises, in a folder of our own (made afresh with a
    // random name, readable by us alone, removed with us) so that no other
    // account can put anything in its place.
    if (!m_helpDir) {
        m_helpDir = std::make_unique<QTemporaryDir>(
            QDir(QDir::tempPath()).filePath(QStringLiteral("quillnest4-help-XXXXXX")));
        if (!m_helpDir->isValid())
            m_helpDir.reset();
    }
    const QString copy = m_helpDir ? m_helpDir->filePath(QStringLiteral("Qn4.html")) : QString();
    if (!copy.isEmpty())
        QFile::remove(copy);
    if (copy.isEmpty() || !QFile::copy(help, copy)) {
        message(QStringLiteral("ヘルプファイル %1 を開けません。").arg(QDir::toNativeSeparators(help)),
                true);
        return;
    }
    m_shell->open(copy, nullptr);
}

void BrowserCommands::BrightfernHomePage1Click()
{
    m_shell->openUrl(QStringLiteral(QN4_MAKER_URL), nullptr);
}
