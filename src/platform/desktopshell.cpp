#include "platform/desktopshell.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

class XdgShell final : public DesktopShell {
public:
    bool open(const QString& path, QString* error) override
    {
        // As a file address: it cannot be taken for an option of xdg-open,
        // and xdg-open reads back the exact path from it (a bare path with a
        // line break and a colon could pass for some other address).
        return run(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded),
                   error);
    }

    bool openUrl(const QString& url, QString* error) override
    {
        if (!url.startsWith(QLatin1String("https://")) && !url.startsWith(QLatin1String("http://"))) {
            if (error)
                *error = QStringLiteral("%1 はウェブのアドレスではありません").arg(url);
            return false;
        }
        return run(url, error);
    }

private:
    static bool run(const QString& target, QString* error)
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (program.isEmpty()) {
            if (error)
                *error = QStringLiteral("xdg-open が見つかりません (xdg-utils)");
            return false;
        }
        if (!QProcess::startDetached(program, {target})) {
            if (error)
                *error = QStringLiteral("%1 を起動できません").arg(program);
            return false;
        }
        return true;
    }
};

} // namespace

std::unique_ptr<DesktopShell> makeXdgShell()
{
    return std::make_unique<XdgShell>();
}
