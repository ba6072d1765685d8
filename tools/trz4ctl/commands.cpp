// The subcommands of trz4ctl over the card protocol, the COM numbering and the port map.
#include "tools/trz4ctl/json.h"
#include "tools/trz4ctl/trz4ctl.h"

#include "cardlink/Vek_Com.h"
#include "cardlink/cardoperations.h"
#include "cardlink/cardsession.h"
#include "cardlink/linklog.h"
#include "cardlink/settingsfile.h"
#include "cardlink/vektrz4.h"
#include "errors/VEK_errorV3.h"
#include "platform/comports.h"
#include "platform/portwatch.h"
#include "platform/rs232.h"
#include "text/texts.h"
#include "trz4version.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

namespace {

// No port for a card operation, the identification and the scan: the program's own codes.
constexpr int kNoPortCardOperation = trzcom::kErrNotOpen;
constexpr int kNoPortIdentification = vekcom::kErrIdNotOpen;
constexpr int kNoPortScan = vekcom::kErrScanNotOpen;

// Text for the terminal: control characters (C1 included) and bytes that are no UTF-8 as \xHH,
// so that a text carrying escape sequences or a line end cannot clear the screen, set the
// window title or forge a line. doubleBackslash: a backslash is doubled, so that the escaped
// form cannot be mistaken for the text itself.
std::string escaped(std::string_view text, bool doubleBackslash) {
    std::string shown;
    auto escape = [&shown](unsigned char c) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
        shown += escaped;
    };
    for (size_t at = 0; at < text.size(); ++at) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c == '\\' && doubleBackslash) {
            shown += "\\\\";
        } else if (c < 0x20 || c == 0x7F) {
            escape(c);
        } else if (c >= 0x80) {
            const size_t length = utf8SequenceLength(text, at);
            const bool c1 =
                length == 2 && c == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0;
            if (length == 0 || c1) {
                escape(c);
            } else {
                shown += text.substr(at, length);
                at += length - 1;
            }
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

// Text from the card (the identification, a card number), with its backslashes doubled.
std::string visible(std::string_view cardText) {
    return escaped(cardText, true);
}

// A name from the system (a device path, a link target, a USB product string). Its backslashes
// stay as they are: they separate the parts of a Windows device name.
std::string visibleName(std::string_view name) {
    return escaped(name, false);
}

// The line that points to the help, after a usage error.
std::string helpHint() {
    return withArgument(trText("trz4ctl", "Hilfe: %1"), "trz4ctl --help");
}

class Invocation {
public:
    Invocation(const CtlOptions &options, std::ostream &out, std::ostream &err)
        : options(options), out(out), err(err) {
        json.add("command", options.command);
    }

    int run();

private:
    void setDetail(const std::string &text) { detail = text; }
    int usage(const std::string &message);
    int noArguments() {
        return usage(withArgument(trText("trz4ctl", "%1 nimmt keine Argumente"), options.command));
    }
    int fail(int code);
    int succeed();
    bool resolveLink(int noPortCode, int *code);
    int openPort(int noPortCode, bool reportOpenCode);
    template <typename Command> int onPort(int noPortCode, bool reportOpenCode, Command command);
    template <typename Command> int withCard(int noPortCode, bool reportOpenCode, Command command);
    int comOperand(const std::string &text, int *com);
    std::string probeFinding(const CardProbe &probe, JsonObject &result, int *cards) const;

    int ports();
    int watchPorts(std::vector<ComPortInfo> shown);
    int identification();
    int scan();
    int scanAllPorts();
    int status();
    int readCardNumber();
    int writeCardNumber();
    int noPortMap();
    int mapPort();
    int unmapPort();

    const CtlOptions &options;
    std::ostream &out;
    std::ostream &err;
    JsonObject json;
    std::string detail; // why it failed, beyond the catalogue's words
    int com = 0;
    char address = '1';
    CardSession session;
};

int Invocation::usage(const std::string &message) {
    err << "trz4ctl: " << message << "\n" << helpHint() << "\n";
    return kCtlExitUsage;
}

// Reports a failure code with the catalogue's message; the detail, when there is one, goes on
// a line of its own (in JSON a member of its own, so that "message" stays the catalogue text).
int Invocation::fail(int code) {
    const std::string message = VEK_Fehlermeldung(code);
    err << withArguments(trText("trz4ctl", "Fehler #%1: %2"), {std::to_string(-code), message})
        << "\n";
    if (!detail.empty())
        err << detail << "\n";
    if (options.json) {
        json.add("error", -code).add("message", message);
        if (!detail.empty())
            json.add("detail", detail);
        out << json.text() << "\n";
    }
    return kCtlExitCardError;
}

int Invocation::succeed() {
    if (options.json)
        out << json.text() << "\n";
    return kCtlExitOk;
}

// Settles port and address for a card command: the options first, the settings file for what
// they leave open. False with *code set when the address is one the program does not take.
bool Invocation::resolveLink(int noPortCode, int *code) {
    CtlSettings settings;
    const std::string settingsPath = ctlSettingsPath(options);
    if (!options.com || !options.address)
        settings = readCtlSettings(settingsPath.c_str());
    com = options.com.value_or(settings.com);
    address = options.address.value_or(settings.address);
    json.add("com", com).add("address", std::string(1, address));
    if (!vekcom::addressAccepted(address)) {
        *code = trz4ctl::kErrAddress;
        return false;
    }
    if (com == 0) {
        if (!options.com) {
            const bool here = settingsPath == kSettingsFileName;
            setDetail(withArgument(
                here ? trText("trz4ctl", "Keine COM-Nummer: --com angeben oder \"com\" in %1 im "
                                         "aktuellen Verzeichnis eintragen")
                     : trText("trz4ctl",
                              "Keine COM-Nummer: --com angeben oder \"com\" in %1 eintragen"),
                settingsPath));
        }
        *code = noPortCode;
        return false;
    }
    return true;
}

// Opens the card session with --timeout. The card operations report the open's own code, the
// identification and the scan their no-port code; either way the reason rides along.
int Invocation::openPort(int noPortCode, bool reportOpenCode) {
    const int code = session.open(com, options.timeoutSeconds);
    if (code != 0) {
        if (const std::string reason = session.openFailure().reason(); !reason.empty())
            setDetail(reason);
        return reportOpenCode ? code : noPortCode;
    }
    return 0;
}

// The open session for one command: the command's code, or the open's failure code. The port
// is closed again either way.
template <typename Command>
int Invocation::onPort(int noPortCode, bool reportOpenCode, Command command) {
    int code = openPort(noPortCode, reportOpenCode);
    if (code != 0)
        return code;
    code = command();
    session.close();
    return code;
}

// A command that talks to one card: resolveLink, then onPort.
template <typename Command>
int Invocation::withCard(int noPortCode, bool reportOpenCode, Command command) {
    int code = 0;
    if (!resolveLink(noPortCode, &code))
        return code;
    return onPort(noPortCode, reportOpenCode, command);
}

int Invocation::comOperand(const std::string &text, int *number) {
    int value = 0;
    const char *end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < 1 || value > 256)
        return usage(withArgument(trText("trz4ctl", "COM-Nummer von 1 bis 256 erwartet, nicht %1"),
                                  "\"" + text + "\""));
    *number = value;
    return kCtlExitOk;
}

namespace {

// One line of the port list: "COM 9     /dev/pts/3  product", or the name the system shows
// for the port ("COM 5     USB-SERIAL CH340 (COM5)" on Windows).
std::string portLine(const ComPortInfo &port) {
    char label[16];
    std::snprintf(label, sizeof label, "COM %-4d", port.number);
    if (std::string name = systemPortName(port.device, port.product); !name.empty())
        return std::string(label) + "  " + visibleName(name);
    std::string line = std::string(label) + "  " + visibleName(port.device);
    if (!port.product.empty())
        line += "  " + visibleName(port.product);
    return line;
}

JsonObject portJson(const ComPortInfo &port) {
    return JsonObject()
        .add("com", port.number)
        .add("device", port.device)
        .add("product", port.product);
}

} // namespace

int Invocation::ports() {
    if (!options.operands.empty())
        return noArguments();
    // Started before the list is read, so that nothing that changes in between is missed.
    PortWatch watch;
    if (options.watch) {
        if (int started = watch.start(); started != 0) {
            err << "trz4ctl: "
                << trText("trz4ctl", "Schnittstellen lassen sich hier nicht beobachten")
                << (started == kPortWatchUnsupported
                        ? std::string()
                        : std::string(" (") + std::strerror(-started) + ")")
                << "\n";
            return kCtlExitCardError;
        }
    }
    JsonArray list;
    const std::vector<ComPortInfo> found = listComPorts();
    for (const ComPortInfo &port : found) {
        list.add(portJson(port));
        if (!options.json)
            out << portLine(port) << "\n";
    }
    if (found.empty() && !options.json)
        err << trText("trz4ctl", "Keine seriellen Schnittstellen gefunden.") << "\n";
    if (portMapSupported())
        json.add("portMap", portMapDirectory());
    json.addRaw("ports", list.text());
    if (!options.watch)
        return succeed();
    if (options.json)
        out << json.text() << "\n";
    out << std::flush;
    for (std::vector<ComPortInfo> shown = found;;) {
        if (!watch.waitForChange(-1)) {
            err << "trz4ctl: "
                << trText("trz4ctl", "die Beobachtung der Schnittstellen ist abgebrochen") << "\n";
            return kCtlExitCardError;
        }
        const std::vector<ComPortInfo> now = listComPorts();
        // Removals first, so that a number that moved to another device reads "-" then "+".
        auto same = [](const ComPortInfo &a, const ComPortInfo &b) {
            return a.number == b.number && a.device == b.device;
        };
        for (int pass = 0; pass < 2; ++pass) {
            const bool added = pass == 1;
            const std::vector<ComPortInfo> &from = added ? now : shown;
            const std::vector<ComPortInfo> &against = added ? shown : now;
            for (const ComPortInfo &port : from) {
                bool kept = false;
                for (const ComPortInfo &other : against)
                    kept = kept || same(port, other);
                if (kept)
                    continue;
                if (options.json)
                    out << JsonObject()
                               .add("command", "ports")
                               .add("event", added ? "added" : "removed")
                               .add("com", port.number)
                               .add("device", port.device)
                               .add("product", port.product)
                               .text()
                        << "\n";
                else
                    out << (added ? "+ " : "- ") << portLine(port) << "\n";
            }
        }
        out << std::flush;
        shown = now;
    }
}

int Invocation::identification() {
    if (!options.operands.empty())
        return noArguments();
    char id[kTrz4IdBufferSize] = {};
    if (int code = withCard(kNoPortIdentification, false,
                            [&] { return session.identification(address, id); });
        code != 0)
        return fail(code);
    json.add("id", id);
    if (!options.json)
        out << withArgument(trText("trz4ctl", "ID: %1"), visible(id)) << "\n";
    return succeed();
}

int Invocation::scan() {
    if (!options.operands.empty())
        return noArguments();
    if (options.allPorts)
        return scanAllPorts();
    JsonArray results;
    int cards = 0;
    const int code = withCard(kNoPortScan, false, [&] {
        for (char probe = '1'; probe <= vekcom::kHighestAddress; ++probe) {
            JsonObject result;
            result.add("address", std::string(1, probe));
            const std::string finding = probeFinding(session.probe(probe), result, &cards);
            if (!options.json)
                out << withArguments(trText("trz4ctl", "Adresse %1: %2"),
                                     {std::string(1, probe), finding})
                    << "\n";
            results.add(result);
        }
        return 0;
    });
    if (code != 0)
        return fail(code);
    json.addRaw("results", results.text()).add("cards", cards);
    return succeed();
}

// What one probe found, for the scan's line; its members go to result, a card counts.
std::string Invocation::probeFinding(const CardProbe &probe, JsonObject &result, int *cards) const {
    switch (probe.kind) {
    case CardProbeKind::Card:
        ++*cards;
        result.add("found", "card").add("id", probe.text);
        return withArgument(trText("trz4ctl", "trz-4-Karte, ID %1"), visible(probe.text));
    case CardProbeKind::OtherDevice:
        result.add("found", "foreign").add("id", probe.text);
        return withArgument(trText("trz4ctl", "fremdes Gerät, ID %1"), visible(probe.text));
    case CardProbeKind::NoAnswer:
    case CardProbeKind::Error:
        break;
    }
    // As in the program, a probe that fails only means that nothing usable is there.
    result.add("found", "none").add("error", -probe.code);
    return trText("trz4ctl", "kein Gerät gefunden");
}

// Address 1 on every listed port. A port is opened without waiting (another program's hold
// fails the open at once), so a busy port costs nothing; a silent one costs one time-out.
int Invocation::scanAllPorts() {
    JsonArray results;
    int cards = 0;
    for (const ComPortInfo &port : listComPorts()) {
        JsonObject result;
        result.add("com", port.number).add("device", port.device);
        std::string finding;
        if (session.open(port.number, options.timeoutSeconds) != 0) {
            const std::string reason = session.openFailure().reason();
            if (session.openFailure().comError == kComBusy) {
                result.add("found", "busy");
                finding = trText("trz4ctl", "belegt (übersprungen)");
            } else {
                result.add("found", "unavailable");
                finding = reason.empty() ? trText("trz4ctl", "nicht zu öffnen")
                                         : withArgument(trText("trz4ctl", "nicht zu öffnen: %1"),
                                                        visibleName(reason));
            }
            if (!reason.empty())
                result.add("detail", reason);
        } else {
            const CardProbe probe = session.probe('1');
            session.close();
            result.add("address", "1");
            finding = probeFinding(probe, result, &cards);
        }
        results.add(result);
        if (!options.json)
            out << portLine({port.number, port.device, {}}) << "  " << finding << "\n"
                << std::flush;
    }
    json.add("allPorts", true).addRaw("results", results.text()).add("cards", cards);
    if (!options.json)
        out << withArgument(trText("trz4ctl", "trz-4-Karten gefunden: %1"), std::to_string(cards))
            << "\n";
    return succeed();
}

int Invocation::status() {
    if (!options.operands.empty())
        return noArguments();
    int word = 0;
    if (int code =
            withCard(kNoPortCardOperation, true, [&] { return session.status(address, &word); });
        code != 0)
        return fail(code);
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%X", static_cast<unsigned>(word));
    const bool invalidNumber = (word & kTrz4StatusInvalidCardNumber) != 0;
    const bool incomplete = (word & kTrz4StatusParametersIncomplete) != 0;
    // The card's word is 32 bits; 0xFFFFFFFF is not -1.
    json.add("status", static_cast<long long>(static_cast<unsigned>(word)))
        .add("statusHex", hex)
        .add("invalidCardNumber", invalidNumber)
        .add("parametersIncomplete", incomplete);
    if (!options.json) {
        const std::string yes = trText("trz4ctl", "ja");
        const std::string no = trText("trz4ctl", "nein");
        out << withArgument(trText("trz4ctl", "Status: %1"), hex) << "\n"
            << withArgument(trText("trz4ctl", "Ungültige Kartennummer: %1"),
                            invalidNumber ? yes : no)
            << "\n"
            << withArgument(trText("trz4ctl", "Nicht alle Parameter eingestellt: %1"),
                            incomplete ? yes : no)
            << "\n";
    }
    return succeed();
}

int Invocation::readCardNumber() {
    if (!options.operands.empty())
        return noArguments();
    char number = 0;
    if (int code = withCard(kNoPortCardOperation, true,
                            [&] { return session.readCardNumber(address, &number); });
        code != 0)
        return fail(code);
    json.add("cardNumber", std::string(1, number));
    if (!options.json)
        out << withArgument(trText("trz4ctl", "Kartennummer: %1"), visible({&number, 1})) << "\n";
    return succeed();
}

int Invocation::writeCardNumber() {
    if (options.operands.size() != 1)
        return usage(trText("trz4ctl", "write erwartet genau eine neue Kartennummer (1-9, a-f)"));
    const std::string &wanted = options.operands[0];
    if (wanted.size() != 1 || !trz4ValidCharacter(wanted[0]))
        return usage(withArgument(trText("trz4ctl", "Kartennummer 1-9 oder a-f erwartet, nicht %1"),
                                  "\"" + wanted + "\""));
    const char number = wanted[0];
    json.add("cardNumber", wanted);

    int code = 0;
    if (!resolveLink(kNoPortCardOperation, &code))
        return fail(code);
    err << trText("trz4ctl", "Warnung") << "\n" << trText("vektrz4", kKartennummerWarnung);
    if (!options.yes) {
        err << withArgument(
                   trText("trz4ctl",
                          "Nichts gesendet. Mit --yes wird die Karte auf Nr. %1 umgestellt."),
                   std::string(1, number))
            << "\n";
        json.add("written", false);
        if (options.json)
            out << json.text() << "\n";
        return kCtlExitUsage;
    }
    char readBack = 0;
    code = onPort(kNoPortCardOperation, true, [&] {
        const int written = session.writeCardNumber(address, number);
        json.add("written", written == 0);
        // Read back as the program does, so that what the card now holds is shown.
        return written != 0 ? written : session.readCardNumber(address, &readBack);
    });
    if (code != 0)
        return fail(code);
    json.add("readBack", std::string(1, readBack));
    if (const int taken = cardNumberTaken(number, readBack); taken != 0) {
        setDetail(cardNumberNotTakenText(number, readBack));
        return fail(taken);
    }
    if (!options.json)
        out << withArgument(trText("trz4ctl", "Kartennummer: %1"), visible({&readBack, 1})) << "\n";
    return succeed();
}

// Windows numbers its COM ports itself; there is nothing to map.
int Invocation::noPortMap() {
    return usage(withArgument(trText("trz4ctl", "%1: Windows hat keine Portzuordnung, die "
                                                "COM-Nummern vergibt Windows selbst "
                                                "(Geräte-Manager)"),
                              options.command));
}

int Invocation::mapPort() {
    if (!portMapSupported())
        return noPortMap();
    if (options.operands.size() != 2)
        return usage(trText("trz4ctl", "map erwartet eine COM-Nummer und ein Gerät"));
    int number = 0;
    if (int status = comOperand(options.operands[0], &number); status != kCtlExitOk)
        return status;
    if (options.operands[1].empty())
        return usage(trText("trz4ctl", "map erwartet ein Gerät"));
    // A relative target would be taken relative to the port map directory by the system.
    std::error_code ec;
    std::string device = std::filesystem::absolute(options.operands[1], ec).string();
    if (ec)
        device = options.operands[1];
    const std::string link = portMapDirectory() + "/com" + std::to_string(number);
    json.add("com", number).add("device", device).add("link", link);
    const int result = addPortMapLink(number, device);
    if (result != 0) {
        setDetail(link + ": " + std::strerror(-result));
        return fail(trz4ctl::kErrMapLink);
    }
    if (!std::filesystem::exists(device, ec))
        err << withArgument(trText("trz4ctl", "Hinweis: %1 gibt es zurzeit nicht; der Eintrag "
                                              "gilt, sobald es da ist."),
                            device)
            << "\n";
    if (!options.json)
        out << "com" << number << " -> " << device << "\n";
    return succeed();
}

int Invocation::unmapPort() {
    if (!portMapSupported())
        return noPortMap();
    if (options.operands.size() != 1)
        return usage(trText("trz4ctl", "unmap erwartet eine COM-Nummer"));
    int number = 0;
    if (int status = comOperand(options.operands[0], &number); status != kCtlExitOk)
        return status;
    const std::string link = portMapDirectory() + "/com" + std::to_string(number);
    std::error_code ec;
    const bool existed = std::filesystem::exists(std::filesystem::symlink_status(link, ec));
    json.add("com", number).add("link", link);
    const int result = removePortMapLink(number);
    if (result != 0) {
        setDetail(link + ": " + std::strerror(-result));
        return fail(trz4ctl::kErrUnmapLink);
    }
    json.add("removed", existed);
    if (!options.json)
        out << withArgument(existed ? trText("trz4ctl", "%1 entfernt")
                                    : trText("trz4ctl", "%1 war nicht eingetragen"),
                            "com" + std::to_string(number))
            << "\n";
    return succeed();
}

int Invocation::run() {
    using Run = int (Invocation::*)();
    static constexpr std::pair<std::string_view, Run> kRuns[] = {
        {"ports", &Invocation::ports},         {"id", &Invocation::identification},
        {"scan", &Invocation::scan},           {"status", &Invocation::status},
        {"read", &Invocation::readCardNumber}, {"write", &Invocation::writeCardNumber},
        {"map", &Invocation::mapPort},         {"unmap", &Invocation::unmapPort},
    };
    for (const auto &[name, command] : kRuns)
        if (options.command == name)
            return (this->*command)();
    return usage(
        withArgument(trText("trz4ctl", "unbekannter Befehl %1"), "\"" + options.command + "\""));
}

} // namespace

namespace {

// The link log on err for the length of one invocation.
class TraceToStream {
public:
    TraceToStream(bool on, std::ostream &err) : on(on) {
        if (on)
            previous = setLinkLogSink([&err](const LinkExchange &exchange) {
                err << formatLinkExchange(exchange) << std::flush;
            });
    }
    ~TraceToStream() {
        if (on)
            setLinkLogSink(std::move(previous));
    }
    TraceToStream(const TraceToStream &) = delete;
    TraceToStream &operator=(const TraceToStream &) = delete;

private:
    bool on;
    LinkLogSink previous;
};

} // namespace

int runTrz4ctl(const std::vector<std::string> &args, std::ostream &out, std::ostream &err) {
    // The language first (--lang anywhere, else the locale's), so that a usage error is told
    // in it too.
    vekSetLanguage(ctlLanguage(args));
    CtlOptions options;
    std::string error;
    const auto helpLine = [] { return "\n" + helpHint() + "\n"; };
    if (!parseCtlArguments(args, &options, &error)) {
        err << "trz4ctl: " << error << helpLine();
        return kCtlExitUsage;
    }
    // "trz4ctl help [command]" is the same as "trz4ctl [command] --help".
    if (options.command == "help") {
        options.help = true;
        options.command = options.operands.empty() ? "" : options.operands[0];
    }
    if (options.help) {
        const std::string help = ctlHelpText(options.command);
        if (help.empty()) {
            err << "trz4ctl: "
                << withArgument(trText("trz4ctl", "unbekannter Befehl %1"),
                                "\"" + options.command + "\"")
                << helpLine();
            return kCtlExitUsage;
        }
        out << help;
        return kCtlExitOk;
    }
    if (options.version) {
        out << trz4VersionLine("trz4ctl");
        return kCtlExitOk;
    }
    if (options.command.empty()) {
        err << "trz4ctl: " << trText("trz4ctl", "kein Befehl angegeben") << "\n" << ctlHelpText("");
        return kCtlExitUsage;
    }
    // Options that belong to one command only.
    std::string misplaced;
    if (options.watch && options.command != "ports")
        misplaced = trText("trz4ctl", "--watch gilt nur für ports");
    else if (options.allPorts && options.command != "scan")
        misplaced = trText("trz4ctl", "--all-ports gilt nur für scan");
    else if (options.allPorts && (options.com || options.address))
        misplaced = trText(
            "trz4ctl", "--all-ports fragt Adresse 1 jeder Schnittstelle: ohne --com und --address");
    if (!misplaced.empty()) {
        err << "trz4ctl: " << misplaced << helpLine();
        return kCtlExitUsage;
    }
    TraceToStream trace(options.trace, err);
    return Invocation(options, out, err).run();
}
