#pragma once
// A main window whose file panel shows a "site" folder, for tests that hand
// files to a builder by double clicks as the window system delivers them.

#include "app/filepanel.h"
#include "composition.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTest>

class HandOverTest : public MainWindowTest {
protected:
    // The folder the file panel will show; fill it before showWindowOnSite().
    void makeSite()
    {
        QDir(dir.path()).mkpath(QStringLiteral("site"));
    }
    // A shown window whose file panel lists the site folder; message boxes
    // take the activation while they are up, as real ones do.
    void showWindowOnSite()
    {
        writeAll(iniPath(), "[File]\r\nDrive=0\r\nDirectory=" + site({}).toUtf8() + "\r\n");
        makeWindow(true);
        prompts.messagesTakeActivation = true;
    }

    QString site(const QString& name) const
    {
        return QDir(dir.filePath(QStringLiteral("site"))).filePath(name);
    }
    QListWidget* list() const { return unitsOf(*w)->filePanel->FileListBox(); }

    static bool becomesActive(QWidget* window)
    {
        return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
    }
    // The user clicks the main window's title: it becomes the active window.
    void clickMain()
    {
        QApplication::setActiveWindow(w.get());
        ASSERT_TRUE(becomesActive(w.get()));
    }
    // A click, then the double click, on the file's line in the panel.
    void handOver(const QString& name)
    {
        const QList<QListWidgetItem*> found = list()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        const QPoint at = list()->visualItemRect(found.front()).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
    }
};
