#pragma once
// Progress of long work that can be given up without losing anything: after
// half a second a dialog shows how far it is, with a button to stop.
// Called with the work done and the whole; returns false once the user
// stopped it.

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

class QProgressDialog;
class QWidget;

class ProgressGate {
public:
    ProgressGate(QWidget* parent, QString label, int showAfterMs = 500);
    ~ProgressGate();
    ProgressGate(const ProgressGate&) = delete;
    ProgressGate& operator=(const ProgressGate&) = delete;

    bool operator()(qint64 done, qint64 total);
    // The dialog once shown (nullptr before).
    QProgressDialog* dialog() const;

private:
    QWidget* m_parent;
    QString m_label;
    int m_showAfterMs;
    QElapsedTimer m_clock;
    QPointer<QProgressDialog> m_dialog;
};
