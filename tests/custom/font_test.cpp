// The editor font settings: the dialog, and what reaches the editors and
// the settings file.
#include "customwindow.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

using FontSettings = CustomWindow;

namespace {

void press(QDialog& d, const char* button)
{
    QTest::mouseClick(d.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
}

// Clicks a swatch and chooses a colour from the pop-up it opens.
void chooseColor(QDialog& d, const char* swatch, const char* item)
{
    press(d, swatch);
    auto* popup = d.findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isVisible());
    popup->findChild<QAction*>(QLatin1String(item))->trigger();
    popup->hide();
}

QComboBox* combo(QDialog& d, const char* name)
{
    return d.findChild<QComboBox*>(QLatin1String(name));
}

QColor base(const DocumentEditor* e)
{
    return e->palette().color(QPalette::Base);
}

} // namespace

TEST_F(FontSettings, OkAppliesToEveryEditorAndSaves)
{
    ASSERT_TRUE(writeAll(iniPath(), "[Font]\r\nSize=18\r\nColor=0\r\n"));
    DocumentEditor* first = openEditor(QStringLiteral("one"));
    DocumentEditor* second = openEditor(QStringLiteral("two"));
    QString shownSize;
    QColor textSwatch, backSwatch;
    whenDialog([&](QDialog& d) {
        shownSize = combo(d, "FontSize")->currentText();
        chooseColor(d, "PBkColor", "MNavy");
        chooseColor(d, "PFontColor", "MRed");
        chooseColor(d, "PFontColor", "MMaroon");
        QLineEdit* name = combo(d, "FontName")->lineEdit();
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("NoSuchFace"));
        press(d, "OK");
    });
    w->controls().MFont->trigger();
    EXPECT_EQ(shownSize, QStringLiteral("18"));
    for (const DocumentEditor* e : {first, second}) {
        EXPECT_EQ(e->font().families().value(0), QStringLiteral("NoSuchFace"));
        EXPECT_EQ(e->font().pointSize(), 18) << "OK without touching the size keeps it";
        EXPECT_EQ(base(e), QColor(0, 0, 0x80));
        EXPECT_EQ(e->palette().color(QPalette::Text), QColor(0x80, 0, 0));
    }
    EXPECT_TRUE(iniText().startsWith(
        QStringLiteral("[Font]\r\nType=NoSuchFace\r\nSize=18\r\nColor=1\r\nBkColor=4\r\n")));
}

TEST_F(FontSettings, CancelStillGivesEveryEditorTheCurrentOnesLook)
{
    DocumentEditor* first = openEditor();
    DocumentEditor* second = openEditor();
    second->zoomIn(3);
    const int zoomed = second->font().pointSize();
    ASSERT_NE(zoomed, first->font().pointSize());
    QString shown;
    whenDialog([&](QDialog& d) {
        shown = combo(d, "FontSize")->currentText();
        chooseColor(d, "PBkColor", "MNavy");
        press(d, "Cancel");
    });
    w->controls().MFont->trigger();
    EXPECT_EQ(shown, QString::number(zoomed)) << "the dialog starts from the current editor";
    EXPECT_EQ(first->font().pointSize(), zoomed);
    EXPECT_EQ(base(first), QColor(Qt::white)) << "the cancelled colour is not taken";
    EXPECT_TRUE(iniText().contains(QStringLiteral("Size=%1\r\n").arg(zoomed)));
}

TEST_F(FontSettings, WithoutADocumentTheSettingWaitsForTheNextEditor)
{
    ASSERT_TRUE(writeAll(iniPath(), "[Font]\r\nSize=17\r\nColor=99\r\n"));
    TFmMain& m = makeWindow(true);
    const QByteArray before = readAll(iniPath());
    int shown = -2;
    whenDialog([&](QDialog& d) {
        shown = combo(d, "FontSize")->currentIndex();
        chooseColor(d, "PBkColor", "MSilver");
        press(d, "OK");
    });
    m.controls().MFont->trigger();
    EXPECT_EQ(shown, -1) << "17 is not in the list";
    EXPECT_EQ(readAll(iniPath()), before) << "nothing saved without a document";
    DocumentEditor* e = openEditor();
    EXPECT_EQ(base(e), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(e->font().pointSize(), 17);

    // Color=99 left the system text colour, written as its index or, when
    // it is none of the sixteen, as 0.
    m.close();
    EXPECT_TRUE(iniText().contains(QStringLiteral("Size=17\r\nColor=0\r\nBkColor=8\r\n")));
}

TEST_F(FontSettings, AFaceNameTheSettingsFileCannotHoldIsRefused)
{
    ASSERT_TRUE(writeAll(iniPath(), "[Font]\r\nType=IPAGothic\r\n"));
    DocumentEditor* e = openEditor();
    prompts.answerMessage(Prompts::Answer::Ok);
    bool stillOpen = false;
    whenDialog([&](QDialog& d) {
        QLineEdit* name = combo(d, "FontName")->lineEdit();
        name->selectAll();
        for (QChar c : QStringLiteral("Caf\u00e9 Sans"))
            QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QString(c), Qt::NoModifier);
        press(d, "OK");
        stillOpen = d.isVisible() && d.result() != QDialog::Accepted;
        press(d, "Cancel");
    });
    w->controls().MFont->trigger();
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].contains(QStringLiteral("「\u00e9」(U+00E9)")))
        << prompts.messages()[0].toStdString();
    EXPECT_EQ(e->font().families().value(0), QStringLiteral("IPAGothic"));
    EXPECT_TRUE(iniText().startsWith(QStringLiteral("[Font]\r\nType=IPAGothic\r\n"))) << iniText().toStdString();
}
