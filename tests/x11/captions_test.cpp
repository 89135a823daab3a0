// Window captions as the window system receives them, read back from a
// private X server with xprop: the toolkit must not add anything to them.
#include "app/startup.h"
#include "builders/newpage/tfmnew.h"
#include "support/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QTest>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

// _NET_WM_NAME of a window as xprop reads it from the server.
QString windowName(const QWidget& w)
{
    QProcess xprop;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    xprop.setProcessEnvironment(env);
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(w.winId()),
                                          QStringLiteral("_NET_WM_NAME")});
    if (!xprop.waitForFinished(10000))
        return QStringLiteral("<xprop did not answer>");
    const QString out = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype open = out.indexOf(u'"');
    if (open < 0 || !out.endsWith(u'"'))
        return out;
    return out.mid(open + 1, out.size() - open - 2);
}

// The caption once the server has it (the toolkit sends it from its loop).
QString settledName(const QWidget& w, const QString& expected)
{
    QString name;
    for (int i = 0; i < 50; ++i) {
        QApplication::processEvents();
        name = windowName(w);
        if (name == expected)
            break;
        QTest::qWait(20);
    }
    return name;
}

class Captions : public MainWindowTest {};

} // namespace

TEST_F(Captions, MainWindowAndDialogsShowExactlyTheirOwnCaption)
{
    Startup::nameApplication();
    TFmMain& m = makeWindow(true);
    EXPECT_EQ(settledName(m, QStringLiteral("Quillnest4")), QStringLiteral("Quillnest4"));
    m.NewDocument();
    EXPECT_EQ(settledName(m, QStringLiteral("Quillnest4 - Page1")),
              QStringLiteral("Quillnest4 - Page1"));
    m.action("MOneClose")->trigger();
    EXPECT_EQ(settledName(m, QStringLiteral("Quillnest4 ")), QStringLiteral("Quillnest4 "));

    // The new-page dialog, shown as the New command shows it.
    QString dialogName;
    prompts.answerDialog([&](QDialog& d) {
        d.show();
        dialogName = settledName(d, QStringLiteral("初期設定"));
        d.hide();
        return int(QDialog::Rejected);
    });
    m.action("MNew")->trigger();
    EXPECT_EQ(dialogName, QStringLiteral("初期設定"));
}
