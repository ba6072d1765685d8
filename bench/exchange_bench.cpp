// The main panel during card exchanges, in-process with the real serial layer and the card
// simulator on a pseudo-terminal mapped as COM 9 (scratch XDG_CONFIG_HOME and directory):
//
// 1. Repaint gaps during a silent card's time-out. A timer asks the main window to repaint
//    every 5 ms (as exposures do when another window moves across it); the longest time
//    between two paints of the window while "Status lesen" waits is printed, once for the
//    button as the operator clicks it and once for the same status read called bare, without
//    the exchange scope the card operations run in (what the window got before).
//    Goal: under 50 ms.
// 2. Click-to-result of "Status lesen" against the simulator paced like a 9600-baud line: time
//    from the mouse press on the button until its callback has returned with the LEDs set
//    and painted, against the line's own time (frame 6 + ACK 1 + answer "#1S1R300" CR 9 = 16
//    bytes at 10/9600 s each). Goal: median within 10 ms of the line time.
//
// Runs under whatever Qt platform is set (offscreen when there is no display):
//     exchange_bench [clicks]             default 50 clicks
//     xvfb-run -a exchange_bench          the same on an X server
#include "app/Funktionen.h"
#include "app/Mainpanel_Main.h"
#include "app/trz4SteuerungGui.h"
#include "cardlink/Vek_Com.h"
#include "cardlink/vektrz4.h"
#include "platform/comports.h"
#include "tools/sim/trz4sim_engine.h"
#include "ui/testing/paintclock.h"
#include "ui/uiruntime.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kCom = 9;
constexpr int kStatus = 0x300;
constexpr int kLineBytes = 16;

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// A left click as the window system delivers one to the widget.
void clickOn(QWidget *widget) {
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    const QPointF global = widget->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, static_cast<size_t>(share * values.size()));
    return values[index];
}

int intVal(int panel, int control) {
    int value = -1;
    GetCtrlVal(panel, control, &value);
    return value;
}

} // namespace

int main(int argc, char **argv) {
    if (!displayAvailable()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const int clicks = argc > 1 ? std::atoi(argv[1]) : 50;
    if (clicks <= 0) {
        std::fprintf(stderr, "usage: exchange_bench [clicks > 0]\n");
        return 2;
    }

    namespace fs = std::filesystem;
    const fs::path scratch =
        fs::temp_directory_path() / ("exchange_bench_" + std::to_string(getpid()));
    fs::create_directories(scratch / "config");
    fs::create_directories(scratch / "empty");
    setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
    // Only the port map lists ports, whatever this machine has plugged in.
    setComPortRoots({(scratch / "empty").string(), (scratch / "empty").string(), ""});
    const fs::path previous = fs::current_path();
    fs::current_path(scratch);

    SimOptions options;
    options.com = kCom;
    options.cards.push_back(SimCard{});
    options.cards.back().status = kStatus;
    CardSimulator sim(options);
    if (sim.start() != 0 || Func_PanelsInitialisieren(kProgramVersion, kProgramDate) != 0) {
        std::fprintf(stderr, "exchange_bench: cannot start the simulator or the panels\n");
        return 1;
    }
    const int panel = Mainpanel_GetMainpanel();
    DisplayPanel(panel);
    VekCom_ComPortChose(kCom);
    QWidget *window = panelWidget(panel);
    QWidget *button = controlWidget(panel, STATUSABFRAGE);
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
    }
    std::printf("Qt platform: %s\n", qPrintable(QGuiApplication::platformName()));

    // 1. Repaint gaps during a silent card's time-out.
    sim.setFault(SimFault::Silence);
    auto *paints = new ui::testing::PaintClock(window);
    QTimer asker;
    asker.setInterval(5);
    QObject::connect(&asker, &QTimer::timeout, window, [window] { window->update(); });
    asker.start();
    double clickedGap = 0;
    double clickedSeconds = 0;
    constexpr int kTimeouts = 3;
    for (int i = 0; i < kTimeouts; ++i) {
        const Clock::time_point from = Clock::now();
        clickOn(button);
        const Clock::time_point to = Clock::now();
        clickedGap = std::max(clickedGap, paints->longestGapMs(from, to));
        clickedSeconds += ms(to - from) / 1000.0 / kTimeouts;
    }
    Clock::time_point from = Clock::now();
    int port = 0;
    int status = 0;
    VekCom_OpenChosen(&port);
    VEKTRZ4_ParameterLesen(port, VekCom_AdresseGet(), "status", nullptr, &status, nullptr);
    VekCom_Close();
    Clock::time_point to = Clock::now();
    const double bareGap = paints->longestGapMs(from, to);
    asker.stop();
    delete paints;
    std::printf("silent card, status read (time-out 1.0 s), %d clicks:\n", kTimeouts);
    std::printf("  exchange took       %8.1f ms on average (error %d shown)\n",
                clickedSeconds * 1000, intVal(panel, FEHLERNUMMER));
    std::printf("  longest repaint gap %8.1f ms  (goal under 50 ms)\n", clickedGap);
    std::printf("  bare exchange       %8.1f ms  (the same read without the exchange scope)\n",
                bareGap);

    // 2. Click-to-result against the paced simulator.
    sim.setFault(SimFault::None);
    sim.setByteDelay(kByteTime9600);
    clickOn(button); // warm-up
    std::vector<double> times;
    int failures = 0;
    for (int i = 0; i < clicks; ++i) {
        SetCtrlVal(panel, STATUSLED9, 0);
        SetCtrlVal(panel, STATUSLED10, 0);
        QApplication::processEvents();
        const Clock::time_point start = Clock::now();
        clickOn(button);
        times.push_back(ms(Clock::now() - start));
        if (intVal(panel, STATUSLED9) != 1 || intVal(panel, STATUSLED10) != 1 ||
            intVal(panel, FEHLERLED) != 0) {
            ++failures;
        }
    }
    const double line = kLineBytes * kByteTime9600 * 1000;
    const double median = percentile(times, 0.5);
    std::printf("status read, 9600-baud line model, %d clicks:\n", clicks);
    std::printf("  line time           %8.2f ms (%d bytes x %.4f ms)\n", line, kLineBytes,
                kByteTime9600 * 1000);
    std::printf("  click-to-result     %8.2f ms median, %.2f ms 90th percentile, %.2f ms max\n",
                median, percentile(times, 0.9), percentile(times, 1.0));
    std::printf("  over the line time  %8.2f ms median (goal within 10 ms)\n", median - line);
    std::printf("  wrong results       %8d\n", failures);

    Func_PanelsFreigeben();
    sim.stop();
    fs::current_path(previous);
    fs::remove_all(scratch);
    return failures == 0 ? 0 : 1;
}
