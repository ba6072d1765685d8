#include "ui/testing/eventwait.h"

#include <QApplication>
#include <QElapsedTimer>

namespace ui::testing {

bool spinUntil(const std::function<bool()> &done, int limitMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < limitMs)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

} // namespace ui::testing
