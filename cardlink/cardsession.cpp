#include "cardlink/cardsession.h"

#include <cstring>
#include <utility>

namespace {

// Sorts VEKTRZ4_IDLesen's result and text into a probe's finding.
CardProbe classifyIdentification(int code, const char (&idText)[kTrz4IdBufferSize]) {
    CardProbe probe;
    probe.code = code;
    if (code != 0) {
        switch (static_cast<VekKind>(vekKindOf(code))) {
        case VekKind::NoAnswer:
        case VekKind::WrongAnswer:
        case VekKind::Nak:
        case VekKind::Can:
            probe.kind = CardProbeKind::NoAnswer;
            break;
        default:
            probe.kind = CardProbeKind::Error;
            break;
        }
        // A text that failed its final check may be partly there; it is no identification.
        return probe;
    }
    static_assert(sizeof probe.text == sizeof idText);
    std::memcpy(probe.text, idText, sizeof probe.text);
    probe.text[sizeof probe.text - 1] = '\0';
    probe.kind = std::strncmp(probe.text, kTrz4CardPrefix, sizeof kTrz4CardPrefix - 1) == 0
                     ? CardProbeKind::Card
                     : CardProbeKind::OtherDevice;
    return probe;
}

} // namespace

CardSession::CardSession(CardSession &&other) noexcept
    : openPort(std::exchange(other.openPort, 0)), timeoutCode(other.timeoutCode),
      succeeded(std::exchange(other.succeeded, false)), failure(std::move(other.failure)) {}

CardSession &CardSession::operator=(CardSession &&other) noexcept {
    if (this != &other) {
        close();
        openPort = std::exchange(other.openPort, 0);
        timeoutCode = other.timeoutCode;
        succeeded = std::exchange(other.succeeded, false);
        failure = std::move(other.failure);
    }
    return *this;
}

int CardSession::open(int port, double timeoutSeconds) {
    close();
    failure = CardOpenFailure{};
    timeoutCode = 0;
    const int code = VEKTRZ4_Open(port, kTrz4BaudRate);
    if (code != 0) {
        // Only a refused open reached the serial layer; for a port number it refused itself
        // the layer's last reason belongs to an earlier open.
        if (code == vektrz4::kErrOpenFailed)
            failure = CardOpenFailure{lastOpenFailureCode(), lastOpenFailure()};
        return code;
    }
    openPort = port;
    timeoutCode = VEKTRZ4_Timeout(port, timeoutSeconds);
    return 0;
}

int CardSession::close() {
    succeeded = false;
    if (openPort == 0)
        return 0;
    const int port = std::exchange(openPort, 0);
    return VEKTRZ4_Close(port);
}

int CardSession::noted(int result) {
    if (result == 0 && openPort != 0)
        succeeded = true;
    return result;
}

int CardSession::identification(char address, char *idText) {
    return noted(VEKTRZ4_IDLesen(openPort, address, idText));
}

int CardSession::status(char address, int *word) {
    return noted(VEKTRZ4_ParameterLesen(openPort, address, "status", nullptr, word, nullptr));
}

int CardSession::readCardNumber(char address, char *kartennummer) {
    return noted(VEKTRZ4_KartennummerLesen(openPort, address, kartennummer));
}

int CardSession::writeCardNumber(char address, char kartennummer) {
    return noted(VEKTRZ4_KartennummerSchreiben(openPort, address, kartennummer));
}

CardProbe CardSession::probe(char address) {
    char idText[kTrz4IdBufferSize] = {};
    const int code = identification(address, idText);
    return classifyIdentification(code, idText);
}
