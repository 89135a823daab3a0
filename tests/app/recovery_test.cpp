// Crash recovery inside one process: what is written when, what goes when
// a document is saved or closed, and what a later run offers back.
#include "app/recovery.h"
#include "app/tfmrecover.h"
#include "composition.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

class Recovery : public MainWindowTest {
protected:
    void SetUp() override { recoveryDir = dir.filePath(QStringLiteral("recovery")); }
    RecoveryUnit& unit() { return *unitsOf(*w)->recovery; }
    QStringList files() const
    {
        return QDir(recoveryDir).entryList({QStringLiteral("*.qn4r")}, QDir::Files);
    }
    // A recovery file as a run that died would have left it (no lock).
    void leaveBehind(const QString& run, int n, const QString& path, bool hasFile,
                     const QString& text)
    {
        QDir().mkpath(recoveryDir);
        ASSERT_TRUE(writeAll(QDir(recoveryDir).filePath(QStringLiteral("%1-%2.qn4r").arg(run).arg(n)),
                             RecoveryStore::format(path, hasFile, sjis::LineBreak::Lf, text)));
    }
};

} // namespace

TEST_F(Recovery, ChangedDocumentsAreKeptUntilSavedOrClosed)
{
    TFmMain& m = makeWindow(true);
    const QString file = path(QStringLiteral("a.htm"));
    ASSERT_TRUE(writeAll(file, "<P>\r\n"));
    prompts.answerOpen(file);
    m.action("MOpen")->trigger();
    unit().flush();
    EXPECT_TRUE(files().isEmpty()) << "an opened file is not a change";

    QTest::keyClicks(m.CurrentEdit(), "ab");
    EXPECT_TRUE(files().isEmpty()) << "written a few seconds after the last change";
    unit().flush();
    ASSERT_EQ(files().size(), 1);
    auto kept = RecoveryStore::parse(readAll(QDir(recoveryDir).filePath(files()[0])));
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->text, QStringLiteral("ab<P>\n"));
    EXPECT_EQ(kept->path, file);
    EXPECT_TRUE(kept->hasFile);

    m.action("MSave")->trigger();
    EXPECT_TRUE(files().isEmpty()) << "saved: the file on disk is the document";

    // A new page that is never saved: closed with No, its file goes too.
    m.action("MWhite")->trigger();
    QTest::keyClicks(m.CurrentEdit(), "x");
    unit().flush();
    EXPECT_EQ(files().size(), 1);
    prompts.answerMessage(Prompts::Answer::No);
    m.action("MOneClose")->trigger();
    EXPECT_TRUE(files().isEmpty());
    // A live run's files are never offered, not even to itself.
    EXPECT_TRUE(unit().store().leftBehind().empty());
}

TEST_F(Recovery, ALaterRunOffersWhatADeadRunLeftBehind)
{
    leaveBehind(QStringLiteral("99999_1"), 1, path(QStringLiteral("page.htm")), true,
                QStringLiteral("<HTML>\n変更\n"));
    leaveBehind(QStringLiteral("99999_1"), 3, QStringLiteral("Page3"), false, QStringLiteral("scratch"));
    TFmMain& m = makeWindow(true);

    // Closed without a choice: nothing restored, nothing lost.
    prompts.answerDialog([](QDialog& d) { return d.reject(), int(QDialog::Rejected); });
    EXPECT_EQ(unit().offer(), 0);
    EXPECT_EQ(files().size(), 2);

    // Enter restores every ticked one; the second is unticked by a click.
    prompts.answerDialog([](QDialog& d) {
        auto& dlg = static_cast<TFmRecover&>(d);
        dlg.show();
        QListWidget* list = dlg.DocList;
        EXPECT_EQ(list->count(), 2);
        const QRect row = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          QPoint(row.left() + list->style()->pixelMetric(QStyle::PM_IndicatorWidth) / 2 + 2,
                                 row.center().y()));
        EXPECT_EQ(list->item(1)->checkState(), Qt::Unchecked);
        QTest::keyClick(&dlg, Qt::Key_Return);
        return dlg.result();
    });
    EXPECT_EQ(unit().offer(), 1);
    ASSERT_EQ(m.DocumentCount(), 1);
    Document* d = m.currentDocument();
    EXPECT_EQ(d->path, path(QStringLiteral("page.htm")));
    EXPECT_TRUE(d->hasFile);
    EXPECT_TRUE(d->modified());
    EXPECT_EQ(m.statusPanel(1), QStringLiteral("変更あり"));
    EXPECT_EQ(currentText(), QStringLiteral("<HTML>\n変更\n"));
    // The dead run's files are gone; the restored document is kept under
    // this run's name at once.
    ASSERT_EQ(files().size(), 1);
    EXPECT_FALSE(files()[0].startsWith(QStringLiteral("99999_1-")));

    // Saving writes the restored text with the file's own line break.
    m.action("MSave")->trigger();
    EXPECT_EQ(readAll(path(QStringLiteral("page.htm"))), QByteArray("<HTML>\n\x95\xcf\x8d\x58\n"));
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(Recovery, AFileWithMixedBreaksComesBackWithEachLinesOwnBreak)
{
    TFmMain& m = makeWindow(true);
    const QString file = path(QStringLiteral("mixed.htm"));
    // Mixed breaks, and a long line held in pieces.
    const QByteArray bytes = "a\r\nb\nc\rd\r\n" + QByteArray(5000, 'x') + "\ne";
    ASSERT_TRUE(writeAll(file, bytes));
    prompts.answerOpen(file);
    m.action("MOpen")->trigger();
    QTest::keyClicks(m.CurrentEdit(), "z");
    unit().flush();
    ASSERT_EQ(files().size(), 1);
    const QString kept = QDir(recoveryDir).filePath(files()[0]);
    const QString left = QDir(recoveryDir).filePath(QStringLiteral("99999_1-1.qn4r"));
    ASSERT_TRUE(QFile::copy(kept, left));   // as if the run had died
    prompts.answerMessage(Prompts::Answer::No);
    m.action("MOneClose")->trigger();

    prompts.answerDialog([](QDialog& d) {
        d.show();
        QTest::keyClick(&d, Qt::Key_Return);
        return d.result();
    });
    ASSERT_EQ(unit().offer(), 1);
    m.action("MSave")->trigger();
    EXPECT_EQ(readAll(file), "z" + bytes);
}
