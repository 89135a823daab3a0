// What a screen reader reads in every window of the program, through Qt's
// accessibility interfaces, and how the panels that show a tag fit their
// windows.
#include "builders/image/imagetag.h"
#include "builders/image/imageunit.h"
#include "builders/image/tfmcg.h"
#include "builders/image/tfmoption.h"
#include "builders/image/tfmsize.h"
#include "builders/sound/soundtag.h"
#include "builders/sound/soundunit.h"
#include "builders/sound/tfmmoption.h"
#include "builders/sound/tfmmusic.h"
#include "builders/table/tableunit.h"
#include "builders/table/tablesettings.h"
#include "builders/table/tfmhead.h"
#include "builders/table/tfmtablebody.h"
#include "composition.h"
#include "custom/tfmtag.h"
#include "platform/textpanel.h"

#include "support/mainwindow.h"
#include "support/pictures.h"
#include "support/testfiles.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

namespace {

QString spoken(const QString& caption)
{
    QString out = caption;
    out.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return out;
}

// The text a widget shows on screen.
QString shownText(const QWidget* w)
{
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    return QString();
}

QString accessibleName(QWidget* w)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

// The faults a screen reader meets among the visible widgets of `root`:
// internal names read out, shown texts that cannot be read, controls the
// keyboard reaches with nothing to announce.
QStringList namingFaults(QWidget* root)
{
    QStringList faults;
    QList<QWidget*> all = root->findChildren<QWidget*>();
    all.prepend(root);
    for (QWidget* w : all) {
        if (!w->isVisible() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const QString name = accessibleName(w);
        const QString where = QStringLiteral("%1 > %2 (%3)")
                                  .arg(root->objectName(), w->objectName(),
                                       QLatin1String(w->metaObject()->className()));
        const QString shown = spoken(shownText(w)).trimmed();
        if (!w->objectName().isEmpty() && name == w->objectName() && name != shown)
            faults << where + QStringLiteral(": read as its internal name");
        if (!shown.isEmpty() && !name.contains(shown))
            faults << where + QStringLiteral(": shows \"%1\" but reads \"%2\"").arg(shown, name);
        QWidget* p = w->parentWidget();
        const bool part = p && (qobject_cast<QComboBox*>(p) || p->inherits("QAbstractSpinBox"));
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && !part && !w->focusProxy()
            && name.isEmpty())
            faults << where + QStringLiteral(": reached by Tab but has no name");
    }
    return faults;
}

// Every window of the program (menus and the popup lists of combo boxes
// are Qt's own).
QList<QWidget*> programWindows()
{
    QList<QWidget*> out;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isWindow() || qobject_cast<QMenu*>(w) || w->windowType() == Qt::Popup
            || w->windowType() == Qt::ToolTip || w->inherits("QComboBoxPrivateContainer"))
            continue;
        out << w;
    }
    return out;
}

QStringList faultsWhenShown(QWidget* w)
{
    const bool wasVisible = w->isVisible();
    w->show();
    QApplication::processEvents();
    QStringList faults = namingFaults(w);
    if (!wasVisible)
        w->hide();
    return faults;
}

} // namespace

using ScreenReader = MainWindowTest;

TEST_F(ScreenReader, EveryWindowReadsWhatItShowsAndNoInternalName)
{
    TFmMain& m = makeWindow(true);
    QStringList faults;
    QStringList windows;
    for (QWidget* w : programWindows()) {
        windows << w->objectName();
        faults << faultsWhenShown(w);
    }
    // The dialogs made for each use.
    ImageTag image;
    SoundTag sound;
    TFmSize size(image, prompts, &m);
    TFmOption option(image, prompts, &m);
    TFmMoption loop(sound, prompts, &m);
    for (QWidget* w : {static_cast<QWidget*>(&size), static_cast<QWidget*>(&option),
                       static_cast<QWidget*>(&loop)}) {
        windows << w->objectName();
        faults << faultsWhenShown(w);
    }
    for (const char* expected : {"FmMain", "FmTableBody", "FmHead", "FmCg", "FmMusic", "FmColor", "FmTag"})
        EXPECT_TRUE(windows.contains(QLatin1String(expected))) << expected;
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
}

TEST_F(ScreenReader, PanelsAreReadAsTheyChangeAndAnnounceIt)
{
    TFmMain& m = makeWindow(true);
    Units& u = *unitsOf(m);
    TFmTableBody* table = u.table->window();
    table->show();
    QApplication::processEvents();

    // The cell panel: its strip caption, then the tag it shows.
    table->BodyGridSelectCell(1, 1);
    QLabel* td = table->findChild<QLabel*>(QStringLiteral("TDPanel"));
    ASSERT_NE(td, nullptr);
    EXPECT_EQ(accessibleName(td), QStringLiteral("ｾﾙ設定 <TD ALIGN=\"left\" WIDTH=\"80\" HEIGHT=\"16\"></TD>"));
    table->HeaderControl1SectionClick(TFmTableBody::AddColumn);
    table->BodyGridSelectCell(2, 1);
    EXPECT_TRUE(accessibleName(td).endsWith(QStringLiteral("<TD ALIGN=\"left\" WIDTH=\"80\" HEIGHT=\"16\"></TD>")));
    // A label without a name of its own is the one Qt announces on every new
    // text (NameChanged); the caption is the interface's.
    EXPECT_TRUE(td->accessibleName().isEmpty());

    // The sound builder's state panel in its status bar.
    TFmMusic* music = u.sound->window();
    music->show();
    QApplication::processEvents();
    QLabel* state = music->findChild<QLabel*>(QStringLiteral("StatusPanel1"));
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(accessibleName(state), QStringLiteral("停止"));

    // The sound builder's tag, as the loop and the file change.
    QLabel* tag = music->findChild<QLabel*>(QStringLiteral("MusicPanel"));
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(accessibleName(tag), QStringLiteral("<BGSOUND SRC=\"\" LOOP=\"INFINITE\">"));
    prompts.answerDialog([](QDialog& d) {
        auto& loop = static_cast<TFmMoption&>(d);
        loop.LoopEdit()->setCurrentText(QStringLiteral("5"));
        loop.BitBtn1Click();
        return d.result();
    });
    music->BtnLoopSetClick();
    EXPECT_EQ(accessibleName(tag), QStringLiteral("<BGSOUND SRC=\"\" LOOP=\"5\">"));

    // The tag menu's description line follows the entry selected.
    auto* tagMenu = m.findChild<TFmTag*>(QStringLiteral("FmTag"));
    ASSERT_NE(tagMenu, nullptr);
    tagMenu->show();
    QApplication::processEvents();
    EXPECT_EQ(accessibleName(tagMenu->Panel2), QStringLiteral("説明："));
    tagMenu->CheckListBox1->setCurrentRow(6);   // <B></B>
    EXPECT_EQ(accessibleName(tagMenu->Panel2), QStringLiteral("説明：太字で表記"));
    tagMenu->hide();

    // The colour picker's swatches tell the component they show.
    QWidget* picker = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("FmColor"))
            picker = w;
    ASSERT_NE(picker, nullptr);
    picker->findChild<QScrollBar*>(QStringLiteral("ScrollBar1"))->setValue(128);
    EXPECT_EQ(accessibleName(picker->findChild<QWidget*>(QStringLiteral("Panel7"))), QStringLiteral("R 128"));
    EXPECT_EQ(accessibleName(picker->findChild<QWidget*>(QStringLiteral("ScrollBar1"))), QStringLiteral("R"));
}

TEST_F(ScreenReader, TagPanelsNeverWidenTheirWindowAndStayReadable)
{
    TFmMain& m = makeWindow(true);
    Units& u = *unitsOf(m);

    // Table builder: eight attributes, one of them a long ALIGN.
    TFmTableBody* table = u.table->window();
    table->show();
    QApplication::processEvents();
    const int minimum = table->minimumSizeHint().width();
    const int width = table->width();
    const QString align(400, QLatin1Char('x'));
    prompts.answerDialog([&](QDialog& d) {
        auto& head = static_cast<TFmHead&>(d);
        const char* values[] = {"", "100", "50", "1", "2", "3"};
        head.combo(TableSettings::Align)->setCurrentText(align);
        for (int i = 1; i < TableSettings::kComboCount; ++i)
            head.combo(i)->setCurrentText(QLatin1String(values[i]));
        head.tabs()->setCurrentIndex(0);
        head.colorItemClick(9);
        head.tabs()->setCurrentIndex(1);
        head.colorItemClick(4);
        head.BitBtn1Click();
        return d.result();
    });
    table->HeaderControl1SectionClick(TFmTableBody::Settings);
    QApplication::processEvents();
    const QString tag = table->tableTagText();
    ASSERT_TRUE(tag.contains(align));
    EXPECT_LE(table->minimumSizeHint().width(), minimum);
    EXPECT_EQ(table->width(), width);
    QLabel* tablePanel = table->findChild<QLabel*>(QStringLiteral("tablePanel"));
    EXPECT_LE(tablePanel->geometry().right(), table->width());
    EXPECT_TRUE(accessibleName(tablePanel).contains(tag.trimmed()));

    // Image builder: a long name; the tag's line stays clear of the scroll bar.
    const QString longName = QString(120, QLatin1Char('p')) + QStringLiteral(".gif");
    writeAll(path(longName), pictures::gif(8, 8));
    TFmCg* cg = u.image->window();
    cg->show();
    QApplication::processEvents();
    prompts.answerOpen(path(longName));
    cg->SpeedButton1Click();
    QApplication::processEvents();
    QLabel* tagPanel = cg->findChild<QLabel*>(QStringLiteral("TagPanel"));
    auto* box = cg->findChild<QScrollArea*>(QStringLiteral("ScrollBox2"));
    ASSERT_TRUE(tagPanel && box);
    EXPECT_TRUE(box->horizontalScrollBar()->isVisible());
    EXPECT_GE(box->viewport()->height(), tagPanel->sizeHint().height());
    EXPECT_LE(box->geometry().bottom(), cg->findChild<QWidget*>(QStringLiteral("StatusBar1"))->geometry().top());
    EXPECT_EQ(accessibleName(tagPanel).trimmed(), QStringLiteral("<IMG SRC=\"%1\">").arg(longName));

    // Sound builder: a long file name and a loop count; LOOP stays in sight.
    TFmMusic* music = u.sound->window();
    music->show();
    QApplication::processEvents();
    const int soundMinimum = music->minimumSizeHint().width();
    prompts.answerDialog([](QDialog& d) {
        auto& loop = static_cast<TFmMoption&>(d);
        loop.LoopEdit()->setCurrentText(QStringLiteral("12345"));
        loop.BitBtn1Click();
        return d.result();
    });
    music->BtnLoopSetClick();
    const QString soundName = QString(80, QLatin1Char('s')) + QStringLiteral(".wav");
    prompts.answerOpen(path(soundName));
    music->BtnMusicClick();
    QApplication::processEvents();
    const QString soundTag = QStringLiteral("<BGSOUND SRC=\"%1\" LOOP=\"12345\">").arg(soundName);
    EXPECT_EQ(music->tagText(), soundTag);
    auto* musicPanel = qobject_cast<TextPanel*>(music->findChild<QLabel*>(QStringLiteral("MusicPanel")));
    ASSERT_NE(musicPanel, nullptr) << "the sound tag is a plain label that clips";
    EXPECT_EQ(accessibleName(musicPanel), soundTag);
    EXPECT_TRUE(musicPanel->shownText().endsWith(QStringLiteral("LOOP=\"12345\">")))
        << musicPanel->shownText().toStdString();
    EXPECT_LE(musicPanel->fontMetrics().horizontalAdvance(musicPanel->shownText()),
              musicPanel->contentsRect().width());
    EXPECT_LE(music->minimumSizeHint().width(), soundMinimum);
}
