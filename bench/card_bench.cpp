// Times the status read through the real serial layer and a pseudo-terminal against the card
// simulator, in-process on its own thread.
//
// 1. With the 9600-baud 7O1 line model on: the median time of a status read against its wire
//    time (frame 6 + ACK 1 + answer "#1S1R20" CR 8 = 15 bytes at 10/9600 s each), and the CPU
//    time of the calling thread and of the whole process per exchange.
//    Goal: median within 5 % of the wire time; caller CPU under 5 % of the wall time.
// 2. Without the line model: the median round trip over the pseudo-terminal.
//
// Usage: card_bench [exchanges]   (default 200)

#include "cardlink/cardsession.h"
#include "platform/comports.h"
#include "tools/sim/trz4sim_engine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kCom = 9;
constexpr int kWireBytes = 15;

double threadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &tv) {
        return static_cast<double>(tv.tv_sec) + static_cast<double>(tv.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Figures {
    double medianSeconds = 0;
    double callerCpuPerExchange = 0;
    double processCpuPerExchange = 0;
    double wallPerExchange = 0;
    int failures = 0;
};

Figures measure(CardSession &session, int exchanges) {
    Figures figures;
    std::vector<double> times;
    int status = 0;
    // Warm-up: first exchange pays for page faults and thread wake-up paths.
    session.status('1', &status);
    double callerStart = threadCpuSeconds();
    double processStart = processCpuSeconds();
    auto wallStart = Clock::now();
    for (int i = 0; i < exchanges; ++i) {
        auto start = Clock::now();
        int result = session.status('1', &status);
        times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        if (result != 0 || status != 0x20)
            ++figures.failures;
    }
    double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
    figures.medianSeconds = median(times);
    figures.callerCpuPerExchange = (threadCpuSeconds() - callerStart) / exchanges;
    figures.processCpuPerExchange = (processCpuSeconds() - processStart) / exchanges;
    figures.wallPerExchange = wall / exchanges;
    return figures;
}

} // namespace

int main(int argc, char **argv) {
    const int exchanges = argc > 1 ? std::atoi(argv[1]) : 200;
    if (exchanges <= 0) {
        std::fprintf(stderr, "usage: card_bench [exchanges > 0]\n");
        return 2;
    }
    namespace fs = std::filesystem;
    fs::path scratch = fs::temp_directory_path() / ("card_bench_" + std::to_string(getpid()));
    setComPortRoots({"", "", (scratch / "ports").string()});

    SimOptions options;
    options.com = kCom;
    options.cards.push_back(SimCard{});
    options.cards.back().status = 0x20;
    CardSimulator sim(options);
    CardSession session;
    if (sim.start() != 0 || session.open(kCom) != 0 || session.timeoutResult() != 0) {
        std::fprintf(stderr, "card_bench: cannot start the simulator: %s\n",
                     session.openFailure().reason().c_str());
        return 1;
    }

    sim.setByteDelay(kByteTime9600);
    Figures line = measure(session, exchanges);
    double wire = kWireBytes * kByteTime9600;
    double excess = (line.medianSeconds - wire) / wire;
    double callerShare = line.callerCpuPerExchange / line.wallPerExchange;
    double processShare = line.processCpuPerExchange / line.wallPerExchange;
    std::printf("status read, 9600-baud line model, %d exchanges:\n", exchanges);
    std::printf("  wire time        %8.3f ms (%d bytes x %.4f ms)\n", wire * 1e3, kWireBytes,
                kByteTime9600 * 1e3);
    std::printf("  median           %8.3f ms (%+.1f %% of wire time, goal within 5 %%)\n",
                line.medianSeconds * 1e3, excess * 100);
    std::printf("  caller CPU       %8.3f ms per exchange (%.2f %% of wall, goal under 5 %%)\n",
                line.callerCpuPerExchange * 1e3, callerShare * 100);
    std::printf("  process CPU      %8.3f ms per exchange (%.2f %% of wall, simulator "
                "included)\n",
                line.processCpuPerExchange * 1e3, processShare * 100);

    sim.setByteDelay(0);
    Figures fast = measure(session, exchanges);
    std::printf("status read, no line model:\n");
    std::printf("  median round trip %7.3f ms\n", fast.medianSeconds * 1e3);
    std::printf("  caller CPU       %8.3f ms per exchange\n", fast.callerCpuPerExchange * 1e3);

    session.close();
    sim.stop();
    setComPortRoots({});
    fs::remove_all(scratch);
    int failures = line.failures + fast.failures;
    if (failures != 0)
        std::printf("FAILED exchanges: %d\n", failures);
    bool goals = excess <= 0.05 && excess >= -0.05 && callerShare < 0.05;
    std::printf("goals %s\n", goals ? "met" : "missed");
    return failures == 0 ? 0 : 1;
}
