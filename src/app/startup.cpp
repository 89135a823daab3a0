#include "app/startup.h"

#include "app/filecommands.h"
#include "app/tfmtitle.h"
#include "platform/product.h"
#include "platform/translations.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

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

CommandLine::CommandLine(int argc, char** argv)
{
    int end = argc;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--") == 0) {
            end = i;
            break;
        }
    }
    m_toolkitArgv.assign(argv, argv + end);
    m_toolkitArgv.push_back(nullptr);
    m_toolkitArgc = end;
    for (int i = end + 1; i < argc; ++i)
        m_afterEnd << QByteArray(argv[i]);
}

QStringList CommandLine::files(const QStringList& toolkitLeft) const
{
    QStringList files = toolkitLeft.mid(1);
    for (const QByteArray& a : m_afterEnd)
        files << QFile::decodeName(a);
    return files;
}

void Startup::placeOnScreen(QWidget& window, const QScreen* screen)
{
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // What the window system adds around the window, once it is known.
    const QSize frame = window.frameGeometry().size() - window.size();
    const QSize room = (area.size() - frame).expandedTo(QSize(1, 1));
    const QSize least = kMinimumSize.boundedTo(room);
    const QSize size = window.size().expandedTo(least).boundedTo(room);
    if (size != window.size())
        window.resize(size);
    QRect r = window.frameGeometry();
    r.moveCenter(area.center());
    window.move(r.topLeft());
}

Startup::Startup(Prompts& prompts, std::function<void(TFmMain&)> compose, const QStringList& files)
    : Startup(prompts,
              [&] {
                  TFmMain::Options o = defaultOptions();
                  o.compose = std::move(compose);
                  return o;
              }(),
              files)
{
}

Startup::Startup(Prompts& prompts, TFmMain::Options options, const QStringList& files)
{
    nameApplication();
    installQtTranslations();
    auto* splash = new TFmTitle(prompts, std::move(options));
    m_main = splash->takeMainWindow();
    m_main->setAttribute(Qt::WA_DeleteOnClose, false);
    // The size comes from the settings file: whatever it says, the window
    // fits its screen, and what is saved later is that size.
    QScreen* screen = QGuiApplication::primaryScreen();
    placeOnScreen(*m_main, screen);
    m_main->show();
    // Shown, the window may have a frame it did not have before.
    if (screen && !screen->availableGeometry().contains(m_main->frameGeometry()))
        placeOnScreen(*m_main, screen);
    splash->raise();
    for (const QString& f : files)
        openDocumentFile(*m_main, QFileInfo(f).absoluteFilePath());
}

Startup::~Startup() = default;
