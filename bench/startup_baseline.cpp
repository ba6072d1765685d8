// The yardstick for start-up: the smallest honest Qt Widgets program - one window with a label
// and a button - that reports like trz4Steuerung's start-up probe: "shown" once its event
// loop runs with the window on screen, "rss <kB>" after half a second of idle time.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include "platform/process.h"

#include <cstdio>

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Baseline"), &window));
    layout->addWidget(new QPushButton(QStringLiteral("OK"), &window));
    window.resize(698, 471);
    window.show();
    QTimer::singleShot(0, [] {
        std::printf("shown\n");
        std::fflush(stdout);
        QTimer::singleShot(500, [] {
            std::printf("rss %ld\n", residentKilobytes());
            std::fflush(stdout);
            QApplication::quit();
        });
    });
    return QApplication::exec();
}
