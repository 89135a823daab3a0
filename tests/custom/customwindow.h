#pragma once
// A shown, active main window with one document whose editor has the focus,
// for tests that press keys and choose menu items as a user does.

#include "charset/sjis.h"
#include "support/mainwindow.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QTest>

class CustomWindow : public MainWindowTest {
protected:
    // Opens a document holding `text` with the caret at its end.
    DocumentEditor* openEditor(const QString& text = {})
    {
        TFmMain& m = w ? *w : makeWindow(true);
        Document& d = m.NewDocument();
        d.edit->insertPlainText(text);
        m.activateWindow();
        d.edit->setFocus();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&m));
        return d.edit;
    }
    // The main window active again and the editor focused, as after a
    // dialog closes.
    void backToEditor(DocumentEditor* e)
    {
        w->activateWindow();
        e->setFocus();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    // Selects the caret's line up to the caret with Shift+Home.
    void selectToLineStart(DocumentEditor* e) { QTest::keyClick(e, Qt::Key_Home, Qt::ShiftModifier); }
    QString iniText() const { return sjis::decode(readAll(iniPath())); }
    // Runs `body` against the dialog shown modally next, shown on screen.
    template <class F>
    void whenDialog(F body)
    {
        prompts.answerDialog([body](QDialog& d) {
            d.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
            body(d);
            d.hide();
            return d.result();
        });
    }
};
