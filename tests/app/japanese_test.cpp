// Qt's own dialogs speak Japanese once the program has started, whatever the
// desktop's locale (the tests run in the C locale).
#include "app/startup.h"
#include "composition.h"

#include "support/scriptedprompts.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

QString buttonText(QMessageBox::StandardButton which)
{
    QMessageBox box;
    box.setStandardButtons(which);
    return box.button(which)->text();
}

} // namespace

TEST(JapaneseDialogs, StandardButtonsAreJapaneseAfterStartUp)
{
    ASSERT_EQ(buttonText(QMessageBox::Yes), QStringLiteral("&Yes")) << "a translator was already installed";

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    TFmMain::Options o;
    o.compose = composeUnits;
    o.settingsPath = dir.filePath(QStringLiteral("quillnest4.ini"));
    o.exeDir = dir.path();
    o.recoveryDir = dir.filePath(QStringLiteral("recovery"));
    {
        Startup startup(prompts, o);
        EXPECT_TRUE(buttonText(QMessageBox::Yes).startsWith(QStringLiteral("はい")));
        EXPECT_TRUE(buttonText(QMessageBox::No).startsWith(QStringLiteral("いいえ")));
        EXPECT_EQ(buttonText(QMessageBox::Cancel), QStringLiteral("キャンセル"));
        EXPECT_EQ(buttonText(QMessageBox::Ok), QStringLiteral("OK"));   // the same word in Japanese
        QDialogButtonBox buttons(QDialogButtonBox::Save | QDialogButtonBox::Close);
        EXPECT_TRUE(buttons.button(QDialogButtonBox::Save)->text().startsWith(QStringLiteral("保存")));
        EXPECT_TRUE(buttons.button(QDialogButtonBox::Close)->text().startsWith(QStringLiteral("閉じる")));
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("TFmTitle"))
            delete w;
    // The other tests of this program read Qt's texts in English again.
    for (QTranslator* t : qApp->findChildren<QTranslator*>(QString(), Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    EXPECT_EQ(buttonText(QMessageBox::Yes), QStringLiteral("&Yes"));
    EXPECT_TRUE(prompts.exhausted());
}
