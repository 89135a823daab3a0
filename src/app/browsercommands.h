#pragma once
// The Browser and Help menus: the saved page in the default browser
// (BtnBrowse, IE1), in the two named browsers (MNN4, InterNeteXPLOLOR1),
// the help file (Help2, F1) and the maker's web page.

#include <QObject>
#include <QString>
#include <memory>

class DesktopShell;
class QTemporaryDir;
class TFmMain;

// The maker's web page; a deployment sets its own when building.
#ifndef QN4_MAKER_URL
#define QN4_MAKER_URL "https://brightfern.example/quillnest4/"
#endif

class BrowserCommands : public QObject {
    Q_OBJECT
public:
    explicit BrowserCommands(TFmMain& main);
    ~BrowserCommands() override;

    void BtnBrowseClick();
    void MNN4Click();
    void InterNeteXPLOLOR1Click();
    void Help2Click();
    void BrightfernHomePage1Click();

    // "Qn4.hlp" beside the executable.
    QString helpFile() const;

private:
    void namedBrowser(const QString& service);
    void message(const QString& text, bool error);

    TFmMain& m_main;
    std::unique_ptr<DesktopShell> m_shell;
    // Holds the help's copy while we run (made at the first F1).
    std::unique_ptr<QTemporaryDir> m_helpDir;
};
