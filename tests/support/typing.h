#pragma once
// Typing as the user does: key clicks for ASCII, the input method's
// committed text for anything else (Japanese comes through the IME).
#include <QApplication>
#include <QInputMethodEvent>
#include <QString>
#include <QTest>

inline void typeText(QWidget* w, const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(w, char(c.unicode()));
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(w, &commit);
        }
    }
}
