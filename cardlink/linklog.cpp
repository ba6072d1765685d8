// The link log: recording the card protocol's exchanges and writing them as text.
#include "cardlink/linklog.h"

#include "cardlink/openfailure.h"
#include "platform/process.h"
#include "platform/rs232.h"
#include "text/texts.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

LinkLogSink &sinkSlot() {
    static LinkLogSink sink;
    return sink;
}

// Read on every exchange; a plain flag beside the function, so that the test costs one load.
std::atomic<bool> gOn{false};

std::int64_t nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::string timeStamp(std::int64_t ms) {
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    std::tm local{};
    localTime(seconds, &local);
    char text[40];
    const size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    std::snprintf(text + n, sizeof text - n, ".%03d", static_cast<int>(ms % 1000));
    return text;
}

constexpr int kAck = 0x06;
constexpr int kNak = 0x15;
constexpr int kCan = 0x18;

} // namespace

LinkLogSink setLinkLogSink(LinkLogSink sink) {
    LinkLogSink previous = std::move(sinkSlot());
    sinkSlot() = std::move(sink);
    gOn.store(static_cast<bool>(sinkSlot()), std::memory_order_relaxed);
    return previous;
}

bool linkLogOn() {
    return gOn.load(std::memory_order_relaxed);
}

std::string linkLogBytes(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (unsigned char c : bytes) {
        if (c == '\r') {
            text += "<CR>";
        } else if (c == '\n') {
            text += "<LF>";
        } else if (c >= 0x20 && c < 0x7F && c != '<') {
            text += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%02X>", c);
            text += hex;
        }
    }
    return text;
}

std::string linkLogOutcome(const LinkExchange &exchange) {
    std::string outcome;
    // Built by appending: g++ 12 at -O3 warns falsely (-Wrestrict) about a literal + string.
    auto add = [&outcome](std::string_view part) {
        if (!outcome.empty())
            outcome += ", ";
        outcome += part;
    };
    if (!exchange.received.empty()) {
        switch (static_cast<unsigned char>(exchange.received[0])) {
        case kAck:
            add("ACK");
            break;
        case kNak:
            add("NAK");
            break;
        case kCan:
            add("CAN");
            break;
        default:
            break;
        }
    }
    if (exchange.end == LinkEnd::NotOpened)
        add(trText("LinkLog", "Öffnen fehlgeschlagen"));
    if (exchange.end == LinkEnd::Timeout) {
        add(withArgument(trText("LinkLog", "Zeitüberschreitung nach %1 ms"),
                         std::to_string(exchange.timeoutMs)));
    } else if (exchange.end == LinkEnd::Hangup) {
        add(trText("LinkLog", "Verbindung getrennt"));
    }
    if (exchange.result != 0)
        add(withArgument(trText("LinkLog", "Fehler #%1"), std::to_string(-exchange.result)));
    if (exchange.end == LinkEnd::NotOpened) {
        if (const std::string reason = openFailureText(exchange.openFailure); !reason.empty()) {
            outcome += ": ";
            outcome += reason;
        }
    }
    return outcome;
}

std::string formatLinkExchange(const LinkExchange &exchange) {
    const std::string outcome = linkLogOutcome(exchange);
    std::string text;
    auto line = [&](std::int64_t ms, const char *direction, const std::string &bytes,
                    bool withOutcome) {
        text += timeStamp(ms);
        text += "  COM ";
        text += std::to_string(exchange.port);
        text += direction;
        text += linkLogBytes(bytes);
        if (withOutcome && !outcome.empty()) {
            text += "  ";
            text += outcome;
        }
        text += '\n';
    };
    if (exchange.end == LinkEnd::NotOpened) {
        text = timeStamp(exchange.sentAtMs) + "  COM " + std::to_string(exchange.port) + "  ";
        text += outcome;
        text += '\n';
        return text;
    }
    // A command that failed before it read anything puts its outcome on the frame's line.
    const bool read = exchange.end != LinkEnd::NotRead;
    line(exchange.sentAtMs, "  ->  ", exchange.sent, !read);
    if (read)
        line(exchange.endedAtMs, "  <-  ", exchange.received, true);
    return text;
}

void LinkLogHistory::add(const LinkExchange &exchange) {
    bool dropped = false;
    if (capacity == 0)
        return;
    if (kept.size() >= capacity) {
        kept.pop_front();
        dropped = true;
    }
    kept.push_back(exchange);
    if (listener)
        listener(kept.back(), dropped);
}

std::string LinkLogHistory::text() const {
    std::string all;
    for (const LinkExchange &exchange : kept)
        all += formatLinkExchange(exchange);
    return all;
}

namespace cardlink::detail {

ExchangeRecording::ExchangeRecording(int port) {
    exchange.port = port;
    exchange.sentAtMs = nowMs();
}

void ExchangeRecording::sent(const char *frame, int accepted) {
    exchange.sentAtMs = nowMs();
    if (accepted > 0)
        exchange.sent.assign(frame, static_cast<size_t>(accepted));
}

void ExchangeRecording::read(int result) {
    if (result >= 0) {
        exchange.received += static_cast<char>(result);
        exchange.end = LinkEnd::Complete;
        return;
    }
    if (result == kComTimeout) {
        exchange.end = LinkEnd::Timeout;
        const double seconds = comTimeoutSeconds(exchange.port);
        exchange.timeoutMs = seconds < 0 ? 0 : static_cast<int>(seconds * 1000.0 + 0.5);
    } else if (result == kComHangup) {
        exchange.end = LinkEnd::Hangup;
    } else {
        exchange.end = LinkEnd::Failed;
    }
}

int ExchangeRecording::finish(int result) {
    exchange.result = result;
    exchange.endedAtMs = exchange.end == LinkEnd::NotRead || exchange.end == LinkEnd::NotOpened
                             ? exchange.sentAtMs
                             : nowMs();
    // The sink may be removed meanwhile only by the same thread, between exchanges.
    if (const LinkLogSink &sink = sinkSlot())
        sink(exchange);
    return result;
}

int ExchangeRecording::openFailed(const OpenFailure &why, int result) {
    exchange.end = LinkEnd::NotOpened;
    exchange.openFailure = why;
    return finish(result);
}

} // namespace cardlink::detail
