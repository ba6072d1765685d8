#include "ui/logo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace ui {

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

    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Nimbus Sans")});
    font.setBold(true);
    font.setPixelSize(qMax(8, static_cast<int>(size.height() * 0.42)));
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QRectF letters(box.left(), box.top() + box.height() * 0.08, box.width(),
                         box.height() * 0.55);
    painter.drawText(letters, Qt::AlignCenter, QStringLiteral("BW"));
    return pixmap;
}

} // namespace ui
