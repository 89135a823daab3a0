#include "app/tfmtitle.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>

TFmTitle::TFmTitle(Prompts& prompts, TFmMain::Options options)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FmTitle"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(300, 199);
    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());

    auto* timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(2000);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, &QWidget::close);
    timer->start();

    show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::processEvents();
    m_main = std::make_unique<TFmMain>(prompts, std::move(options));
    QApplication::restoreOverrideCursor();
}

QPixmap TFmTitle::picture()
{
    QPixmap pm(300, 199);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 199);
    g.setColorAt(0, QColor(18, 42, 86));
    g.setColorAt(1, QColor(70, 130, 180));
    p.fillRect(pm.rect(), g);
    // A quill over a nest of angle brackets.
    p.setPen(QPen(QColor(255, 255, 255, 60), 2));
    for (int i = 0; i < 6; ++i)
        p.drawArc(QRectF(150 - 40 - i * 6, 120 - i * 3, 80 + i * 12, 40 + i * 6), 200 * 16, 140 * 16);
    p.setPen(QPen(QColor(250, 240, 200), 3));
    p.drawLine(QPointF(190, 40), QPointF(120, 150));
    p.setBrush(QColor(250, 240, 200, 180));
    p.drawEllipse(QRectF(168, 36, 30, 60));

    QFont title;
    title.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                       QStringLiteral("Noto Sans CJK JP")});
    title.setPixelSize(34);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 20, 300, 50), Qt::AlignCenter, QStringLiteral("Quillnest4"));
    QFont sub = title;
    sub.setPixelSize(14);
    sub.setBold(false);
    p.setFont(sub);
    p.drawText(QRect(0, 150, 300, 20), Qt::AlignCenter, QStringLiteral("手書きHTMLエディタ"));
    sub.setPixelSize(11);
    p.setFont(sub);
    p.setPen(QColor(220, 230, 255));
    p.drawText(QRect(0, 172, 300, 18), Qt::AlignCenter,
               QStringLiteral("起動しています…  Brightfern"));
    return pm;
}

void TFmTitle::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        m_picture = picture();   // drawn once, and gone with the splash
    QPainter p(this);
    p.drawPixmap(0, 0, m_picture);
}
