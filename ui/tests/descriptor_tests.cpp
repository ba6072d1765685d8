// Descriptor callbacks: called when the descriptor turns readable, never while another
// callback of the program runs, nor inside an exchange's wait. Descriptors are a Linux
// notion here (the port watch's inotify descriptor), so these cases are Linux-only.
#include "ui/testing/eventwait.h"
#include "ui/testing/testpanels.h"
#include "platform/rs232.h"
#include "platform/serial_double.h"
#include "ui/uiruntime.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using ui::testing::spinUntil;

struct Pipe {
    int fds[2] = {-1, -1};
    Pipe() { EXPECT_EQ(pipe2(fds, O_NONBLOCK | O_CLOEXEC), 0); }
    ~Pipe() {
        close(fds[0]);
        close(fds[1]);
    }
    void put() { EXPECT_EQ(write(fds[1], "x", 1), 1); }
};

int gCalls = 0;
bool gInsideButton = false;
bool gCalledInsideButton = false;

void onReadable(int descriptor, void *data) {
    EXPECT_EQ(data, &gCalls);
    char byte;
    while (read(descriptor, &byte, 1) == 1) {
    }
    ++gCalls;
    gCalledInsideButton = gCalledInsideButton || gInsideButton;
}

Pipe *gPipe = nullptr;

// A button's callback that lets events through while it runs, as an exchange that repaints.
int busyButton(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    gInsideButton = true;
    gPipe->put();
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 200)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    gInsideButton = false;
    return 0;
}

TEST(RuntimeDescriptors, CalledWhenReadableAndNeverInsideAnotherCallback) {
    ui::testing::registerTestPanels();
    gCalls = 0;
    gCalledInsideButton = false;
    Pipe pipe;
    gPipe = &pipe;
    EXPECT_EQ(installDescriptorCallback(-1, onReadable, nullptr), kUiErrBadArgument);
    EXPECT_EQ(installDescriptorCallback(pipe.fds[0], nullptr, nullptr), kUiErrBadArgument);
    const int watch = installDescriptorCallback(pipe.fds[0], onReadable, &gCalls);
    ASSERT_GE(watch, 1);

    QApplication::processEvents();
    EXPECT_EQ(gCalls, 0) << "nothing to read";
    pipe.put();
    EXPECT_TRUE(spinUntil([] { return gCalls == 1; }));

    // During a button's callback the news waits until it has returned.
    const int panel = LoadPanel(0, kTestPanelsResource, TESTPANEL);
    ASSERT_GE(panel, 0);
    InstallCtrlCallback(panel, BOUNDBUTTON, busyButton, nullptr);
    qobject_cast<QPushButton *>(controlWidget(panel, BOUNDBUTTON))->click();
    EXPECT_EQ(gCalls, 1);
    EXPECT_TRUE(spinUntil([] { return gCalls == 2; }));
    EXPECT_FALSE(gCalledInsideButton);

    // A removed watch is not called again.
    EXPECT_EQ(removeDescriptorCallback(watch), 0);
    EXPECT_EQ(removeDescriptorCallback(watch), kUiErrBadArgument);
    pipe.put();
    spinUntil([] { return false; }, 2000);
    EXPECT_EQ(gCalls, 2);
    DiscardPanel(panel);
    gPipe = nullptr;
}

void logDescriptor(int descriptor, void *data) {
    char byte;
    while (read(descriptor, &byte, 1) == 1) {
    }
    static_cast<std::vector<std::string> *>(data)->push_back(
        std::string("descriptor") + (exchangeRunning() ? " during exchange" : ""));
}

TEST(RuntimeDescriptors, NewsDuringAnExchangeWaitsForItsEnd) {
    // As the port watch's news of a plugged adapter: handled inside the wait, it would rebuild
    // the COM ring and close the port under the running exchange.
    constexpr int kPort = 3;
    SerialDouble serial;
    ScopedSerialBackend scoped{serial};
    serial.silenceWaitSeconds = 0.1;
    ASSERT_EQ(OpenComConfig(kPort, "", 9600, 1, 7, 1, 512, 512), 0);
    std::vector<std::string> log;
    Pipe pipe;
    const int watch = installDescriptorCallback(pipe.fds[0], logDescriptor, &log);
    {
        ExchangeScope exchange;
        pipe.put();
        ComRdByte(kPort);
        log.push_back("exchange done");
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"exchange done", "descriptor"}));
    removeDescriptorCallback(watch);
    CloseCom(kPort);
}

} // namespace
