#include "preview/previewengine.h"

#include "preview/previewrules.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

#include <unistd.h>

namespace preview {

void prepareEngine()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (QWebEngineUrlScheme::schemeByName(kScheme).name().isEmpty()) {
        QWebEngineUrlScheme scheme(kScheme);
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
        // Not a secure scheme: an http picture in the page would be dropped
        // as mixed content before our gate could count it.
        scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
        QWebEngineUrlScheme::registerScheme(scheme);
    }
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

} // namespace preview

void PreviewSchemeHandler::setDocument(const QUrl& url, QByteArray utf8)
{
    m_url = url;
    m_utf8 = std::move(utf8);
}

void PreviewSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job)
{
    if (job->requestMethod() != QByteArrayLiteral("GET")) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    const QUrl url = job->requestUrl();
    if (preview::sameDocument(url, m_url)) {
        auto* buffer = new QBuffer(job);
        buffer->setData(m_utf8);
        buffer->open(QIODevice::ReadOnly);
        job->reply(QByteArrayLiteral("text/html; charset=utf-8"), buffer);
        return;
    }
    const QString path = preview::localFileOf(url);
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || !preview::mayServe(path)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto* file = new QFile(path, job);
    if (!file->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    static const QMimeDatabase mimes;
    job->reply(mimes.mimeTypeForFile(info).name().toLatin1(), file);
}

void PreviewGate::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    const QUrl url = info.requestUrl();
    if (preview::mayLoad(url, m_allowExternal))
        return;
    info.block(true);
    emit blocked(url);
}
