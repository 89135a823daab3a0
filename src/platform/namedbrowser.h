#pragma once
// Named browsers, reached the way a remote-control conversation with a
// browser would reach them: a service name, a topic, the program to start
// when no browser answers, and a request text of the form
// "\"<address>\",,-1,,,,,", the address being the file's percent-encoded
// file:// address.  Here the conversation is a browser program started with
// the address as its one argument (no shell between):
//   "NSShell"  → a Firefox-family browser (firefox, firefox-esr)
//   "IExplore" → a Chromium-family browser (chromium, google-chrome)
// found on PATH.

#include <QString>
#include <QStringList>

struct BrowserRequest {
    QString service;   // "NSShell" or "IExplore"
    QString topic;     // "WWW_OpenURL"
    QString program;   // what the conversation would start when no one answers
    QString request;   // "\"file:///...\",,-1,,,,," (the address percent-encoded)
};

enum class BrowserResult {
    Shown,          // the browser took the address
    NotConnected,   // no browser of that family is installed
    Failed,         // it started but gave up at once
};

// The programs that stand for a service, in the order they are tried.
QStringList browserProgramsFor(const QString& service);

// The address inside a request text: what stands between the opening quote
// and the closing "\",,-1,,,,," (quotes inside the path included).
QString addressOfRequest(const QString& request);

// Starts the browser for the request and waits a moment for it to fail.
BrowserResult sendBrowserRequest(const BrowserRequest& r);
