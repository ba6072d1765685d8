#include "ui/logo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace ui::detail {

QPixmap drawMakerLogo(QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF box(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, QColor(0x2A, 0x5C, 0x9A));
    fill.setColorAt(1.0, QColor(0x14, 0x34, 0x60));
    painter.setPen(QPen(QColor(0x0E, 0x25, 0x45), 1.0));
    painter.setBrush(fill);
    const qreal radius = size.width() / 6.0;
    painter.drawRoundedRect(box, radius, radius);

    // A signal wave across the lower third: the card talks on a line.
    QPainterPath wave;
    const qreal w = box.width();
    const qreal baseY = box.top() + box.height() * 0.78;
    const qreal amplitude = box.height() * 0.07;
    wave.moveTo(box.left() + w * 0.12, baseY);
    for (int i = 0; i < 4; ++i) {
        const qreal x0 = box.left() + w * (0.12 + 0.19 * i);
        wave.cubicTo(x0 + w * 0.06, baseY - amplitude * 2, x0 + w * 0.13, baseY + amplitude * 2,
                     x0 + w * 0.19, baseY);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0xF0, 0xA0, 0x30), qMax(1.5, size.width() / 22.0)));
    painter.drawPath(wave);

    // A card with its contact row above the wave; drawn from shapes only, so that no font
    // has to be loaded for it.
    const QRectF card(box.left() + w * 0.2, box.top() + box.height() * 0.16, w * 0.6,
                      box.height() * 0.42);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xF4, 0xF4, 0xF0));
    painter.drawRoundedRect(card, radius / 2, radius / 2);
    painter.setBrush(QColor(0x2A, 0x5C, 0x9A));
    const QRectF chip(card.left() + card.width() * 0.14, card.top() + card.height() * 0.2,
                      card.width() * 0.3, card.height() * 0.4);
    painter.drawRect(chip);
    painter.setBrush(QColor(0xF0, 0xA0, 0x30));
    const int pins = 5;
    const qreal pinWidth = card.width() / (pins * 2.0 + 1.0);
    for (int i = 0; i < pins; ++i) {
        painter.drawRect(QRectF(card.left() + pinWidth * (1 + 2 * i),
                                card.bottom() - pinWidth * 1.6, pinWidth, pinWidth * 1.2));
    }
    return pixmap;
}

} // namespace ui::detail
