// The subcommands of trz4ctl over the card protocol, the COM numbering and the port map.
#include "tools/trz4ctl/json.h"
#include "tools/trz4ctl/trz4ctl.h"

#include "app/TrzCom.h"
#include "cardlink/Vek_Com.h"
#include "cardlink/vektrz4.h"
#include "errors/VEK_errorV3.h"
#include "platform/comports.h"
#include "platform/rs232.h"
#include "trz4version.h"

#include <sys/stat.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>

namespace {

// No port for a card operation, the identification and the scan: the program's own codes.
constexpr int kNoPortCardOperation = trzcom::kErrNotOpen;
constexpr int kNoPortIdentification = vekcom::kErrIdNotOpen;
constexpr int kNoPortScan = vekcom::kErrScanNotOpen;

// Card text for the terminal: control characters as \xHH and the backslash doubled, so that
// an answer carrying escape sequences cannot clear the screen or set the window title, and
// the escaped form cannot be mistaken for text the card sent.
std::string visible(std::string_view cardText) {
    std::string shown;
    for (unsigned char c : cardText) {
        if (c == '\\') {
            shown += "\\\\";
        } else if (c < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", c);
            shown += escape;
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

class Invocation {
public:
    Invocation(const CtlOptions &options, std::ostream &out, std::ostream &err)
        : options(options), out(out), err(err) {
        json.add("command", options.command);
    }

    int run();

private:
    const char *say(const char *german, const char *english) const {
        return options.english ? english : german;
    }

    void setDetail(const std::string &text) { detail = text; }
    int usage(const std::string &message);
    int fail(int code);
    int succeed();
    bool resolveLink(int noPortCode, int *code);
    int openPort(int noPortCode, bool reportOpenCode);
    int comOperand(const std::string &text, int *com);

    int ports();
    int identification();
    int scan();
    int status();
    int readCardNumber();
    int writeCardNumber();
    int mapPort();
    int unmapPort();

    const CtlOptions &options;
    std::ostream &out;
    std::ostream &err;
    JsonObject json;
    std::string detail; // why it failed, beyond the catalogue's words
    int com = 0;
    char address = '1';
};

int Invocation::usage(const std::string &message) {
    err << "trz4ctl: " << message << "\n"
        << "Hilfe: trz4ctl --help\n";
    return kCtlExitUsage;
}

// Reports a failure code with the catalogue's message; the detail, when there is one, goes on
// a line of its own (in JSON a member of its own, so that "message" stays the catalogue text).
int Invocation::fail(int code) {
    const std::string message = VEK_Fehlermeldung(code);
    err << say("Fehler #", "Error #") << -code << ": " << message << "\n";
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
            const bool here = settingsPath == kCtlSettingsFile;
            setDetail(say("Keine COM-Nummer: --com angeben oder \"com\" in ",
                          "No COM number: give --com or set \"com\" in ") +
                      settingsPath +
                      (here ? say(" im aktuellen Verzeichnis", " in the current directory") : "") +
                      say(" eintragen", ""));
        }
        *code = noPortCode;
        return false;
    }
    return true;
}

// Opens the port as the COM-port manager does: 9600 baud, then the time-out (whose failure,
// like the manager's, is not fatal). The card operations report the open's own code, the
// identification and the scan their no-port code; either way the reason rides along.
int Invocation::openPort(int noPortCode, bool reportOpenCode) {
    int code = VEKTRZ4_Open(com, kTrz4BaudRate);
    if (code != 0) {
        const char *reason = lastOpenFailureReason();
        if (reason != nullptr && reason[0] != '\0')
            setDetail(reason);
        return reportOpenCode ? code : noPortCode;
    }
    VEKTRZ4_Timeout(com, options.timeoutSeconds);
    return 0;
}

int Invocation::comOperand(const std::string &text, int *number) {
    int value = 0;
    const char *end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < 1 || value > 256)
        return usage("COM-Nummer von 1 bis 256 erwartet, nicht \"" + text + "\"");
    *number = value;
    return kCtlExitOk;
}

int Invocation::ports() {
    if (!options.operands.empty())
        return usage("ports nimmt keine Argumente");
    JsonArray list;
    const std::vector<ComPortInfo> found = listComPorts();
    for (const ComPortInfo &port : found) {
        list.add(JsonObject()
                     .add("com", port.number)
                     .add("device", port.device)
                     .add("product", port.product));
        if (!options.json) {
            char label[16];
            std::snprintf(label, sizeof label, "COM %-4d", port.number);
            out << label << "  " << port.device;
            if (!port.product.empty())
                out << "  " << port.product;
            out << "\n";
        }
    }
    if (found.empty() && !options.json)
        err << say("Keine seriellen Schnittstellen gefunden.\n", "No serial ports found.\n");
    json.add("portMap", portMapDirectory()).addRaw("ports", list.text());
    return succeed();
}

int Invocation::identification() {
    if (!options.operands.empty())
        return usage("id nimmt keine Argumente");
    int code = 0;
    if (!resolveLink(kNoPortIdentification, &code))
        return fail(code);
    if ((code = openPort(kNoPortIdentification, false)) != 0)
        return fail(code);
    char id[kTrz4IdBufferSize] = {};
    code = VEKTRZ4_IDLesen(com, address, id);
    VEKTRZ4_Close(com);
    if (code != 0)
        return fail(code);
    json.add("id", id);
    if (!options.json)
        out << "ID: " << visible(id) << "\n";
    return succeed();
}

int Invocation::scan() {
    if (!options.operands.empty())
        return usage("scan nimmt keine Argumente");
    int code = 0;
    if (!resolveLink(kNoPortScan, &code))
        return fail(code);
    if ((code = openPort(kNoPortScan, false)) != 0)
        return fail(code);
    JsonArray results;
    int cards = 0;
    for (char probe = '1'; probe <= vekcom::kHighestAddress; ++probe) {
        char id[kTrz4IdBufferSize] = {};
        JsonObject result;
        result.add("address", std::string(1, probe));
        const int probeCode = VEKTRZ4_IDLesen(com, probe, id);
        if (!options.json)
            out << say("Adresse ", "Address ") << probe << ": ";
        if (probeCode != 0) {
            // As in the program, a probe that fails only means that nothing usable is there.
            result.add("found", "none").add("error", -probeCode);
            if (!options.json)
                out << say("kein Gerät gefunden", "no device found") << "\n";
        } else if (std::strncmp(id, kTrz4CardPrefix, sizeof kTrz4CardPrefix - 1) == 0) {
            ++cards;
            result.add("found", "card").add("id", id);
            if (!options.json)
                out << say("trz-4-Karte, ID ", "trz-4 card, ID ") << visible(id) << "\n";
        } else {
            result.add("found", "foreign").add("id", id);
            if (!options.json)
                out << say("fremdes Gerät, ID ", "other device, ID ") << visible(id) << "\n";
        }
        results.add(result);
    }
    VEKTRZ4_Close(com);
    json.addRaw("results", results.text()).add("cards", cards);
    return succeed();
}

int Invocation::status() {
    if (!options.operands.empty())
        return usage("status nimmt keine Argumente");
    int code = 0;
    if (!resolveLink(kNoPortCardOperation, &code))
        return fail(code);
    if ((code = openPort(kNoPortCardOperation, true)) != 0)
        return fail(code);
    int word = 0;
    code = VEKTRZ4_ParameterLesen(com, address, "status", nullptr, &word, nullptr);
    VEKTRZ4_Close(com);
    if (code != 0)
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
        const char *yes = say("ja", "yes");
        const char *no = say("nein", "no");
        out << "Status: " << hex << "\n"
            << say("Ungültige Kartennummer: ", "Invalid card number: ")
            << (invalidNumber ? yes : no) << "\n"
            << say("Nicht alle Parameter eingestellt: ", "Not all parameters set: ")
            << (incomplete ? yes : no) << "\n";
    }
    return succeed();
}

int Invocation::readCardNumber() {
    if (!options.operands.empty())
        return usage("read nimmt keine Argumente");
    int code = 0;
    if (!resolveLink(kNoPortCardOperation, &code))
        return fail(code);
    if ((code = openPort(kNoPortCardOperation, true)) != 0)
        return fail(code);
    char number = 0;
    code = VEKTRZ4_KartennummerLesen(com, address, &number);
    VEKTRZ4_Close(com);
    if (code != 0)
        return fail(code);
    json.add("cardNumber", std::string(1, number));
    if (!options.json)
        out << say("Kartennummer: ", "Card number: ") << visible({&number, 1}) << "\n";
    return succeed();
}

int Invocation::writeCardNumber() {
    if (options.operands.size() != 1)
        return usage("write erwartet genau eine neue Kartennummer (1-9, a-f)");
    const std::string &wanted = options.operands[0];
    if (wanted.size() != 1 || !trz4ValidCharacter(wanted[0]))
        return usage("Kartennummer 1-9 oder a-f erwartet, nicht \"" + wanted + "\"");
    const char number = wanted[0];
    json.add("cardNumber", wanted);

    int code = 0;
    if (!resolveLink(kNoPortCardOperation, &code))
        return fail(code);
    err << "Warnung\n" << kKartennummerWarnung;
    if (!options.yes) {
        err << say("Nichts gesendet. Mit --yes wird die Karte auf Nr. ",
                   "Nothing sent. With --yes the card is set to number ")
            << number << say(" umgestellt.\n", ".\n");
        json.add("written", false);
        if (options.json)
            out << json.text() << "\n";
        return kCtlExitUsage;
    }
    if ((code = openPort(kNoPortCardOperation, true)) != 0)
        return fail(code);
    code = VEKTRZ4_KartennummerSchreiben(com, address, number);
    char readBack = 0;
    // The number is read back as the program does, so that what the card now holds is shown.
    if (code == 0) {
        json.add("written", true);
        code = VEKTRZ4_KartennummerLesen(com, address, &readBack);
    } else {
        json.add("written", false);
    }
    VEKTRZ4_Close(com);
    if (code != 0)
        return fail(code);
    json.add("readBack", std::string(1, readBack));
    // The card acknowledged the write; only the read-back tells whether it took the number.
    if (readBack != number) {
        setDetail(say("Die Karte meldet nach dem Schreiben die Nummer ",
                      "After the write the card reports number ") +
                  visible({&readBack, 1}) + say(" statt ", " instead of ") + number + ".");
        return fail(trz4ctl::kErrWriteNotTaken);
    }
    if (!options.json)
        out << say("Kartennummer: ", "Card number: ") << visible({&readBack, 1}) << "\n";
    return succeed();
}

int Invocation::mapPort() {
    if (options.operands.size() != 2)
        return usage("map erwartet eine COM-Nummer und ein Gerät");
    int number = 0;
    if (int status = comOperand(options.operands[0], &number); status != kCtlExitOk)
        return status;
    if (options.operands[1].empty())
        return usage("map erwartet ein Gerät");
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
    struct stat info {};
    if (stat(device.c_str(), &info) != 0)
        err << say("Hinweis: ", "Note: ") << device
            << say(" gibt es zurzeit nicht; der Eintrag gilt, sobald es da ist.\n",
                   " does not exist at the moment; the entry applies once it does.\n");
    if (!options.json)
        out << "com" << number << " -> " << device << "\n";
    return succeed();
}

int Invocation::unmapPort() {
    if (options.operands.size() != 1)
        return usage("unmap erwartet eine COM-Nummer");
    int number = 0;
    if (int status = comOperand(options.operands[0], &number); status != kCtlExitOk)
        return status;
    const std::string link = portMapDirectory() + "/com" + std::to_string(number);
    struct stat info {};
    const bool existed = lstat(link.c_str(), &info) == 0;
    json.add("com", number).add("link", link);
    const int result = removePortMapLink(number);
    if (result != 0) {
        setDetail(link + ": " + std::strerror(-result));
        return fail(trz4ctl::kErrUnmapLink);
    }
    json.add("removed", existed);
    if (!options.json)
        out << "com" << number
            << (existed ? say(" entfernt", " removed")
                        : say(" war nicht eingetragen", " was not mapped"))
            << "\n";
    return succeed();
}

int Invocation::run() {
    const std::string &c = options.command;
    if (c == "ports")
        return ports();
    if (c == "id")
        return identification();
    if (c == "scan")
        return scan();
    if (c == "status")
        return status();
    if (c == "read")
        return readCardNumber();
    if (c == "write")
        return writeCardNumber();
    if (c == "map")
        return mapPort();
    if (c == "unmap")
        return unmapPort();
    return usage("unbekannter Befehl \"" + c + "\"");
}

} // namespace

int runTrz4ctl(const std::vector<std::string> &args, std::ostream &out, std::ostream &err) {
    CtlOptions options;
    std::string error;
    if (!parseCtlArguments(args, &options, &error)) {
        err << "trz4ctl: " << error << "\nHilfe: trz4ctl --help\n";
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
            err << "trz4ctl: unbekannter Befehl \"" << options.command
                << "\"\nHilfe: trz4ctl --help\n";
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
        err << "trz4ctl: kein Befehl angegeben\n" << ctlHelpText("");
        return kCtlExitUsage;
    }
    VEK_Fehlersprache(options.english ? kVekLanguageEnglish : 1);
    return Invocation(options, out, err).run();
}
