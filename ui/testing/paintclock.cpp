#include "ui/testing/paintclock.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <algorithm>

namespace ui::testing {

PaintClock::PaintClock(QWidget *widget) : QObject(widget) {
    widget->installEventFilter(this);
}

bool PaintClock::eventFilter(QObject *, QEvent *event) {
    if (event->type() == QEvent::Paint) {
        paints.push_back(Clock::now());
    }
    return false;
}

double PaintClock::longestGapMs(Clock::time_point from, Clock::time_point to) const {
    auto ms = [](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count();
    };
    double longest = 0;
    Clock::time_point last = from;
    for (Clock::time_point t : paints) {
        if (t <= from || t >= to) {
            continue;
        }
        longest = std::max(longest, ms(t - last));
        last = t;
    }
    return std::max(longest, ms(to - last));
}

void postClick(QWidget *widget) {
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QCoreApplication::postEvent(widget, new QMouseEvent(type, at, widget->mapToGlobal(at),
                                                            Qt::LeftButton, held, Qt::NoModifier));
    }
}

void postKey(QWidget *widget, int qtKey) {
    QCoreApplication::postEvent(widget, new QKeyEvent(QEvent::KeyPress, qtKey, Qt::NoModifier));
    QCoreApplication::postEvent(widget, new QKeyEvent(QEvent::KeyRelease, qtKey, Qt::NoModifier));
}

} // namespace ui::testing
