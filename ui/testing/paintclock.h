// What a person sees of a busy window, for tests: when it repainted, and input that arrives
// the way the window system delivers it (queued, not sent).
#pragma once

#include <QObject>

#include <chrono>
#include <vector>

class QWidget;

namespace ui::testing {

// Notes the time of every paint of one widget while it exists.
class PaintClock : public QObject {
public:
    using Clock = std::chrono::steady_clock;

    explicit PaintClock(QWidget *widget);

    const std::vector<Clock::time_point> &times() const { return paints; }
    // The longest stretch between `from` and `to` without a paint, in milliseconds (from `from`
    // to the first paint, between paints, from the last paint to `to`).
    double longestGapMs(Clock::time_point from, Clock::time_point to) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::vector<Clock::time_point> paints;
};

// Queues a left click (press and release) at the middle of `widget`.
void postClick(QWidget *widget);
// Queues a key press and release on `widget`.
void postKey(QWidget *widget, int qtKey);

} // namespace ui::testing
