#include "ui/ledwidget.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QPainter>
#include <QRadialGradient>

namespace ui::detail {

LedWidget::LedWidget(const QString &name, QWidget *parent) : QWidget(parent), name(name) {
    setAccessibleName(name);
    setFocusPolicy(Qt::NoFocus);
    updateStateText();
}

void LedWidget::setOn(bool value) {
    if (on == value) {
        return;
    }
    on = value;
    updateStateText();
    update();
}

void LedWidget::setOnColour(int rgb) {
    colour = QColor::fromRgb(static_cast<QRgb>(rgb & 0xFFFFFF));
    update();
}

void LedWidget::updateStateText() {
    const QString state = QCoreApplication::translate("LedWidget", on ? kLedOnText : kLedOffText);
    setAccessibleDescription(state);
    setToolTip(name.isEmpty() ? state : name + QStringLiteral(": ") + state);
    // Assistive technology says the state as part of the name.
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void LedWidget::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = qMin(width(), height()) - 2;
    const QRectF lamp((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    // An off lamp is a dark shade of its own colour, so a lit and an unlit lamp also differ in
    // brightness, not only in hue.
    const QColor face = on ? colour : colour.darker(400);
    QRadialGradient gradient(lamp.center() - QPointF(side / 5.0, side / 5.0), side * 0.7);
    gradient.setColorAt(0.0, on ? face.lighter(170) : face.lighter(130));
    gradient.setColorAt(1.0, face);
    painter.setPen(QPen(QColor(0x50, 0x50, 0x50), 1.0));
    painter.setBrush(gradient);
    painter.drawEllipse(lamp);
}

} // namespace ui::detail
