// The "ﾌｧｲﾙ" page: filter, folders, the tag for the selected file, opening
// by type (pictures and sounds in their builders) and duplicating HTML.
#include "app/filecommands.h"
#include "app/filepanel.h"
#include "builders/image/imageunit.h"
#include "builders/image/tfmcg.h"
#include "builders/sound/soundunit.h"
#include "builders/sound/tfmmusic.h"
#include "composition.h"
#include "support/mainwindow.h"
#include "support/pictures.h"
#include "support/testfiles.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace {

class FilePanelTest : public MainWindowTest {
protected:
    // A folder of files, shown by the panel from the start.
    TFmMain& start(const QStringList& names)
    {
        QDir(dir.path()).mkpath(QStringLiteral("site/sub"));
        for (const QString& n : names)
            writeAll(site(n), n.endsWith(QLatin1String(".bmp")) ? pictures::bmp(4, 3) : QByteArray("x"));
        writeAll(iniPath(), "[File]\r\nDrive=0\r\nDirectory=" + siteDir().toUtf8() + "\r\n");
        TFmMain& m = makeWindow(true);
        m.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&m));
        return m;
    }
    QString siteDir() const { return dir.filePath(QStringLiteral("site")); }
    QString site(const QString& name) const { return QDir(dir.filePath(QStringLiteral("site"))).filePath(name); }
    FilePanel& panel() const { return *unitsOf(*w)->filePanel; }
    QListWidget* list() const { return panel().FileListBox(); }

    QStringList listed() const
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }
    QPoint at(const QString& name) const
    {
        const QList<QListWidgetItem*> found = list()->findItems(name, Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1) << name.toStdString();
        return found.isEmpty() ? QPoint() : list()->visualItemRect(found.front()).center();
    }
    void click(const QString& name) { QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at(name)); }
    // What the window system sends for a double click: a click, then the
    // double click (QTest's double click alone lacks the first press).
    static void doubleClickAt(QWidget* w, QPoint p)
    {
        QTest::mouseClick(w, Qt::LeftButton, {}, p);
        QTest::mouseDClick(w, Qt::LeftButton, {}, p);
    }
    void doubleClick(const QString& name) { doubleClickAt(list()->viewport(), at(name)); }
    // Right-clicks the file and chooses `item` from the pop-up.
    void popUp(const QString& name, QAction* item)
    {
        click(name);
        QContextMenuEvent e(QContextMenuEvent::Mouse, at(name), list()->viewport()->mapToGlobal(at(name)));
        QApplication::sendEvent(list()->viewport(), &e);
        QMenu* menu = panel().PopPut();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }
    // The window itself is the active one (a tool window also counts as
    // active while its main window is).
    static bool becomesActive(QWidget* w)
    {
        return QTest::qWaitFor([w] { return QApplication::activeWindow() == w; });
    }
    void chooseFilter(Qt::Key key)
    {
        QComboBox* f = panel().FilterComboBox1();
        f->setFocus();
        QTest::keyClick(f, key);
    }
};

} // namespace

TEST_F(FilePanelTest, FilterListsWhatItsPatternsMatch)
{
    start({"a.htm", "b.HTML", "c.gif", "dJPG", "e.wav", "f.mid", "g.txt", "h.jpeg", "i.bmp", "jwav", ".hidden.htm"});
    QComboBox* f = panel().FilterComboBox1();
    ASSERT_EQ(f->count(), 9);
    EXPECT_EQ(f->currentText(), QStringLiteral("すべてのファイル (*.*)"));
    EXPECT_EQ(f->itemText(8), QStringLiteral("すべてのｻﾎﾟｰﾄﾌｧｲﾙ"));
    EXPECT_EQ(listed(), QStringList({"a.htm", "b.HTML", "c.gif", "dJPG", "e.wav", "f.mid", "g.txt", "h.jpeg",
                                     "i.bmp", "jwav"}));
    // The last pattern list holds "*jpg" and "*wav" without their dots.
    chooseFilter(Qt::Key_End);
    EXPECT_EQ(listed(), QStringList({"a.htm", "b.HTML", "c.gif", "dJPG", "e.wav", "f.mid", "jwav"}));
    chooseFilter(Qt::Key_Home);
    chooseFilter(Qt::Key_Down);
    EXPECT_EQ(listed(), QStringList({"a.htm", "b.HTML"}));

    // A folder is opened from the folder list.
    QTreeWidget* dirs = panel().DirectoryListBox();
    const QList<QTreeWidgetItem*> sub = dirs->findItems(QStringLiteral("sub"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(sub.size(), 1);
    doubleClickAt(dirs->viewport(), dirs->visualItemRect(sub.front()).center());
    EXPECT_EQ(panel().directory(), site(QStringLiteral("sub")));
    EXPECT_TRUE(listed().isEmpty());
}

TEST_F(FilePanelTest, TheTagFollowsTheSelectionAndKeepsTheNamesCase)
{
    start({"a.wav", "b.txt", "c.HTM", "photo.GIF", "R&D.gif", "loop.mid"});
    QAction* tag = panel().MTagPut();
    QAction* copy = panel().MFileCopy();
    EXPECT_EQ(tag->text(), QStringLiteral("(なし）"));
    EXPECT_FALSE(tag->isEnabled());   // no document
    EXPECT_FALSE(copy->isEnabled());

    click(QStringLiteral("a.wav"));
    EXPECT_EQ(tag->text(), QStringLiteral("<BGSOUND SRC=\"a.wav\" LOOP=INFINITE>"));
    click(QStringLiteral("b.txt"));
    EXPECT_EQ(tag->text(), QStringLiteral("<A HREF=\"b.txt\"></A>"));
    EXPECT_FALSE(copy->isEnabled());
    click(QStringLiteral("c.HTM"));
    EXPECT_TRUE(copy->isEnabled());
    click(QStringLiteral("photo.GIF"));
    EXPECT_EQ(tag->text(), QStringLiteral("<IMG SRC=\"photo.GIF\" ALT=\"photo.GIF\">"));
    EXPECT_FALSE(copy->isEnabled());
    // "&" shows as itself in the menu and goes into the tag once.
    click(QStringLiteral("R&D.gif"));
    EXPECT_EQ(tag->text(), QStringLiteral("<IMG SRC=\"R&&D.gif\" ALT=\"R&&D.gif\">"));
    EXPECT_EQ(panel().tagText(), QStringLiteral("<IMG SRC=\"R&D.gif\" ALT=\"R&D.gif\">"));
}

TEST_F(FilePanelTest, InsertingTheTagWrapsTheSelection)
{
    start({"a.gif", "b.txt"});
    w->action("MWhite")->trigger();
    type(QStringLiteral("xyz"));
    QTest::keyClick(w->CurrentEdit(), Qt::Key_Home, Qt::ShiftModifier);
    popUp(QStringLiteral("a.gif"), panel().MTagPut());
    EXPECT_EQ(currentText(), QStringLiteral("<IMG SRC=\"a.gif\" ALT=\"a.gif\">xyz"));

    w->action("MWhite")->trigger();
    type(QStringLiteral("xyz"));
    QTest::keyClick(w->CurrentEdit(), Qt::Key_Home, Qt::ShiftModifier);
    popUp(QStringLiteral("b.txt"), panel().MTagPut());
    EXPECT_EQ(currentText(), QStringLiteral("<A HREF=\"b.txt\">xyz</A>"));
}

TEST_F(FilePanelTest, DoubleClickOpensPicturesAndSoundsInTheirBuildersAndTheRestAsDocuments)
{
    TFmMain& m = start({"pic.bmp", "song.au", "loop.mid"});
    m.move(30, 20);
    TFmCg* cg = unitsOf(m)->image->window();
    doubleClick(QStringLiteral("pic.bmp"));
    ASSERT_TRUE(becomesActive(cg));
    EXPECT_EQ(cg->pos(), m.pos() + QPoint(290, 100));
    EXPECT_EQ(cg->tagText(), QStringLiteral(" <IMG SRC=\"pic.bmp\">"));
    EXPECT_FALSE(m.controls().MCg->isEnabled());
    EXPECT_FALSE(m.controls().ToolCg->isEnabled());
    // The placement is shared with the builder's own command, which starts
    // with no picture.
    cg->move(400, 300);
    cg->close();
    EXPECT_TRUE(m.controls().MCg->isEnabled());
    m.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    m.controls().MCg->trigger();
    ASSERT_TRUE(becomesActive(cg));
    EXPECT_EQ(cg->pos(), QPoint(400, 300));
    EXPECT_EQ(cg->tagText(), QStringLiteral("<IMG SRC=\"\">"));
    EXPECT_TRUE(cg->values().imageFile().isEmpty());
    cg->close();

    m.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m));
    doubleClick(QStringLiteral("song.au"));
    EXPECT_EQ(w->editControl()->tabText(w->editControl()->currentIndex()), QStringLiteral("song.au"));
    EXPECT_EQ(currentText(), QStringLiteral("x"));

    TFmMusic* music = unitsOf(m)->sound->window();
    doubleClick(QStringLiteral("loop.mid"));
    ASSERT_TRUE(becomesActive(music));
    EXPECT_EQ(music->tagText(), QStringLiteral("<BGSOUND SRC=\"loop.mid\" LOOP=\"INFINITE\">"));
    EXPECT_TRUE(music->BtnPlay()->isEnabled());
    EXPECT_FALSE(m.controls().MSound->isEnabled());
    EXPECT_EQ(music->pos(), m.pos() + QPoint(290, 100));
}

TEST_F(FilePanelTest, DuplicatingAnHtmlFileWritesCrLfLinesAndRefreshesTheList)
{
    start({"page.htm"});
    writeAll(site(QStringLiteral("page.htm")), QByteArray("a\nb\r\nc\rd\x82\xa0", 10));
    prompts.cancelSave();
    popUp(QStringLiteral("page.htm"), panel().MFileCopy());
    EXPECT_EQ(listed(), QStringList{"page.htm"});

    prompts.answerSave(site(QStringLiteral("copy")), 1);
    popUp(QStringLiteral("page.htm"), panel().MFileCopy());
    EXPECT_EQ(readAll(site(QStringLiteral("copy.htm"))), QByteArray("a\r\nb\r\nc\r\nd\x82\xa0\r\n"));
    EXPECT_EQ(listed(), QStringList({"copy.htm", "page.htm"}));

    // An existing file is not replaced without asking.
    prompts.answerSave(site(QStringLiteral("copy")), 1);
    prompts.answerMessage(Prompts::Answer::No);
    prompts.cancelSave();
    popUp(QStringLiteral("page.htm"), panel().MFileCopy());
    EXPECT_EQ(readAll(site(QStringLiteral("copy.htm"))), QByteArray("a\r\nb\r\nc\r\nd\x82\xa0\r\n"));
    prompts.answerSave(site(QStringLiteral("other")), 2);
    popUp(QStringLiteral("page.htm"), panel().MFileCopy());
    EXPECT_TRUE(QFileInfo::exists(site(QStringLiteral("other.html"))));
}

TEST_F(FilePanelTest, DriveAndFolderAreKeptAndAVanishedFolderGivesWayToItsParent)
{
    // With no settings file the panel shows the program's own folder.
    makeWindow();
    EXPECT_EQ(panel().directory(), dir.path());

    QDir(dir.path()).mkpath(QStringLiteral("site"));
    writeAll(iniPath(), "[File]\r\nDrive=0\r\nDirectory=" + site(QStringLiteral("gone/deeper")).toUtf8() + "\r\n");
    TFmMain& m = makeWindow(true);
    EXPECT_EQ(panel().directory(), siteDir());
    EXPECT_EQ(panel().drives().value(0), QStringLiteral("/"));
    m.close();
    const Settings s = loadSettingsFile(iniPath());
    EXPECT_EQ(s.directory, siteDir());
    EXPECT_EQ(s.drive, 0);
}

TEST_F(FilePanelTest, SaveAsRefreshesTheList)
{
    start({"a.htm"});
    w->action("MWhite")->trigger();
    prompts.answerSave(site(QStringLiteral("new")), 1);
    w->action("MSaveAs")->trigger();
    EXPECT_EQ(listed(), QStringList({"a.htm", "new.htm"}));
}
