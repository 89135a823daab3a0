#include "app/filepanel.h"

#include "app/documentfile.h"
#include "app/filecommands.h"
#include "app/filelist.h"
#include "app/icons.h"
#include "app/settings.h"
#include "app/tfmmain.h"
#include "platform/product.h"
#include "platform/prompts.h"
#include "platform/widgetnames.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QSaveFile>
#include <QSplitter>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Menu items are named by their captions for accessibility.
QAction* namedAction(QAction* a, const char* name)
{
    a->setObjectName(QLatin1String(name));
    return a;
}

constexpr int kPathRole = Qt::UserRole + 1;

// A tag as a menu caption: "&" would be taken for a mnemonic, a tab for the
// start of a shortcut text.
QString menuCaption(QString text)
{
    text.replace(QLatin1Char('&'), QLatin1String("&&"));
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text;
}

const QString kNoTag = QStringLiteral("(なし）");

} // namespace

FilePanel::FilePanel(TFmMain& main) : m_main(main), m_tagText(kNoTag)
{
    setObjectName(QStringLiteral("FilePanel"));
    QWidget* page = main.controls().ToolTag1;
    auto* layout = qobject_cast<QVBoxLayout*>(page->layout());
    if (!layout)
        layout = new QVBoxLayout(page);

    auto* filterPanel = named(new QWidget(page), "FilterPanel");
    auto* fl = new QHBoxLayout(filterPanel);
    fl->setContentsMargins(1, 1, 1, 1);
    m_filter = named(new QComboBox(filterPanel), "FilterComboBox1", QStringLiteral("ﾌｧｲﾙの種類"));
    for (const filelist::FilterEntry& e : filelist::filterEntries())
        m_filter->addItem(e.name, e.patterns);
    m_filter->setCurrentIndex(0);
    m_filter->setMinimumContentsLength(8);
    m_filter->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    fl->addWidget(m_filter);
    layout->addWidget(filterPanel);

    auto* drivePanel = named(new QWidget(page), "DrivePanel");
    auto* dl = new QHBoxLayout(drivePanel);
    dl->setContentsMargins(1, 1, 1, 1);
    m_drive = named(new QComboBox(drivePanel), "DriveComboBox", QStringLiteral("ﾄﾞﾗｲﾌﾞ"));
    m_drive->setMinimumContentsLength(8);
    m_drive->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    dl->addWidget(m_drive);
    layout->addWidget(drivePanel);

    m_splitter = named(new QSplitter(Qt::Vertical, page), "Splitter5");
    m_splitter->setChildrenCollapsible(false);
    m_dirs = named(new QTreeWidget(m_splitter), "DirectoryListBox", QStringLiteral("ﾌｫﾙﾀﾞ"));
    m_dirs->setHeaderHidden(true);
    m_dirs->setColumnCount(1);
    m_dirs->setRootIsDecorated(false);
    m_dirs->setIndentation(10);
    m_files = named(new QListWidget(m_splitter), "FileListBox", QStringLiteral("ﾌｧｲﾙ"));
    m_files->setSelectionMode(QAbstractItemView::SingleSelection);
    m_files->setUniformItemSizes(true);
    m_files->setContextMenuPolicy(Qt::CustomContextMenu);
    m_splitter->addWidget(m_dirs);
    m_splitter->addWidget(m_files);
    layout->addWidget(m_splitter, 1);

    m_popPut = named(new QMenu(m_files), "PopPut");
    m_open = namedAction(m_popPut->addAction(QStringLiteral("開く(&O)")), "MLIstFileOpen");
    m_tagPut = namedAction(m_popPut->addAction(kNoTag), "MTagPut");
    m_fileCopy = namedAction(m_popPut->addAction(QStringLiteral("ﾌｧｲﾙを複製する(&A)")), "MFileCopy");
    m_open->setIcon(themedIcon(QStringLiteral("document-open"), QStringLiteral("open")));
    m_tagPut->setIcon(bundledIcon(QStringLiteral("tag")));
    m_fileCopy->setIcon(themedIcon(QStringLiteral("edit-copy"), QStringLiteral("copy")));
    m_fileCopy->setEnabled(false);
    main.documentCommands().add(m_tagPut);

    connect(m_filter, &QComboBox::currentIndexChanged, this, &FilePanel::FilterComboBox1Change);
    connect(m_drive, &QComboBox::currentIndexChanged, this, &FilePanel::DriveComboBoxChange);
    connect(m_dirs, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (item)
            DirectoryListBoxChange(item->data(0, kPathRole).toString());
    });
    connect(m_files, &QListWidget::currentItemChanged, this, [this] {
        if (!m_filling)
            FileListBoxChange();
    });
    connect(m_files, &QListWidget::itemDoubleClicked, this, &FilePanel::FileListBoxDblClick);
    connect(m_files, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopPutPopup();
        m_popPut->popup(m_files->viewport()->mapToGlobal(at));
    });
    connect(m_open, &QAction::triggered, this, &FilePanel::FileListBoxDblClick);
    connect(m_tagPut, &QAction::triggered, this, &FilePanel::MTagPutClick);
    connect(m_fileCopy, &QAction::triggered, this, &FilePanel::MFileCopyClick);

    fillDrives();
    showDirectory(existingDirectory(main.options().exeDir));
}

FilePanel::~FilePanel() = default;

// ------------------------------------------------------------------ settings

void FilePanel::load(const Settings& s)
{
    if (s.drive >= 0 && s.drive < m_drive->count()) {
        const QSignalBlocker block(m_drive);
        m_drive->setCurrentIndex(s.drive);
    }
    showDirectory(existingDirectory(s.directory.isEmpty() ? m_main.options().exeDir : s.directory));
}

void FilePanel::store(Settings& s) const
{
    s.drive = m_drive->currentIndex();
    s.directory = QDir::toNativeSeparators(m_directory);
}

QString FilePanel::existingDirectory(const QString& wanted) const
{
    // A folder that is gone (an unplugged disk, a removed folder) gives way
    // to its nearest remaining parent.
    const QString base = m_main.options().exeDir.isEmpty() ? QDir::currentPath() : m_main.options().exeDir;
    QString dir = QDir::cleanPath(QDir(base).absoluteFilePath(wanted.isEmpty() ? base : wanted));
    while (!QFileInfo(dir).isDir()) {
        const QString up = QFileInfo(dir).path();
        if (up == dir)
            return QDir::homePath();
        dir = up;
    }
    return dir;
}

// ------------------------------------------------------------------ drives and folders

void FilePanel::fillDrives()
{
    QStringList roots;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        const QString root = v.rootPath();
        if (v.isValid() && v.isReady() && QFileInfo(root).isDir() && !roots.contains(root))
            roots << root;
    }
    roots.removeAll(QStringLiteral("/"));
    roots.sort();
    roots.prepend(QStringLiteral("/"));
    const QSignalBlocker block(m_drive);
    m_drive->clear();
    const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (const QString& r : roots)
        m_drive->addItem(icon, r);
}

QStringList FilePanel::drives() const
{
    QStringList out;
    for (int i = 0; i < m_drive->count(); ++i)
        out << m_drive->itemText(i);
    return out;
}

void FilePanel::selectDriveOf(const QString& dir)
{
    int best = 0;
    qsizetype bestLength = 0;
    for (int i = 0; i < m_drive->count(); ++i) {
        const QString root = m_drive->itemText(i);
        const bool inside = dir == root || root == QLatin1String("/")
                            || dir.startsWith(root + QLatin1Char('/'));
        if (inside && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    const QSignalBlocker block(m_drive);
    m_drive->setCurrentIndex(best);
}

void FilePanel::DriveComboBoxChange()
{
    const QString root = m_drive->currentText();
    if (!root.isEmpty())
        showDirectory(existingDirectory(root));
}

void FilePanel::DirectoryListBoxChange(const QString& dir)
{
    if (!dir.isEmpty() && dir != m_directory)
        showDirectory(existingDirectory(dir));
}

void FilePanel::showDirectory(const QString& dir)
{
    m_directory = dir;
    selectDriveOf(dir);
    fillDirectoryTree();
    fillFiles();
}

void FilePanel::fillDirectoryTree()
{
    m_dirs->clear();
    QStyle* style = QApplication::style();
    const QIcon closed = style->standardIcon(QStyle::SP_DirClosedIcon);
    const QIcon opened = style->standardIcon(QStyle::SP_DirOpenIcon);

    // The chain from the drive's root down to the folder, then its folders.
    const QString root = m_drive->currentText().isEmpty() ? QStringLiteral("/") : m_drive->currentText();
    QStringList chain;
    for (QString d = m_directory;; d = QFileInfo(d).path()) {
        chain.prepend(d);
        if (d == root || QFileInfo(d).path() == d)
            break;
    }
    QTreeWidgetItem* parent = nullptr;
    for (const QString& d : chain) {
        const QString name = parent ? QFileInfo(d).fileName() : d;
        auto* item = parent ? new QTreeWidgetItem(parent, {name}) : new QTreeWidgetItem(m_dirs, {name});
        item->setIcon(0, opened);
        item->setData(0, kPathRole, d);
        parent = item;
    }
    QStringList subdirs = QDir(m_directory).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(subdirs.begin(), subdirs.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    for (const QString& s : subdirs) {
        auto* item = new QTreeWidgetItem(parent, {s});
        item->setIcon(0, closed);
        item->setData(0, kPathRole, QDir(m_directory).filePath(s));
    }
    m_dirs->expandAll();
    m_dirs->setCurrentItem(parent);
    m_dirs->scrollToItem(parent);
}

// ------------------------------------------------------------------ files

QIcon FilePanel::iconFor(const QString& name)
{
    const QString ext = filelist::lowerExtension(name);
    auto it = m_icons.constFind(ext);
    if (it != m_icons.constEnd())
        return *it;
    static QFileIconProvider provider;
    const QIcon icon = provider.icon(QFileInfo(QDir(m_directory).filePath(name)));
    m_icons.insert(ext, icon);
    return icon;
}

void FilePanel::fillFiles(const QString& keepSelected)
{
    const filelist::NameFilter filter(m_filter->currentData().toString());
    const QStringList names = filelist::matchingFiles(m_directory, filter);
    m_filling = true;
    m_files->setUpdatesEnabled(false);
    m_files->clear();
    QListWidgetItem* keep = nullptr;
    for (const QString& n : names) {
        auto* item = new QListWidgetItem(iconFor(n), n, m_files);
        if (!keepSelected.isEmpty() && n == keepSelected)
            keep = item;
    }
    if (keep)
        m_files->setCurrentItem(keep);
    m_files->setUpdatesEnabled(true);
    m_filling = false;
    if (!keep)
        m_fileCopy->setEnabled(false);
}

void FilePanel::refresh()
{
    const QListWidgetItem* cur = m_files->currentItem();
    fillFiles(cur ? cur->text() : QString());
}

void FilePanel::FilterComboBox1Change()
{
    fillFiles();
}

QString FilePanel::selectedPath() const
{
    const QListWidgetItem* cur = m_files->currentItem();
    if (!cur || !cur->isSelected())
        return {};
    return QDir(m_directory).filePath(cur->text());
}

void FilePanel::FileListBoxChange()
{
    const QListWidgetItem* cur = m_files->currentItem();
    if (!cur)
        return;
    m_fileCopy->setEnabled(false);
    const QString name = cur->text();
    m_tagText = filelist::tagFor(name);
    m_tagPut->setText(menuCaption(m_tagText));
    if (filelist::isHtml(name))
        m_fileCopy->setEnabled(true);
}

void FilePanel::PopPutPopup()
{
    if (m_main.hasDocument())
        m_main.focusEditor();
}

void FilePanel::MTagPutClick()
{
    if (m_main.hasDocument())
        m_main.InsertTag(m_tagText);
}

void FilePanel::FileListBoxDblClick()
{
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    switch (filelist::openAsFor(QFileInfo(path).fileName())) {
    case filelist::OpenAs::Image: emit imageRequested(path); break;
    case filelist::OpenAs::Sound: emit soundRequested(path); break;
    case filelist::OpenAs::Document: openDocumentFile(m_main, path); break;
    }
}

void FilePanel::MFileCopyClick()
{
    const QString source = selectedPath();
    if (source.isEmpty() || !filelist::isHtml(QFileInfo(source).fileName()))
        return;
    // Read as a document is: a pipe or a device under an HTML name is refused.
    const FileReadResult read = readDocumentFile(source);
    if (!read.ok) {
        warn(QStringLiteral("%1 を読み込めません。\n%2")
                 .arg(QDir::toNativeSeparators(source), read.error));
        return;
    }
    const QByteArray& bytes = read.bytes;

    Prompts::FileRequest req;
    req.filter = saveDialogFilter();
    req.filterIndex = 1;
    req.proposedName = m_lastCopyName;
    req.directory = m_directory;
    const Prompts::FileAnswer a =
        askSavePath(m_main.prompts(), &m_main, req, pathWithFilterExtension);
    if (!a.accepted)
        return;
    QSaveFile out(a.path);
    if (!out.open(QIODevice::WriteOnly) || out.write(filelist::withCrLfLines(bytes)) < 0
        || !out.commit()) {
        warn(QStringLiteral("%1 に書き込めません。\n%2")
                 .arg(QDir::toNativeSeparators(a.path), out.errorString()));
        return;
    }
    m_lastCopyName = a.path;
    refresh();
}

void FilePanel::warn(const QString& text)
{
    m_main.prompts().message(&m_main, kProduct, text, Prompts::Icon::Warning, Prompts::Buttons::Ok);
}
