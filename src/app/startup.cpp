#include "app/startup.h"

#include "app/filecommands.h"
#include "app/tfmtitle.h"
#include "platform/product.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QStandardPaths>

TFmMain::Options Startup::defaultOptions()
{
    TFmMain::Options o;
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    o.exeDir = exe.absolutePath();
    o.settingsPath = o.exeDir + QLatin1Char('/') + exe.completeBaseName() + QStringLiteral(".ini");
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    o.fallbackSettingsPath = config + QStringLiteral("/quillnest4/quillnest4.ini");
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    o.recoveryDir = state + QStringLiteral("/quillnest4/recovery");
    o.offerRecovery = true;
    return o;
}

void Startup::nameApplication()
{
    QApplication::setApplicationName(kProduct);
}

QStringList Startup::filesFromArguments(const QStringList& arguments)
{
    QStringList files;
    bool sawEnd = false;
    for (const QString& a : arguments.mid(1)) {
        if (a == QLatin1String("--") && !sawEnd) {
            sawEnd = true;
            continue;
        }
        files << a;
    }
    return files;
}

Startup::Startup(Prompts& prompts, std::function<void(TFmMain&)> compose, const QStringList& files)
{
    nameApplication();
    TFmMain::Options options = defaultOptions();
    options.compose = std::move(compose);
    auto* splash = new TFmTitle(prompts, std::move(options));
    m_main = splash->mainWindow();
    m_main->setAttribute(Qt::WA_DeleteOnClose, false);
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        QRect r = m_main->frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        m_main->move(r.topLeft());
    }
    m_main->show();
    splash->raise();
    for (const QString& f : files)
        openDocumentFile(*m_main, QFileInfo(f).absoluteFilePath());
}

Startup::~Startup()
{
    delete m_main;
}
