#include "ui/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tav::artwork {

namespace {
QPixmap canvas(int w, int h, qreal dpr) {
    QPixmap pm(QSize(w, h) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    return pm;
}
}  // namespace

QPixmap radioPicture(int size, qreal dpr) {
    const qreal h = size, w = size * 0.55;
    QPixmap pm = canvas(static_cast<int>(w), size, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal u = h / 100.0;  // drawing unit

    // Antenna and knob.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 44));
    p.drawRoundedRect(QRectF(w * 0.18, 0, 6 * u, 34 * u), 3 * u, 3 * u);
    p.setBrush(QColor(70, 70, 76));
    p.drawRoundedRect(QRectF(w * 0.62, 14 * u, 9 * u, 12 * u), 2 * u, 2 * u);

    // Body.
    const QRectF body(2 * u, 24 * u, w - 4 * u, 74 * u);
    QLinearGradient shade(body.topLeft(), body.topRight());
    shade.setColorAt(0, QColor(58, 64, 72));
    shade.setColorAt(0.5, QColor(88, 96, 108));
    shade.setColorAt(1, QColor(50, 55, 62));
    p.setBrush(shade);
    p.setPen(QPen(QColor(30, 32, 36), 1.2 * u));
    p.drawRoundedRect(body, 7 * u, 7 * u);

    // Display with a label on it.
    const QRectF display(body.left() + 6 * u, body.top() + 8 * u, body.width() - 12 * u, 16 * u);
    p.setPen(QPen(QColor(20, 40, 20), 0.8 * u));
    p.setBrush(QColor(150, 205, 120));
    p.drawRoundedRect(display, 2 * u, 2 * u);
    p.setPen(QPen(QColor(30, 70, 30), 1.6 * u));
    for (int i = 0; i < 5; ++i) {
        const qreal x = display.left() + 4 * u + i * (display.width() - 8 * u) / 5;
        p.drawLine(QPointF(x, display.center().y() - 3 * u),
                   QPointF(x + 3.5 * u, display.center().y() - 3 * u));
        p.drawLine(QPointF(x, display.center().y() + 3 * u),
                   QPointF(x + 3.5 * u, display.center().y() + 3 * u));
    }

    // Keypad: three by four keys.
    p.setPen(Qt::NoPen);
    const qreal keyW = (body.width() - 16 * u) / 3, keyH = 7 * u;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) {
            p.setBrush(r == 3 && c != 1 ? QColor(200, 120, 40) : QColor(210, 214, 220));
            p.drawRoundedRect(QRectF(body.left() + 5 * u + c * (keyW + 3 * u),
                                     display.bottom() + 7 * u + r * (keyH + 3 * u), keyW, keyH),
                              1.5 * u, 1.5 * u);
        }

    // Speaker grille.
    p.setPen(QPen(QColor(35, 38, 42), 1.2 * u, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        const qreal y = body.bottom() - 14 * u + i * 4 * u;
        p.drawLine(QPointF(body.left() + 9 * u, y), QPointF(body.right() - 9 * u, y));
    }
    return pm;
}

QPixmap wavesPicture(int size, qreal dpr) {
    QPixmap pm = canvas(size, size, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF tip(size * 0.15, size * 0.85);
    for (int i = 1; i <= 3; ++i) {
        const qreal r = size * 0.25 * i;
        p.setPen(
            QPen(QColor(40, 110, 200, 255 - 55 * i), size * 0.06, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(tip.x() - r, tip.y() - r, 2 * r, 2 * r), 5 * 16, 80 * 16);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 110, 200));
    p.drawEllipse(tip, size * 0.06, size * 0.06);
    return pm;
}

}  // namespace tav::artwork
