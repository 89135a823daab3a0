#include "builders/table/tfmcell.h"
#include "builders/table/tfmhead.h"
#include "builders/table/tfmtablebody.h"
#include "builders/table/tfmtableresult.h"
#include "platform/textpanel.h"

#include "support/fakeeditorport.h"
#include "support/scriptedprompts.h"
#include "support/typing.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class TableBuilder : public ::testing::Test {
protected:
    void SetUp() override
    {
        body.show();
        body.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&body));
    }

    void click(TFmTableBody::Section s)
    {
        QHeaderView* h = body.HeaderControl1();
        const QPoint at(h->sectionViewportPosition(s) + h->sectionSize(s) / 2, h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
    }

    void clickCell(int column, int row)
    {
        QTableView* g = body.BodyGrid();
        const QRect r = g->visualRect(g->model()->index(row - 1, column - 1));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    }

    // Two clicks as quick as a double click, as Qt delivers them: press,
    // release, double click, release.
    void quickClicks(TFmTableBody::Section s)
    {
        QHeaderView* h = body.HeaderControl1();
        const QPoint at(h->sectionViewportPosition(s) + h->sectionSize(s) / 2, h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(h->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(h->viewport(), Qt::LeftButton, {}, at);
    }

    QString cell(int column, int row) const
    {
        return body.BodyGrid()->model()->index(row - 1, column - 1).data().toString();
    }

    // Converts through the result window and copies all, as the user would.
    QStringList convert()
    {
        prompts.answerDialog([](QDialog& d) {
            static_cast<TFmTableResult&>(d).SpeedButton1()->click();
            return d.result();
        });
        click(TFmTableBody::Convert);
        return QApplication::clipboard()->text().split(QStringLiteral("\r\n"));
    }

    ScriptedPrompts prompts;
    FakeEditorPort sink;
    TFmTableBody body{prompts, sink};
};

// Replaces the text of an edit box as the user does: focus, select all, type.
void retype(QLineEdit* e, const QString& text)
{
    e->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Delete);
    typeText(e, text);
}

// The same for one of the settings dialog's combo boxes, on its own tab.
void retype(TFmHead& head, int attr, const QString& text)
{
    QComboBox* c = head.combo(attr);
    for (int i = 0; i < head.tabs()->count(); ++i)
        if (head.tabs()->widget(i)->isAncestorOf(c)) {
            QTabBar* bar = head.tabs()->tabBar();
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
        }
    retype(c->lineEdit(), text);
}

const QString kOneCellTd = QStringLiteral("<TD ALIGN=\"left\" WIDTH=\"80\" HEIGHT=\"16\" ><!-- Body:(1,1) --></TD>");

} // namespace

TEST_F(TableBuilder, DeletingTheLastColumnOrRowDoesNothing)
{
    EXPECT_EQ(body.statusText(), QStringLiteral("列：1行：1"));
    click(TFmTableBody::DeleteColumn);
    click(TFmTableBody::DeleteRow);
    EXPECT_EQ(body.BodyGrid()->model()->columnCount(), 1);
    EXPECT_EQ(body.BodyGrid()->model()->rowCount(), 1);
    EXPECT_EQ(body.statusText(), QStringLiteral("列：1行：1"));
    EXPECT_EQ(convert(), QStringList({"<TABLE >", "<TR>", kOneCellTd, "</TR>", "</TABLE>"}));
}

TEST_F(TableBuilder, AddedColumnIsLabelledDownEveryRowAndRelabelledAfterRemoval)
{
    click(TFmTableBody::AddRow);
    click(TFmTableBody::AddRow);
    click(TFmTableBody::AddColumn);
    EXPECT_EQ(body.statusText(), QStringLiteral("列：2行：3"));
    QAbstractItemModel* m = body.BodyGrid()->model();
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("2列(TD)"));
    EXPECT_EQ(m->headerData(2, Qt::Vertical).toString(), QStringLiteral("3行(TR)"));
    for (int r = 1; r <= 3; ++r)
        EXPECT_EQ(cell(2, r), QStringLiteral("Body:(%1,2)").arg(r));

    click(TFmTableBody::DeleteColumn);
    EXPECT_EQ(body.statusText(), QStringLiteral("列：1行：3"));
    click(TFmTableBody::AddColumn);
    EXPECT_EQ(body.BodyGrid()->horizontalHeader()->sectionSize(1), 80);
    EXPECT_EQ(cell(2, 3), QStringLiteral("Body:(3,2)"));
    EXPECT_EQ(convert().size(), 2 + 3 * (2 + 2));
}

TEST_F(TableBuilder, SettingsDialogFeedsTheTableTagAndRefusesNonNumbers)
{
    TFmHead* head = body.head();
    // First visit: a non-number is refused, the dialog stays and nothing is
    // stored; cancel.
    prompts.answerMessage(Prompts::Answer::Ok);
    prompts.answerDialog([head](QDialog&) {
        head->combo(TableSettings::Align)->setCurrentText(QStringLiteral("left"));
        head->combo(TableSettings::Border)->setCurrentText(QStringLiteral("abc"));
        head->combo(TableSettings::CellPadding)->setCurrentText(QStringLiteral("2"));
        head->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
        EXPECT_FALSE(head->result() == QDialog::Accepted);
        // A colour chosen on the second tab goes to BORDERCOLOR and stays
        // even though the dialog is cancelled.
        head->tabs()->setCurrentIndex(1);
        head->findChild<QAction*>(QStringLiteral("MRed"))->trigger();
        head->findChild<QPushButton*>(QStringLiteral("BitBtn2"))->click();
        return head->result();
    });
    click(TFmTableBody::Settings);
    EXPECT_EQ(prompts.messages(), QStringList{QStringLiteral("'abc' は数値ではありません")});
    EXPECT_EQ(head->Panel2()->text(), QStringLiteral("Red"));
    EXPECT_EQ(head->panel1()->text(), QStringLiteral("(なし)"));
    EXPECT_EQ(body.tablePanel()->text(), QStringLiteral(" <TABLE BORDERCOLOR=\"Red\" >"));

    // Second visit: the combos show what was stored; "01" is stored as "1".
    prompts.answerDialog([head](QDialog&) {
        EXPECT_EQ(head->combo(TableSettings::Align)->currentText(), QStringLiteral("(なし)"));
        EXPECT_EQ(head->combo(TableSettings::Border)->currentText(), QStringLiteral("(なし)"));
        head->combo(TableSettings::Align)->setCurrentText(QStringLiteral("left"));
        head->combo(TableSettings::Border)->setCurrentText(QStringLiteral("01"));
        head->tabs()->setCurrentIndex(0);
        head->findChild<QAction*>(QStringLiteral("MSilver"))->trigger();
        head->tabs()->setCurrentIndex(2);
        head->findChild<QAction*>(QStringLiteral("N1"))->trigger();
        head->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
        return head->result();
    });
    click(TFmTableBody::Settings);
    EXPECT_EQ(body.tablePanel()->text(), QStringLiteral(" <TABLE ALIGN=\"left\" BORDER=\"1\" BGCOLOR=\"Silver\" >"));
    EXPECT_EQ(head->Panel2()->text(), QStringLiteral("(なし)"));
    EXPECT_EQ(convert().first(), QStringLiteral("<TABLE ALIGN=\"left\" BORDER=\"1\" BGCOLOR=\"Silver\" >"));
    EXPECT_TRUE(prompts.exhausted());
}

TEST_F(TableBuilder, CancelAfterARefusedSettingKeepsWhatWasStored)
{
    TFmHead* head = body.head();
    auto press = [head](const char* name) {
        QTest::mouseClick(head->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    };
    prompts.answerDialog([&](QDialog&) {
        head->show();
        retype(*head, TableSettings::Border, QStringLiteral("1"));
        retype(*head, TableSettings::CellPadding, QStringLiteral("3"));
        press("BitBtn1");
        return head->result();
    });
    click(TFmTableBody::Settings);
    const QString stored = QStringLiteral(" <TABLE BORDER=\"1\" CELLPADDING=\"3\" >");
    EXPECT_EQ(body.tablePanel()->text(), stored);

    // Edits refused by one bad entry, then cancelled by the button, then by Esc.
    for (const bool escape : {false, true}) {
        prompts.answerMessage(Prompts::Answer::Ok);
        prompts.answerDialog([&](QDialog&) {
            head->show();
            retype(*head, TableSettings::Align, QStringLiteral("right"));
            retype(*head, TableSettings::Height, QStringLiteral("10px"));
            retype(*head, TableSettings::CellPadding, QStringLiteral("7"));
            press("BitBtn1");
            EXPECT_TRUE(head->isVisible());
            if (escape)
                QTest::keyClick(head->combo(TableSettings::Height)->lineEdit(), Qt::Key_Escape);
            else
                press("BitBtn2");
            EXPECT_FALSE(head->isVisible());
            return head->result();
        });
        click(TFmTableBody::Settings);
        EXPECT_EQ(prompts.messages().last(), QStringLiteral("'10px' は数値ではありません"));
        EXPECT_EQ(body.tablePanel()->text(), stored) << (escape ? "Esc" : "ｷｬﾝｾﾙ");
    }

    // Reopened, the dialog shows the stored settings, not the cancelled edits.
    prompts.answerDialog([&](QDialog&) {
        EXPECT_EQ(head->combo(TableSettings::Align)->currentText(), QStringLiteral("(なし)"));
        EXPECT_EQ(head->combo(TableSettings::Height)->currentText(), QStringLiteral("(なし)"));
        EXPECT_EQ(head->combo(TableSettings::Border)->currentText(), QStringLiteral("1"));
        EXPECT_EQ(head->combo(TableSettings::CellPadding)->currentText(), QStringLiteral("3"));
        head->reject();
        return head->result();
    });
    click(TFmTableBody::Settings);
    EXPECT_EQ(convert().first(), stored.mid(1));
    EXPECT_TRUE(prompts.exhausted());
}

TEST_F(TableBuilder, CellSettingsResizeTheWholeColumnAndRow)
{
    click(TFmTableBody::AddColumn);
    click(TFmTableBody::AddRow);
    clickCell(2, 2);
    EXPECT_EQ(body.TDPanel()->text(), QStringLiteral(" <TD ALIGN=\"left\" WIDTH=\"80\" HEIGHT=\"16\"></TD>"));

    TFmCell* dlg = body.cellDialog();
    prompts.answerMessage(Prompts::Answer::Ok);
    prompts.answerDialog([dlg](QDialog&) {
        EXPECT_EQ(dlg->WidthEdit()->text(), QStringLiteral("80"));
        dlg->WidthEdit()->setText(QStringLiteral("12x"));
        dlg->BtnOk()->click();                      // refused, stays open
        EXPECT_NE(dlg->result(), int(QDialog::Accepted));
        dlg->WidthEdit()->setText(QStringLiteral("0120"));
        dlg->HeightEdit()->setText(QStringLiteral("30"));
        dlg->BtnOk()->click();
        return dlg->result();
    });
    body.MEditingClick();
    EXPECT_EQ(prompts.messages(), QStringList{QStringLiteral("'12x' は数値ではありません")});
    EXPECT_EQ(body.BodyGrid()->horizontalHeader()->sectionSize(1), 120);
    EXPECT_EQ(body.BodyGrid()->verticalHeader()->sectionSize(1), 30);

    const QStringList lines = convert();
    EXPECT_EQ(lines[3], QStringLiteral("<TD ALIGN=\"left\" WIDTH=\"120\" HEIGHT=\"16\" ><!-- Body:(1,2) --></TD>"));
    EXPECT_EQ(lines[6], QStringLiteral("<TD ALIGN=\"left\" WIDTH=\"80\" HEIGHT=\"30\" ><!-- Body:(2,1) --></TD>"));
    EXPECT_EQ(lines[7], QStringLiteral("<TD ALIGN=\"left\" WIDTH=\"120\" HEIGHT=\"30\" ><!-- Body:(2,2) --></TD>"));

    // Deleting the selected column moves the selection into the grid, so the
    // next cell settings act on a column that exists.
    click(TFmTableBody::DeleteColumn);
    EXPECT_EQ(body.selectedCell().column, 1);
    EXPECT_EQ(body.selectedCell().widthText, QStringLiteral("80"));
}

TEST_F(TableBuilder, RefusedOrCancelledCellSettingsLeaveTheGridAlone)
{
    clickCell(1, 1);
    TFmCell* dlg = body.cellDialog();
    struct Try {
        const char* width;
        const char* height;
        QString message;
        bool escape;   // else the title bar
    };
    const QString range = QStringLiteral("'%1' は 1 から 9999 までの数値ではありません");
    const Try tries[] = {
        {"120", "x", QStringLiteral("'x' は数値ではありません"), true},
        {"-50", "99999999", range.arg(QStringLiteral("-50")), false},
        {"120", "99999999", range.arg(QStringLiteral("99999999")), true},
        {"0", "20", range.arg(QStringLiteral("0")), false},
    };
    for (const Try& t : tries) {
        prompts.answerMessage(Prompts::Answer::Ok);
        prompts.answerDialog([&](QDialog&) {
            dlg->show();
            retype(dlg->WidthEdit(), QString::fromLatin1(t.width));
            retype(dlg->HeightEdit(), QString::fromLatin1(t.height));
            QTest::mouseClick(dlg->BtnOk(), Qt::LeftButton);
            EXPECT_TRUE(dlg->isVisible()) << "refused, the dialog stays";
            if (t.escape)
                QTest::keyClick(dlg->HeightEdit(), Qt::Key_Escape);
            else
                dlg->close();
            EXPECT_FALSE(dlg->isVisible());
            return dlg->result();
        });
        body.MEditing()->trigger();
        EXPECT_EQ(prompts.messages().last(), t.message) << t.width << " " << t.height;
        EXPECT_EQ(body.BodyGrid()->horizontalHeader()->sectionSize(0), 80) << t.width;
        EXPECT_EQ(body.BodyGrid()->verticalHeader()->sectionSize(0), 16) << t.height;
        EXPECT_EQ(body.selectedCell().widthText, QStringLiteral("80"));
        EXPECT_EQ(body.selectedCell().heightText, QStringLiteral("16"));
    }
    EXPECT_EQ(convert()[2], kOneCellTd);

    // The ends of the range are taken.
    prompts.answerDialog([&](QDialog&) {
        dlg->show();
        retype(dlg->WidthEdit(), QStringLiteral("9999"));
        retype(dlg->HeightEdit(), QStringLiteral("1"));
        QTest::keyClick(dlg->HeightEdit(), Qt::Key_Return);
        return dlg->result();
    });
    body.MEditing()->trigger();
    EXPECT_EQ(body.BodyGrid()->horizontalHeader()->sectionSize(0), 9999);
    EXPECT_EQ(body.BodyGrid()->verticalHeader()->sectionSize(0), 1);
    EXPECT_EQ(convert()[2], QStringLiteral("<TD ALIGN=\"left\" WIDTH=\"9999\" HEIGHT=\"1\" ><!-- Body:(1,1) --></TD>"));
    EXPECT_TRUE(prompts.exhausted());
}

TEST_F(TableBuilder, QuickClicksOnTheHeaderEachCount)
{
    for (int i = 0; i < 100; ++i)
        quickClicks(TFmTableBody::AddColumn);
    EXPECT_EQ(body.BodyGrid()->model()->columnCount(), 201);
    quickClicks(TFmTableBody::DeleteColumn);
    quickClicks(TFmTableBody::AddRow);
    EXPECT_EQ(body.BodyGrid()->model()->columnCount(), 199);
    EXPECT_EQ(body.BodyGrid()->model()->rowCount(), 3);
    quickClicks(TFmTableBody::DeleteRow);
    EXPECT_EQ(body.BodyGrid()->model()->rowCount(), 1);
    EXPECT_EQ(body.statusText(), QStringLiteral("列：199行：1"));
    EXPECT_EQ(cell(199, 1), QStringLiteral("Body:(1,199)"));
}

TEST_F(TableBuilder, CellSettingsWithNothingSelectedReportTheEmptySize)
{
    prompts.answerMessage(Prompts::Answer::Ok);
    prompts.answerDialog([](QDialog& d) {
        d.reject();   // title bar
        return d.result();
    });
    body.MEditingClick();
    EXPECT_EQ(prompts.messages(), QStringList{QStringLiteral("'' は数値ではありません")});
    EXPECT_EQ(body.grid().columnWidth(1), 80);
}

TEST_F(TableBuilder, DraggedWidthShowsOnMouseMoveAndTheMenuOnReselection)
{
    QAction* mtd = body.MTd();
    const QString initial = QStringLiteral(" <TD ALIGN=\"left\" WIDTH=\"80\" HEIGHT=\"16\"></TD>");
    EXPECT_EQ(mtd->text(), initial);   // set on activation

    body.BodyGrid()->horizontalHeader()->resizeSection(0, 95);
    // Two points: a move to where the cursor already is sends nothing.
    QTest::mouseMove(body.BodyGrid()->viewport(), QPoint(3, 3));
    QTest::mouseMove(body.BodyGrid()->viewport(), QPoint(9, 7));
    EXPECT_EQ(body.TDPanel()->text(), QStringLiteral(" <TD ALIGN=\"left\" WIDTH=\"95\" HEIGHT=\"16\"></TD>"));
    EXPECT_EQ(mtd->text(), initial);
    clickCell(1, 1);
    EXPECT_EQ(mtd->text(), QStringLiteral(" <TD ALIGN=\"left\" WIDTH=\"95\" HEIGHT=\"16\"></TD>"));

    // The popup puts the focus in the document; the item inserts without the blank.
    body.TablePopPopup();
    EXPECT_EQ(sink.focused, 1);
    mtd->setEnabled(true);
    mtd->trigger();
    EXPECT_EQ(sink.inserted, QStringList{QStringLiteral("<TD ALIGN=\"left\" WIDTH=\"95\" HEIGHT=\"16\"></TD>")});
    sink.document = false;
    body.TablePopPopup();
    EXPECT_EQ(sink.focused, 1);
}

TEST_F(TableBuilder, ClosingHidesAndSignals)
{
    int closed = 0;
    QObject::connect(&body, &TFmTableBody::closed, [&] { ++closed; });
    body.close();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(body.isVisible());
    EXPECT_FALSE(body.MTd()->isEnabled());   // left to the document switch
}
