#pragma once
// What the preview pane needs of the main window: the current document's
// text, where it lives, the caret, opening a file in a tab.  The composition
// root gives it over the main window; tests give a stand-in.

#include <QObject>
#include <QString>

class QWidget;

class PreviewHost : public QObject {
    Q_OBJECT
public:
    ~PreviewHost() override = default;

    virtual bool hasDocument() const = 0;
    // The current document's text as its file holds it (Unicode).
    virtual QString documentText() const = 0;
    // Its length in characters, cheap to ask on every change.
    virtual qsizetype documentLength() const = 0;
    // True while the rest of a big file still comes in.
    virtual bool documentLoading() const = 0;
    // Its file's full path; empty when it has none yet.
    virtual QString documentPath() const = 0;
    // The name it goes by without a file ("Page1").
    virtual QString documentName() const = 0;
    // Where a document without a file finds its pictures: the file panel's folder.
    virtual QString fallbackFolder() const = 0;
    // Caret line and column in the file's lines, from 0.
    virtual int caretLine() const = 0;
    virtual int caretColumn() const = 0;
    // Shows the file in a tab (the one it is open in, or a new one).
    virtual void openFile(const QString& path) = 0;
    virtual void focusEditor() = 0;
    // Tells the user something went wrong (a link the desktop could not open).
    virtual void showMessage(const QString& text) = 0;

signals:
    // The current document is another one (or none).
    void currentChanged();
    // The current document's text changed.
    void textChanged();
    // The caret moved in the current document.
    void caretMoved();
};
