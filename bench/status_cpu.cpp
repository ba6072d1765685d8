// The CPU cost of the protocol's status read alone: VEKTRZ4_ParameterLesen against a card
// played by a minimal serial backend in the same thread (no pty, no simulator thread, no
// system calls), so that an instruction count of the calls is the protocol layer's own.
//
// scripts/bench-linklog builds this file against the card link of a baseline version and of
// the working tree and compares the instruction counts under callgrind.
//
// Usage: status_cpu [exchanges] [on]   (default 10000; "on" installs a link-log sink that
//                                       keeps nothing, where the card link has one)

#include "cardlink/vektrz4.h"
#include "platform/rs232.h"

#if __has_include("cardlink/linklog.h")
#include "cardlink/linklog.h"
#define STATUS_CPU_HAS_LINKLOG 1
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Answers every frame with ACK and a status line at once; reads never wait.
class InstantCard final : public SerialBackend {
public:
    int open(int, const char *, long, int, int, int, int, int) override { return 0; }
    int close(int) override { return 0; }
    int setTimeout(int, double) override { return 0; }
    double timeout(int) override { return 1.0; }
    int flushInput(int) override {
        length = position = 0;
        return 0;
    }
    int flushOutput(int) override { return 0; }
    int write(int, const char *, int count) override {
        static const char kReply[] = "\x06#1S1R20\r";
        std::memcpy(reply, kReply, sizeof kReply - 1);
        length = sizeof kReply - 1;
        position = 0;
        return count;
    }
    int outputQueueLength(int) override { return 0; }
    int readByte(int) override {
        return position < length ? static_cast<unsigned char>(reply[position++])
                                 : static_cast<int>(kComTimeout);
    }
    OpenFailure openFailure() override { return {}; }

private:
    char reply[16] = {};
    int length = 0;
    int position = 0;
};

} // namespace

int main(int argc, char **argv) {
    const int exchanges = argc > 1 ? std::atoi(argv[1]) : 10000;
    const bool recorderOn = argc > 2 && std::strcmp(argv[2], "on") == 0;
    if (exchanges <= 0) {
        std::fprintf(stderr, "usage: status_cpu [exchanges > 0] [on]\n");
        return 2;
    }
#ifdef STATUS_CPU_HAS_LINKLOG
    if (recorderOn)
        setLinkLogSink([](const LinkExchange &) {});
#else
    if (recorderOn) {
        std::fprintf(stderr, "status_cpu: this card link has no link log\n");
        return 2;
    }
#endif
    InstantCard card;
    ScopedSerialBackend installed(card);
    int failures = 0;
    for (int i = 0; i < exchanges; ++i) {
        int status = 0;
        if (VEKTRZ4_ParameterLesen(9, '1', "status", nullptr, &status, nullptr) != 0 ||
            status != 0x20)
            ++failures;
    }
    std::printf("%d status reads, %d failed\n", exchanges, failures);
    return failures == 0 ? 0 : 1;
}
