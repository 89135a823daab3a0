#include "support/scriptedprompts.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

QStringList ScriptedPrompts::messages() const
{
    QStringList out;
    for (const Shown& s : shown)
        if (s.kind == QLatin1String("message"))
            out << s.text;
    return out;
}

bool ScriptedPrompts::exhausted() const
{
    return messageAnswers.empty() && openAnswers.empty() && saveAnswers.empty()
        && colorAnswers.empty() && printerSetupAnswers.empty() && printAnswers.empty()
        && dialogAnswers.empty();
}

Prompts::Answer ScriptedPrompts::message(QWidget* parent, const QString& title, const QString& text,
                                         Icon icon, Buttons buttons)
{
    shown.push_back(Shown{QStringLiteral("message"), title, text, icon, buttons, {}});
    std::unique_ptr<QDialog> box;
    if (messagesTakeActivation) {
        box = std::make_unique<QDialog>(parent);
        box->setWindowTitle(title);
        box->setModal(true);
        box->show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == box.get(); }))
            << "message box not active: " << text.toStdString();
    }
    if (messageAnswers.empty()) {
        ADD_FAILURE() << "unexpected message box: " << text.toStdString();
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
    const Answer a = messageAnswers.front();
    messageAnswers.pop_front();
    if (box)
        box->hide();   // answered: it closes, then goes away
    return a;
}

Prompts::FileAnswer ScriptedPrompts::openFile(QWidget*, const FileRequest& request)
{
    shown.push_back(Shown{QStringLiteral("open"), request.title, {}, {}, {}, request});
    if (openAnswers.empty()) {
        ADD_FAILURE() << "unexpected open dialog";
        return {};
    }
    FileAnswer a = openAnswers.front();
    openAnswers.pop_front();
    return a;
}

Prompts::FileAnswer ScriptedPrompts::saveFile(QWidget*, const FileRequest& request)
{
    shown.push_back(Shown{QStringLiteral("save"), request.title, {}, {}, {}, request});
    if (saveAnswers.empty()) {
        ADD_FAILURE() << "unexpected save dialog";
        return {};
    }
    FileAnswer a = saveAnswers.front();
    saveAnswers.pop_front();
    return a;
}

std::optional<QColor> ScriptedPrompts::chooseColor(QWidget*, const QColor&)
{
    shown.push_back(Shown{QStringLiteral("color"), {}, {}, {}, {}, {}});
    if (colorAnswers.empty()) {
        ADD_FAILURE() << "unexpected colour dialog";
        return std::nullopt;
    }
    auto a = colorAnswers.front();
    colorAnswers.pop_front();
    return a;
}

bool ScriptedPrompts::printerSetup(QWidget*, QPrinter& printer)
{
    shown.push_back(Shown{QStringLiteral("printerSetup"), {}, {}, {}, {}, {}});
    if (printerSetupAnswers.empty()) {
        ADD_FAILURE() << "unexpected printer set-up dialog";
        return false;
    }
    auto f = std::move(printerSetupAnswers.front());
    printerSetupAnswers.pop_front();
    return f(printer);
}

bool ScriptedPrompts::printDialog(QWidget*, QPrinter& printer)
{
    shown.push_back(Shown{QStringLiteral("print"), {}, {}, {}, {}, {}});
    if (printAnswers.empty()) {
        ADD_FAILURE() << "unexpected print dialog";
        return false;
    }
    auto f = std::move(printAnswers.front());
    printAnswers.pop_front();
    return f(printer);
}

int ScriptedPrompts::execDialog(QDialog& dialog)
{
    shown.push_back(Shown{QStringLiteral("dialog"), dialog.windowTitle(), dialog.objectName(), {},
                          {}, {}});
    if (dialogAnswers.empty()) {
        ADD_FAILURE() << "unexpected modal dialog: " << dialog.objectName().toStdString();
        return QDialog::Rejected;
    }
    auto f = std::move(dialogAnswers.front());
    dialogAnswers.pop_front();
    return f(dialog);
}
