#pragma once
// The preview unit on a stand-in main window: a document's text, path and
// caret set by the test, a recording desktop shell, and waits on the engine.
#include "platform/desktopshell.h"
#include "preview/previewengine.h"
#include "preview/previewhost.h"
#include "preview/previewpane.h"
#include "preview/previewunit.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>
#include <QWebEngineView>
#include <gtest/gtest.h>

#include <memory>

class FakePreviewHost : public PreviewHost {
public:
    QString text;
    QString path;                 // empty: no file
    QString folder = QStringLiteral("/tmp");
    bool open = true;
    int line = 0;
    int column = 0;
    mutable int textReads = 0;
    QStringList opened;
    QStringList messages;

    bool hasDocument() const override { return open; }
    QString documentText() const override
    {
        ++textReads;
        return text;
    }
    qsizetype documentLength() const override { return text.size(); }
    bool documentLoading() const override { return false; }
    QString documentPath() const override { return path; }
    QString documentName() const override { return QStringLiteral("Page1"); }
    QString fallbackFolder() const override { return folder; }
    int caretLine() const override { return line; }
    int caretColumn() const override { return column; }
    void openFile(const QString& p) override { opened << p; }
    int focusAsked = 0;
    void focusEditor() override { ++focusAsked; }
    void showMessage(const QString& t) override { messages << t; }

    void type(const QString& t)
    {
        text = t;
        emit textChanged();
    }
};

class RecordingShell : public DesktopShell {
public:
    QStringList* log;
    explicit RecordingShell(QStringList* l) : log(l) {}
    bool open(const QString& path, QString*) override
    {
        *log << QStringLiteral("open ") + path;
        return true;
    }
    bool openUrl(const QString& url, QString*) override
    {
        *log << QStringLiteral("url ") + url;
        return true;
    }
};

class PreviewTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakePreviewHost host;
    QStringList shellLog;
    QWidget window;
    QSplitter* splitter = new QSplitter(&window);
    QPlainTextEdit* editor = new QPlainTextEdit(splitter);
    QAction toggle;
    std::unique_ptr<PreviewUnit> unit;

    void SetUp() override
    {
        toggle.setCheckable(true);
        unit = std::make_unique<PreviewUnit>(host, toggle, *splitter, std::make_unique<RecordingShell>(&shellLog));
        window.resize(900, 600);
        splitter->resize(900, 600);
        window.show();
        editor->setFocus();
        host.folder = dir.path();
    }
    void TearDown() override { unit.reset(); }

    PreviewPane& pane() { return *unit->pane(); }

    // Shows the pane (or refreshes it) and waits until the render is on
    // screen; false when it failed.
    bool showAndWait()
    {
        if (toggle.isChecked())
            return refreshAndWait();
        toggle.setChecked(true);   // renders at once; the engine answers later
        return waitRendered();
    }
    bool refreshAndWait()
    {
        unit->refreshNow();
        return waitRendered();
    }
    bool waitRendered()
    {
        QSignalSpy rendered(unit->pane(), &PreviewPane::rendered);
        return rendered.wait(20000) && rendered.first().first().toBool();
    }
    // Runs a script in the page and returns its value.
    QVariant js(const QString& script)
    {
        QVariant result;
        bool done = false;
        pane().page()->runJavaScript(script, [&](const QVariant& v) {
            result = v;
            done = true;
        });
        [[maybe_unused]] const bool ok = QTest::qWaitFor([&] { return done; }, 20000);
        return result;
    }
};
