// trz4sim: plays trz-4 cards on a pseudo-terminal until it is stopped (Ctrl-C, SIGTERM).
#include "platform/userlocale.h"
#include "tools/sim/trz4sim_engine.h"
#include "trz4version.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pthread.h>
#include <string>

namespace {

constexpr const char *kHelpGerman =
    R"(trz4sim - spielt trz-4-Karten an einem Pseudo-Terminal

Aufruf: trz4sim [Optionen]

Spielt eine oder mehrere trz-4-Karten an einem Pseudo-Terminal (9600 Baud 7O1 wird nur
nachgebildet) und trägt es auf Wunsch als com<n> in das Portverzeichnis ein
($XDG_CONFIG_HOME/trz4steuerung/ports, sonst ~/.config/trz4steuerung/ports), so dass
trz4Steuerung es als "COM n" anbietet. Läuft, bis es beendet wird (Ctrl-C, SIGTERM);
der Eintrag im Portverzeichnis wird dann entfernt.

Die Karten beantworten die vier Befehle mit ACK und ihrer Antwortzeile:
  #aIDR   -> #a<Kennung>        Kennung
  #aDNR   -> #aDNR<n>           Kartennummer lesen
  #aDNWn  -> (nur ACK)          Kartennummer schreiben (ändert sie)
  #aS1R   -> #aS1R<hex>         Statuswort lesen
Ein Rahmen an eine Adresse ohne Karte bleibt unbeantwortet.

Optionen:
  --com N            als com<N> ins Portverzeichnis eintragen (1-256)
  --card A           eine Karte an Adresse A (1-9, a-f); mehrfach möglich.
                     Ohne --card gibt es eine Karte an Adresse 1.
  --id TEXT          Kennung der zuletzt genannten Karte (Vorgabe VEK-TRZ4-SIM)
  --number C         Kartennummer der zuletzt genannten Karte (Vorgabe 1)
  --status HEX       Statuswort der zuletzt genannten Karte (Vorgabe 0)
  --foreign A[=TEXT]
                     ein fremdes Gerät an Adresse A: es meldet TEXT (Vorgabe
                     FREMDGERAET-X1) als Kennung und antwortet sonst mit NAK
  --fault ART        ein Fehlerbild für alle Karten (siehe unten)
  --vanish N         die nächste Antwort nach N Bytes abbrechen und das Pseudo-Terminal
                     schließen (wie ein gezogenes USB-Kabel)
  --line             jedes Byte braucht die Zeit einer 9600-Baud-7O1-Leitung (1,04 ms)
  --delay-us U       jedes Byte braucht U Mikrosekunden
  --lang de|en       Sprache der Hilfe und der Meldungen (Vorgabe: nach LC_ALL,
                     LC_MESSAGES, LANG; Deutsch bei einer deutschen Einstellung, sonst
                     Englisch)
  -h, --help         diese Hilfe
  --version          Programmname und Version ausgeben

Fehlerbilder für --fault:
  silence            keine Antwort
  nak                Quittung NAK
  can                Quittung CAN
  err                Statuslesen antwortet "err"
  garbage            ACK und eine Zeile Unsinn (Schreiben: Quittung "?")
  highbit            ein Byte ab 0x80 in der Antwort (Schreiben: Quittung 0x86)
  stall=N            die Antwort bricht nach N Bytes ab (Quittung mitgezählt)
  overlong           die Antwortzeile ist 40 Zeichen zu lang

Ausgabe: eine Zeile mit dem Gerät und dem COM-Eintrag, z. B.
  trz4sim: Karte 1 an /dev/pts/3, COM 9 (/home/x/.config/trz4steuerung/ports/com9)

Rückgabewert:
  0  nach Ctrl-C oder SIGTERM
  1  das Pseudo-Terminal oder der Eintrag im Portverzeichnis ließ sich nicht anlegen
  2  falscher Aufruf
)";

constexpr const char *kHelpEnglish =
    R"(trz4sim - plays trz-4 cards on a pseudo-terminal

Usage: trz4sim [options]

Plays one or more trz-4 cards on a pseudo-terminal (9600 baud 7O1 is only imitated)
and, if asked to, enters it as com<n> in the port map
($XDG_CONFIG_HOME/trz4steuerung/ports, else ~/.config/trz4steuerung/ports), so that
trz4Steuerung offers it as "COM n". Runs until it is stopped (Ctrl-C, SIGTERM); the
entry in the port map is then removed.

The cards answer the four commands with ACK and their answer line:
  #aIDR   -> #a<ident>          identification
  #aDNR   -> #aDNR<n>           read the card number
  #aDNWn  -> (ACK only)         write the card number (changes it)
  #aS1R   -> #aS1R<hex>         read the status word
A frame to an address without a card stays unanswered.

Options:
  --com N            enter it as com<N> in the port map (1-256)
  --card A           a card at address A (1-9, a-f); may be given more than once.
                     Without --card there is one card at address 1.
  --id TEXT          identification of the card named last (default VEK-TRZ4-SIM)
  --number C         card number of the card named last (default 1)
  --status HEX       status word of the card named last (default 0)
  --foreign A[=TEXT]
                     a foreign device at address A: it reports TEXT (default
                     FREMDGERAET-X1) as its identification and answers NAK otherwise
  --fault KIND       a fault for all cards (see below)
  --vanish N         break the next answer off after N bytes and close the
                     pseudo-terminal (like a pulled USB cable)
  --line             each byte takes the time of a 9600-baud 7O1 line (1.04 ms)
  --delay-us U       each byte takes U microseconds
  --lang de|en       language of the help and the messages (default: after LC_ALL,
                     LC_MESSAGES, LANG; German for a German setting, English otherwise)
  -h, --help         this help
  --version          print the program's name and version

Faults for --fault:
  silence            no answer
  nak                handshake NAK
  can                handshake CAN
  err                the status read answers "err"
  garbage            ACK and a line of nonsense (write: handshake "?")
  highbit            a byte from 0x80 up in the answer (write: handshake 0x86)
  stall=N            the answer breaks off after N bytes (handshake counted)
  overlong           the answer line is 40 characters too long

Output: one line with the device and the COM entry, always in these words so that
scripts can read it, for example
  trz4sim: Karte 1 an /dev/pts/3, COM 9 (/home/x/.config/trz4steuerung/ports/com9)

Exit status:
  0  after Ctrl-C or SIGTERM
  1  the pseudo-terminal or the port map entry could not be made
  2  wrong usage
)";

// English unless the locale or --lang asks for German; set before anything is said.
bool gEnglish = false;

std::string say(const char *german, const char *english) {
    return gEnglish ? english : german;
}

// A valid --lang decides before anything else is parsed, so that a mistake earlier on the line
// is told in the language asked for; otherwise the locale's.
void chooseLanguage(int argc, char **argv) {
    gEnglish = !localeNamesGerman(messagesLocaleName());
    for (int i = 1; i < argc; ++i) {
        std::string value;
        if (std::strncmp(argv[i], "--lang=", 7) == 0) {
            value = argv[i] + 7;
        } else if (std::strcmp(argv[i], "--lang") == 0 && i + 1 < argc) {
            value = argv[i + 1];
        }
        if (value == "de" || value == "en") {
            gEnglish = value == "en";
        }
    }
}

bool validAddress(const char *text) {
    return text && std::strlen(text) == 1 &&
           ((text[0] >= '1' && text[0] <= '9') || (text[0] >= 'a' && text[0] <= 'f'));
}

int usageError(const std::string &message) {
    std::fprintf(stderr, "trz4sim: %s %s\n", message.c_str(),
                 say("(--help zeigt die Optionen)", "(--help shows the options)").c_str());
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    chooseLanguage(argc, argv);
    SimOptions options;
    int vanishAfter = -1;
    auto needValue = [&](int &i) -> const char * { return i + 1 < argc ? argv[++i] : nullptr; };
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            std::fputs(gEnglish ? kHelpEnglish : kHelpGerman, stdout);
            return 0;
        }
        if (option == "--version") {
            std::fputs(trz4VersionLine("trz4sim").c_str(), stdout);
            return 0;
        }
        if (option == "--line") {
            options.byteDelaySeconds = kByteTime9600;
            continue;
        }
        // --lang=de spelt in one argument; the language is already chosen.
        if (option == "--lang=de" || option == "--lang=en")
            continue;
        const char *value = needValue(i);
        if (!value)
            return usageError(option + say(" braucht einen Wert", " needs a value"));
        char *end = nullptr;
        if (option == "--com") {
            long com = std::strtol(value, &end, 10);
            if (*end || com < 1 || com > 256)
                return usageError(say("--com braucht eine Zahl von 1 bis 256",
                                      "--com needs a number from 1 to 256"));
            options.com = static_cast<int>(com);
        } else if (option == "--card") {
            if (!validAddress(value))
                return usageError(
                    say("Adresse muss 1-9 oder a-f sein", "the address must be 1-9 or a-f"));
            SimCard card;
            card.address = value[0];
            options.cards.push_back(card);
        } else if (option == "--foreign") {
            std::string text = value;
            std::string address = text.substr(0, text.find('='));
            if (!validAddress(address.c_str()))
                return usageError(
                    say("Adresse muss 1-9 oder a-f sein", "the address must be 1-9 or a-f"));
            SimCard card;
            card.address = address[0];
            card.foreign = true;
            card.id = text.find('=') == std::string::npos ? "FREMDGERAET-X1"
                                                          : text.substr(text.find('=') + 1);
            options.cards.push_back(card);
        } else if (option == "--id" || option == "--number" || option == "--status") {
            if (options.cards.empty())
                options.cards.push_back(SimCard{});
            SimCard &card = options.cards.back();
            if (option == "--id") {
                card.id = value;
            } else if (option == "--number") {
                if (!validAddress(value))
                    return usageError(say("Kartennummer muss 1-9 oder a-f sein",
                                          "the card number must be 1-9 or a-f"));
                card.cardNumber = value[0];
            } else {
                unsigned long status = std::strtoul(value, &end, 16);
                if (*end || !*value || status > 0xFFFFFFFFUL)
                    return usageError(say("--status braucht eine Hexadezimalzahl",
                                          "--status needs a hexadecimal number"));
                card.status = static_cast<int>(static_cast<unsigned>(status));
            }
        } else if (option == "--fault") {
            std::string text = value;
            std::string name = text.substr(0, text.find('='));
            if (!parseSimFault(name, &options.fault))
                return usageError(say("unbekanntes Fehlerbild ", "unknown fault ") + name);
            if (options.fault == SimFault::Stall) {
                if (text.find('=') == std::string::npos)
                    return usageError(say("stall braucht =N", "stall needs =N"));
                options.stallAfter = std::atoi(text.c_str() + text.find('=') + 1);
            }
        } else if (option == "--lang") {
            if (std::strcmp(value, "de") != 0 && std::strcmp(value, "en") != 0)
                return usageError(say("--lang braucht de oder en", "--lang needs de or en"));
        } else if (option == "--vanish") {
            vanishAfter = std::atoi(value);
        } else if (option == "--delay-us") {
            long us = std::strtol(value, &end, 10);
            if (*end || us < 0 || us > 1000000)
                return usageError(
                    say("--delay-us braucht 0 bis 1000000", "--delay-us needs 0 to 1000000"));
            options.byteDelaySeconds = static_cast<double>(us) * 1e-6;
        } else {
            return usageError(say("unbekannte Option ", "unknown option ") + option);
        }
    }

    // Block the stop signals in every thread, then wait for them here: the engine's thread
    // never sees them and the link is removed on the normal path.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    SimOptions shown = options;
    CardSimulator simulator(std::move(options));
    if (int result = simulator.start(); result != 0) {
        std::fprintf(stderr, "trz4sim: %s: %s\n",
                     say("Start fehlgeschlagen", "start failed").c_str(), std::strerror(-result));
        return 1;
    }
    if (vanishAfter >= 0)
        simulator.vanishAfter(vanishAfter);

    std::string cards;
    for (const SimCard &card : shown.cards.empty() ? std::vector<SimCard>{SimCard{}} : shown.cards)
        cards += std::string(cards.empty() ? "" : ",") + card.address + (card.foreign ? "*" : "");
    std::string where = simulator.devicePath();
    if (!simulator.linkPath().empty())
        where += ", COM " + std::to_string(shown.com) + " (" + simulator.linkPath() + ")";
    std::printf("trz4sim: Karte %s an %s\n", cards.c_str(), where.c_str());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    simulator.stop();
    return 0;
}
