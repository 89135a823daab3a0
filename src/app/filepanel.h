#pragma once
// The "ﾌｧｲﾙ" page of the side panel: a file-type filter, the drives (the
// mounted volumes, "/" first), the folder tree of the chosen drive and the
// files of the chosen folder.  From the selected file the pop-up inserts a
// tag that names it, opens it (pictures and sounds in their builders,
// anything else as a document) or duplicates an HTML file.  The drive and
// folder are kept in the settings file ([File] Drive, Directory).

#include "app/settingsclient.h"

#include <QHash>
#include <QIcon>
#include <QObject>
#include <QString>

class QAction;
class QComboBox;
class QListWidget;
class QMenu;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;
class TFmMain;

class FilePanel : public QObject, public SettingsClient {
    Q_OBJECT
public:
    explicit FilePanel(TFmMain& main);
    ~FilePanel() override;

    // Handlers, public so that the program and tests can drive them.
    void FilterComboBox1Change();
    void DriveComboBoxChange();
    void DirectoryListBoxChange(const QString& dir);
    void FileListBoxChange();
    void FileListBoxDblClick();
    void PopPutPopup();
    void MTagPutClick();
    void MFileCopyClick();
    // Reads the folder again (after Save As and duplication).
    void refresh();

    // [File] Drive and Directory
    void load(const Settings& s) override;
    void store(Settings& s) const override;

    QString directory() const { return m_directory; }
    // The selected file's full path; empty when none is selected.
    QString selectedPath() const;
    // The tag MTagPut inserts (its caption without menu escapes).
    const QString& tagText() const { return m_tagText; }
    QStringList drives() const;

    QComboBox* FilterComboBox1() const { return m_filter; }
    QComboBox* DriveComboBox() const { return m_drive; }
    QTreeWidget* DirectoryListBox() const { return m_dirs; }
    QListWidget* FileListBox() const { return m_files; }
    QMenu* PopPut() const { return m_popPut; }
    QAction* MLIstFileOpen() const { return m_open; }
    QAction* MTagPut() const { return m_tagPut; }
    QAction* MFileCopy() const { return m_fileCopy; }

signals:
    // A picture or sound to show in its builder (full path).
    void imageRequested(const QString& path);
    void soundRequested(const QString& path);

private:
    void fillDrives();
    void showDirectory(const QString& dir);
    void fillDirectoryTree();
    void fillFiles(const QString& keepSelected = {});
    void selectDriveOf(const QString& dir);
    QIcon iconFor(const QString& name);
    QString existingDirectory(const QString& wanted) const;
    void warn(const QString& text);

    TFmMain& m_main;
    QString m_directory;
    QString m_tagText;
    QString m_lastCopyName;
    bool m_filling = false;
    QHash<QString, QIcon> m_icons;

    QComboBox* m_filter = nullptr;
    QComboBox* m_drive = nullptr;
    QSplitter* m_splitter = nullptr;
    QTreeWidget* m_dirs = nullptr;
    QListWidget* m_files = nullptr;
    QMenu* m_popPut = nullptr;
    QAction* m_open = nullptr;
    QAction* m_tagPut = nullptr;
    QAction* m_fileCopy = nullptr;
};
