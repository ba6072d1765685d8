// Times status reads on a COM port that a card answers (or the simulator, trz4sim --line), the
// same way on Linux and on Windows, so that the two builds can be compared on one line.
//
// For each read: a card session opens the port, the status is read and the port is closed,
// as a card operation of the program does. Printed: the medians of the
// whole operation and of the exchange alone, in milliseconds, and the failed reads.
//
// Usage: status_read_bench --com N [--reads K]   (default 30 reads)
// Exit status: 0 when every read succeeded, 1 otherwise, 2 for wrong usage.

#include "cardlink/cardsession.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double milliseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
    int com = 0;
    int reads = 30;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--com") == 0)
            com = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--reads") == 0)
            reads = std::atoi(argv[i + 1]);
    }
    if (com < 1 || com > 256 || reads < 1) {
        std::fprintf(stderr, "Aufruf: status_read_bench --com N [--reads K]\n");
        return 2;
    }
    std::vector<double> operations;
    std::vector<double> exchanges;
    int failures = 0;
    // The first read pays for loading and first-time paths; it is not counted.
    for (int i = 0; i <= reads; ++i) {
        const auto start = Clock::now();
        int status = 0;
        CardSession session;
        int result = session.open(com);
        if (result == 0) {
            const auto exchangeStart = Clock::now();
            result = session.status('1', &status);
            const auto exchangeEnd = Clock::now();
            session.close();
            if (i > 0)
                exchanges.push_back(milliseconds(exchangeStart, exchangeEnd));
        } else if (i == 0) {
            std::fprintf(stderr, "status_read_bench: COM %d: %s\n", com,
                         session.openFailure().reason().c_str());
        }
        if (i > 0) {
            operations.push_back(milliseconds(start, Clock::now()));
            if (result != 0)
                ++failures;
        }
    }
    std::printf("status_read_bench: COM %d, %d reads: median operation %.2f ms, median exchange "
                "%.2f ms, %d failed\n",
                com, reads, median(operations), median(exchanges), failures);
    return failures == 0 ? 0 : 1;
}
