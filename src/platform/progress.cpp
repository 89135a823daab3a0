#include "platform/progress.h"

#include <QProgressDialog>

ProgressGate::ProgressGate(QWidget* parent, QString label, int showAfterMs)
    : m_parent(parent), m_label(std::move(label)), m_showAfterMs(showAfterMs)
{
    m_clock.start();
}

ProgressGate::~ProgressGate()
{
    delete m_dialog;
}

bool ProgressGate::operator()(qint64 done, qint64 total)
{
    if (!m_dialog) {
        if (m_clock.elapsed() < m_showAfterMs)
            return true;
        m_dialog = new QProgressDialog(m_label, QStringLiteral("中止"), 0, 1000, m_parent);
        m_dialog->setObjectName(QStringLiteral("ProgressDialog"));
        m_dialog->setWindowTitle(QStringLiteral("Quillnest4"));
        m_dialog->setAccessibleName(m_label);
        m_dialog->setWindowModality(Qt::WindowModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
    }
    // A modal progress dialog takes the user's clicks while it is set.
    m_dialog->setValue(total > 0 ? int(done * 1000 / total) : 0);
    return !m_dialog->wasCanceled();
}

QProgressDialog* ProgressGate::dialog() const
{
    return m_dialog;
}
