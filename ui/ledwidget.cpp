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

void LedWidget::setStaleNote(const QString &note) {
    if (staleNote == note) {
        return;
    }
    staleNote = note;
    updateStateText();
    update();
}

void LedWidget::setStateTexts(const QString &onWord, const QString &offWord) {
    onText = onWord;
    offText = offWord;
    updateStateText();
}

void LedWidget::updateStateText() {
    const QString &own = on ? onText : offText;
    const QString state =
        !own.isEmpty() ? own
                       : QCoreApplication::translate("LedWidget", on ? kLedOnText : kLedOffText);
    // A screen reader hears that a value is stale, as the mouse's tooltip shows it.
    setAccessibleDescription(staleNote.isEmpty() ? state : state + QLatin1Char('\n') + staleNote);
    QString tip = name.isEmpty() ? state : name + QStringLiteral(": ") + state;
    if (!staleNote.isEmpty()) {
        tip += QLatin1Char('\n') + staleNote;
    }
    setToolTip(tip);
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
    const bool stale = !staleNote.isEmpty();
    QColor face = on ? colour : colour.darker(400);
    if (stale) {
        // Greyed: a lit lamp still reads as lit and keeps a trace of its hue, but no longer
        // glows like a fresh reading.
        face = QColor::fromHsv(face.hsvHue(), face.hsvSaturation() * 2 / 5, face.value() * 4 / 5);
    }
    QRadialGradient gradient(lamp.center() - QPointF(side / 5.0, side / 5.0), side * 0.7);
    gradient.setColorAt(0.0, on && !stale ? face.lighter(170) : face.lighter(130));
    gradient.setColorAt(1.0, face);
    QPen rim(QColor(0x50, 0x50, 0x50), 1.0);
    if (stale) {
        rim.setColor(QColor(0x70, 0x70, 0x70));
        rim.setStyle(Qt::DotLine);
    }
    painter.setPen(rim);
    painter.setBrush(gradient);
    painter.drawEllipse(lamp);
}

} // namespace ui::detail
