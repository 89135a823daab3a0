#pragma once
// The engine's side of the preview: its start-up settings, the scheme that
// serves the document from the editor's text and the files beside it, and
// the gate that keeps requests on this machine.

#include <QByteArray>
#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlSchemeHandler>

#include <atomic>

namespace preview {

// Must run before the QApplication is made: the engine shares OpenGL
// contexts and our scheme is known to it.  Run as root (tests, CI) the
// engine's sandbox cannot start, so only then is it turned off.
void prepareEngine();

} // namespace preview

// Serves the document at its address as UTF-8 (a charset the page's own
// <meta> cannot override, so the editor's text is what is shown, whatever
// the file's encoding), and every other address of the scheme from the file
// it names.
class PreviewSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void setDocument(const QUrl& url, QByteArray utf8);
    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    QUrl m_url;
    QByteArray m_utf8;
};

// Blocks every request that would leave the machine unless allowed, and
// says so by `blocked`.
class PreviewGate : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void setAllowExternal(bool on) { m_allowExternal = on; }
    bool allowExternal() const { return m_allowExternal; }
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

signals:
    void blocked(const QUrl& url);

private:
    std::atomic<bool> m_allowExternal{false};
};
