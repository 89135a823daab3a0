#include "platform/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {
const char kTranslatorName[] = "QtJapanese";
}

QTranslator* installQtTranslations()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return nullptr;
    if (auto* done = app->findChild<QTranslator*>(QLatin1String(kTranslatorName),
                                                  Qt::FindDirectChildrenOnly))
        return done;
    auto* translator = new QTranslator(app);
    translator->setObjectName(QLatin1String(kTranslatorName));
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}
