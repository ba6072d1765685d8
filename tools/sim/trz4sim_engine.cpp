// The card simulator's engine.
#include "tools/sim/trz4sim_engine.h"

#include "platform/comports.h"

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace {

constexpr char kAck = 0x06;
constexpr char kNak = 0x15;
constexpr char kCan = 0x18;
constexpr char kCr = '\r';
constexpr size_t kMaxFrame = 16; // longer runs without CR are noise, not frames
constexpr int kOverlongPadding = 40;
constexpr size_t kKeptFrames = 1000;

// Seconds on the monotonic clock: deadlines only ever compare two of them.
double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool validNumber(char c) {
    return (c >= '1' && c <= '9') || (c >= 'a' && c <= 'f');
}

std::string hex(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
    return text;
}

} // namespace

bool parseSimFault(const std::string &name, SimFault *fault) {
    static const std::pair<const char *, SimFault> kNames[] = {
        {"none", SimFault::None},         {"silence", SimFault::Silence},
        {"nak", SimFault::Nak},           {"can", SimFault::Can},
        {"err", SimFault::Err},           {"garbage", SimFault::Garbage},
        {"highbit", SimFault::HighBit},   {"stall", SimFault::Stall},
        {"overlong", SimFault::Overlong}, {"keepnumber", SimFault::KeepNumber},
    };
    for (const auto &[text, value] : kNames) {
        if (name == text) {
            *fault = value;
            return true;
        }
    }
    return false;
}

CardSimulator::CardSimulator(SimOptions initial) : options(std::move(initial)) {
    if (options.cards.empty())
        options.cards.push_back(SimCard{});
}

CardSimulator::~CardSimulator() {
    stop();
}

int CardSimulator::start() {
    if (worker.joinable())
        return 0;
    master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0)
        return -errno;
    char name[128];
    if (grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, name, sizeof name)) {
        int err = errno;
        closeMaster();
        return -err;
    }
    device = name;
    // Hold one descriptor of the slave ourselves: with no slave open the master reports a
    // hang-up on every poll, and the program opens and closes the port for each operation.
    ownSlave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (ownSlave < 0) {
        int err = errno;
        closeMaster();
        return -err;
    }
    // Raw from the start: a fresh pty echoes, which would hand the program its own frame.
    termios tio{};
    if (tcgetattr(ownSlave, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(ownSlave, TCSANOW, &tio);
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0) {
        int err = errno;
        closeMaster();
        return -err;
    }
    if (options.com > 0) {
        int linked = addPortMapLink(options.com, device);
        if (linked != 0) {
            closeMaster();
            ::close(wake);
            wake = -1;
            return linked;
        }
        link = portMapDirectory() + "/com" + std::to_string(options.com);
    }
    stopping = false;
    worker = std::thread(&CardSimulator::run, this);
    return 0;
}

void CardSimulator::stop() {
    if (worker.joinable()) {
        stopping = true;
        uint64_t one = 1;
        ssize_t ignored = ::write(wake, &one, sizeof one);
        (void)ignored;
        worker.join();
    }
    closeMaster();
    if (wake >= 0) {
        ::close(wake);
        wake = -1;
    }
    if (!link.empty()) {
        removePortMapLink(options.com, device);
        link.clear();
    }
}

std::string CardSimulator::devicePath() const {
    return device;
}
std::string CardSimulator::linkPath() const {
    return link;
}

void CardSimulator::setFault(SimFault fault, int stallAfter) {
    std::lock_guard guard(lock);
    options.fault = fault;
    options.stallAfter = stallAfter;
}

void CardSimulator::setByteDelay(double seconds) {
    std::lock_guard guard(lock);
    options.byteDelaySeconds = seconds;
}

void CardSimulator::setStatus(char address, int status) {
    std::lock_guard guard(lock);
    for (SimCard &card : options.cards)
        if (card.address == address)
            card.status = status;
}

void CardSimulator::setId(char address, const std::string &id) {
    std::lock_guard guard(lock);
    for (SimCard &card : options.cards)
        if (card.address == address)
            card.id = id;
}

char CardSimulator::cardNumber(char address) const {
    std::lock_guard guard(lock);
    for (const SimCard &card : options.cards)
        if (card.address == address)
            return card.cardNumber;
    return 0;
}

void CardSimulator::vanishAfter(int bytes) {
    std::lock_guard guard(lock);
    vanishAfterBytes = bytes;
}

void CardSimulator::vanish() {
    {
        std::lock_guard guard(lock);
        vanishNow = true;
    }
    uint64_t one = 1;
    ssize_t ignored = ::write(wake, &one, sizeof one);
    (void)ignored;
}

std::vector<std::string> CardSimulator::frames() const {
    std::lock_guard guard(lock);
    return received;
}

void CardSimulator::closeMaster() {
    if (master >= 0) {
        ::close(master);
        master = -1;
    }
    if (ownSlave >= 0) {
        ::close(ownSlave);
        ownSlave = -1;
    }
}

// Sleeps until the monotonic time given; false when a stop or vanish cut the wait short.
bool CardSimulator::waitUntil(double due) {
    for (;;) {
        if (stopping)
            return false;
        double left = due - now();
        if (left <= 0)
            return true;
        timespec ts{static_cast<time_t>(left), static_cast<long>(std::fmod(left, 1.0) * 1e9)};
        pollfd pfd{wake, POLLIN, 0};
        // ppoll: nanosecond resolution, a poll() in milliseconds would double a 1 ms byte time.
        if (ppoll(&pfd, 1, &ts, nullptr) > 0) {
            std::lock_guard guard(lock);
            if (vanishNow)
                return false;
        }
    }
}

void CardSimulator::clearLeftoverExclusiveMode() {
    std::lock_guard guard(lock);
    int exclusive = 0;
    if (ownSlave < 0 || ioctl(ownSlave, TIOCGEXCL, &exclusive) != 0 || exclusive == 0)
        return;
    // Every program that holds the port through the serial layer holds this lock with its
    // exclusive mode; the lock ends with the program however it ends, the pty's mode does not.
    if (flock(ownSlave, LOCK_EX | LOCK_NB) != 0)
        return;
    ioctl(ownSlave, TIOCNXCL);
    flock(ownSlave, LOCK_UN);
}

void CardSimulator::run() {
    std::string frame;
    bool inFrame = false;
    double frameStart = 0;
    while (!stopping) {
        pollfd fds[2] = {{wake, POLLIN, 0}, {master, POLLIN, 0}};
        int count = master >= 0 ? 2 : 1;
        const int ready = ::poll(fds, static_cast<nfds_t>(count), kLeftoverCheckMs);
        if (ready < 0 && errno != EINTR)
            break;
        if (ready == 0) {
            // A program killed while it held the port (SIGKILL) left the pty in exclusive
            // mode, which would keep every ordinary user out until the simulator restarts.
            clearLeftoverExclusiveMode();
            continue;
        }
        if (fds[0].revents & POLLIN) {
            uint64_t value = 0;
            ssize_t ignored = ::read(wake, &value, sizeof value);
            (void)ignored;
            std::lock_guard guard(lock);
            if (vanishNow) {
                vanishNow = false;
                closeMaster();
            }
            continue;
        }
        if (count < 2 || !(fds[1].revents & (POLLIN | POLLHUP)))
            continue;
        char chunk[256];
        ssize_t n = ::read(master, chunk, sizeof chunk);
        if (n <= 0) {
            // Only our own slave is open: nothing to do until the program writes.
            continue;
        }
        double arrived = now();
        for (ssize_t i = 0; i < n; ++i) {
            char c = chunk[i];
            if (c == '#') {
                frame.assign(1, c);
                inFrame = true;
                frameStart = arrived;
            } else if (inFrame && c == kCr) {
                inFrame = false;
                handleFrame(frame, frameStart);
            } else if (inFrame) {
                frame += c;
                if (frame.size() > kMaxFrame)
                    inFrame = false;
            }
        }
    }
}

void CardSimulator::handleFrame(const std::string &frame, double arrivalStart) {
    double delay;
    {
        std::lock_guard guard(lock);
        // A demo may run for days: keep only the recent frames.
        if (received.size() >= kKeptFrames)
            received.erase(received.begin(), received.begin() + kKeptFrames / 2);
        received.push_back(frame);
        delay = options.byteDelaySeconds;
    }
    std::string reply = replyFor(frame);
    if (reply.empty())
        return;
    // The frame (with its CR) has been on the wire for its own length before the card can
    // answer; each reply byte then takes one byte time.
    double frameEnd = arrivalStart + static_cast<double>(frame.size() + 1) * delay;
    sendReply(reply, frameEnd + delay);
}

void CardSimulator::sendReply(const std::string &reply, double firstByteDue) {
    double delay;
    int cutAfter;
    {
        std::lock_guard guard(lock);
        delay = options.byteDelaySeconds;
        cutAfter = vanishAfterBytes;
        vanishAfterBytes = -1;
    }
    size_t sendable = reply.size();
    if (cutAfter >= 0)
        sendable = std::min(sendable, static_cast<size_t>(cutAfter));
    for (size_t i = 0; i < sendable; ++i) {
        // Absolute deadlines, so that the oversleep of one byte does not add to the next.
        if (delay > 0 && !waitUntil(firstByteDue + static_cast<double>(i) * delay))
            break;
        if (master < 0)
            return;
        if (delay > 0) {
            ssize_t ignored = ::write(master, &reply[i], 1);
            (void)ignored;
        } else {
            ssize_t ignored = ::write(master, reply.data(), sendable);
            (void)ignored;
            break;
        }
    }
    if (cutAfter >= 0) {
        // A hang-up discards what the program has not read yet; let it take the bytes sent
        // so far first, so that the answer breaks off exactly after them. The pty hands bytes
        // on asynchronously: wait for them to arrive, then to be read (both bounded).
        auto waiting = [this] {
            int count = 0;
            return ownSlave >= 0 && ioctl(ownSlave, FIONREAD, &count) == 0 ? count : 0;
        };
        if (sendable > 0) {
            double arriveBy = now() + 0.1;
            while (waiting() == 0 && now() < arriveBy && waitUntil(now() + 0.0005)) {
            }
            double readBy = now() + 1.0;
            while (waiting() > 0 && now() < readBy && waitUntil(now() + 0.0005)) {
            }
        }
        std::lock_guard guard(lock);
        closeMaster();
    }
}

std::string CardSimulator::replyFor(const std::string &frame) {
    std::lock_guard guard(lock);
    if (frame.size() < 2)
        return {};
    char address = frame[1];
    std::string command = frame.substr(2);
    auto card = std::find_if(options.cards.begin(), options.cards.end(),
                             [&](const SimCard &c) { return c.address == address; });
    if (card == options.cards.end())
        return {};
    SimFault fault = options.fault;
    switch (fault) {
    case SimFault::Silence:
        return {};
    case SimFault::Nak:
        return std::string(1, kNak);
    case SimFault::Can:
        return std::string(1, kCan);
    default:
        break;
    }

    std::string head = std::string("#") + address;
    std::string line; // the answer line without CR; empty for a handshake-only reply
    std::string handshake(1, kAck);
    if (card->foreign) {
        if (command != "IDR")
            return std::string(1, kNak);
        line = head + card->id;
    } else if (command == "IDR") {
        line = head + card->id;
    } else if (command == "DNR") {
        line = head + "DNR" + card->cardNumber;
    } else if (command.size() == 4 && command.compare(0, 3, "DNW") == 0) {
        if (!validNumber(command[3]))
            return std::string(1, kNak);
        if (fault != SimFault::KeepNumber)
            card->cardNumber = command[3];
        if (fault == SimFault::Garbage)
            handshake = "?";
        else if (fault == SimFault::HighBit)
            handshake = "\x86";
    } else if (command == "S1R") {
        line = head + "S1R" + (fault == SimFault::Err ? std::string("err") : hex(card->status));
    } else {
        return std::string(1, kNak);
    }

    if (!line.empty()) {
        if (fault == SimFault::Garbage)
            line = "%&/(garbage)=?";
        else if (fault == SimFault::HighBit)
            line.insert(2, 1, '\xC4');
        else if (fault == SimFault::Overlong)
            line.append(kOverlongPadding, '.');
        line += kCr;
    }
    std::string reply = handshake + line;
    if (fault == SimFault::Stall)
        reply.resize(std::min(reply.size(), static_cast<size_t>(std::max(0, options.stallAfter))));
    return reply;
}
