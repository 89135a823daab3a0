#include "builders/frame/tfmframe.h"

#include "builders/frame/framelayouts.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A small drawing of the layout: the frames as outlined rectangles.
QIcon layoutPicture(int layout)
{
    QPixmap pm(40, 48);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 1));
    const QRect all(0, 0, 39, 47);
    p.drawRect(all);
    const int left = 10, top = 12;
    switch (layout) {
    case 1: p.drawLine(left, 0, left, 47); break;
    case 2: p.drawLine(0, top, 39, top); break;
    case 3:
        p.drawLine(0, top, 39, top);
        p.drawLine(left, top, left, 47);
        break;
    case 4:
        p.drawLine(left, 0, left, 47);
        p.drawLine(left, top, 39, top);
        break;
    default: break;
    }
    p.end();
    return QIcon(pm);
}

} // namespace

TFmFrame::TFmFrame(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FmFrame"));
    setWindowTitle(QStringLiteral("ﾌﾚｰﾑ作成"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint
                   | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(294, 122);

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(4, 4, 4, 0);
    auto* row = new QHBoxLayout;
    for (int i = 1; i <= kFrameLayouts; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QStringLiteral("Frame%1").arg(i));
        b->setText(QString::number(i));
        b->setIcon(layoutPicture(i));
        b->setIconSize(QSize(40, 48));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(b, &QToolButton::clicked, this, [this, i] { chooseLayout(i); });
        row->addWidget(b);
    }
    top->addLayout(row);
    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->addWidget(new QLabel(QStringLiteral("使用するﾌﾚｰﾑ形態を指定してください"), status));
    top->addWidget(status);

    // Assembles the page; never shown.
}

void TFmFrame::FormActivate()
{
    m_outcome = 0;
    m_lines = frameHeadLines();
}

void TFmFrame::chooseLayout(int layout)
{
    if (layout < 1 || layout > kFrameLayouts)
        return;
    if (m_lines.isEmpty())
        m_lines = frameHeadLines();
    m_lines += frameLayoutLines(layout);
    Tagpaste();
    const QString page = joinCrLf(m_lines);
    QApplication::clipboard()->setText(page);
    accept();
}

void TFmFrame::Tagpaste()
{
    m_outcome = 1;
    m_lines += frameEndLines();
}
