#include "app/FormSplashU.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace quillon {

TFormSplash::TFormSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FormSplash"));
    setPicture(builtInPicture());
}

QPixmap TFormSplash::builtInPicture()
{
    QPixmap pixmap(420, 240);
    QPainter p(&pixmap);
    QLinearGradient sky(0, 0, 0, pixmap.height());
    sky.setColorAt(0, QColor(0x1f, 0x3b, 0x73));
    sky.setColorAt(1, QColor(0x4f, 0x86, 0xc6));
    p.fillRect(pixmap.rect(), sky);
    p.setRenderHint(QPainter::Antialiasing);
    // A disc, drawn rather than shipped, so the program needs no picture file to start.
    const QPointF centre(330, 120);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 228, 240));
    p.drawEllipse(centre, 80, 80);
    p.setBrush(QColor(0x1f, 0x3b, 0x73));
    p.drawEllipse(centre, 14, 14);
    p.setPen(Qt::white);
    QFont title = p.font();
    title.setPointSize(34);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(24, 60, 260, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quillon"));
    QFont small = p.font();
    small.setPointSize(11);
    small.setBold(false);
    p.setFont(small);
    p.drawText(QRect(26, 120, 260, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("CD recording"));
    return pixmap;
}

void TFormSplash::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    setFixedSize(m_picture.deviceIndependentSize().toSize());
    centre();
    update();
}

void TFormSplash::centre()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

void TFormSplash::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(0, 0, m_picture);
}

} // namespace quillon
