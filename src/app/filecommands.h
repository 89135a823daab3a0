#pragma once
// The File menu: blank page, open, the recent files, save, save as, save
// all, close, close all, page set-up and print, and the closing of the main
// window.  No command loses work: a save that fails or is cancelled keeps
// the document open and marked as changed.

#include "app/recentfiles.h"
#include "app/settingsclient.h"

#include <QObject>
#include <memory>
#include <vector>

class QPrinter;
class TFmMain;
struct Document;

// Reads `path` into a new document tab (lossless Shift_JIS).  When the file
// cannot be read a message names it and no tab is made; returns false then.
// Used by Open, the recent files and the file panel.
bool openDocumentFile(TFmMain& main, const QString& path);

// "… は他のプログラムによって変更されています。上書きしますか？"
QString changedOnDiskQuestion(const QString& path);

// The save dialog's filter: "HTMLﾌｧｲﾙ(*htm)|*.htm|HTMLﾌｧｲﾙ(*.html)|*.html|ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt".
const QString& saveDialogFilter();

// The path a save dialog's answer stands for: a name without extension gets
// ".htm", ".html" or ".txt" for the filter entry 1, 2 or 3.
QString pathWithFilterExtension(const QString& path, int filterIndex);

class FileCommands : public QObject, public SettingsClient {
    Q_OBJECT
public:
    explicit FileCommands(TFmMain& main);
    ~FileCommands() override;

    void MWhiteClick();
    void MOpenClick();
    void MRClick(int k);            // MR1Click .. MR5Click
    void MSaveClick() { SaveCurrent(); }
    void MSaveAsClick() { SaveCurrentAs(); }
    void MAllSaveClick();
    void MOneCloseClick();
    void MAllDeleteClick() { CloseAll(); }
    void PrintSetClick();
    void MPrintStartClick();
    void File1Click();

    // Each returns true when the document was written.
    bool SaveCurrent();
    bool SaveCurrentAs();
    // Closes every document in number order with its question; stops and
    // returns false when the user cancels or a needed save does not happen.
    bool CloseAll();
    // Closing the main window: CloseAll, then the settings are written.
    // Returns whether the window may close.
    bool FormClose();

    const RecentFiles& recent() const { return m_recent; }
    QPrinter& printer();

    // [MR] 1..5
    void load(const Settings& s) override;
    void store(Settings& s) const override;

signals:
    // A file was written through a save dialog (the file panel refreshes).
    void filesChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool saveAs(Document& doc);
    // Asks before writing over a file that another program changed since
    // it was opened or saved here; true when the save may go ahead.
    bool mayOverwrite(Document& doc, const QString& path);
    // Tells of files changed by other programs while the window is in use.
    void noticeDiskChange(int number);
    void tellDiskChanges();
    void addRecent(const QString& path);
    bool mayClose(Document& doc);
    void warn(const QString& text);

    TFmMain& m_main;
    RecentFiles m_recent;
    std::unique_ptr<QPrinter> m_printer;
    std::vector<int> m_diskNotices;   // documents whose file changed, not yet told
    bool m_telling = false;
};
