#include "platform/prompts.h"

#include <QDir>
#include <QFileInfo>

QString replaceQuestion(const QString& path)
{
    return QStringLiteral("%1 は既に存在します。\n上書きしますか？")
        .arg(QDir::toNativeSeparators(path));
}

Prompts::FileAnswer askSavePath(
    Prompts& prompts, QWidget* parent, const Prompts::FileRequest& request,
    const std::function<QString(const QString& path, int filterIndex)>& finalPath)
{
    Prompts::FileRequest ask = request;
    for (;;) {
        Prompts::FileAnswer a = prompts.saveFile(parent, ask);
        if (!a.accepted || a.path.isEmpty())
            return Prompts::FileAnswer{};
        if (finalPath)
            a.path = finalPath(a.path, a.filterIndex);
        const QFileInfo info(a.path);
        // A folder of that name is refused by the write itself, with its reason.
        if (!info.exists() || info.isDir())
            return a;
        if (prompts.message(parent, QStringLiteral("上書きの確認"), replaceQuestion(a.path),
                            Prompts::Icon::Question, Prompts::Buttons::YesNo)
            == Prompts::Answer::Yes)
            return a;
        ask.proposedName = a.path;
        ask.filterIndex = a.filterIndex;
    }
}
