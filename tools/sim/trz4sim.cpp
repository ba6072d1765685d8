// trz4sim: plays trz-4 cards on a pseudo-terminal until it is stopped (Ctrl-C, SIGTERM).
#include "tools/sim/trz4sim_engine.h"

#include "platform/translatable.h"
#include "text/texts.h"
#include "trz4version.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pthread.h>
#include <string>
#include <vector>

namespace {

constexpr const char *kHelp =
    TRZ4_TRANSLATABLE("trz4sim", R"(trz4sim - spielt trz-4-Karten an einem Pseudo-Terminal

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
  --lang de|en|qps   Sprache der Hilfe und der Meldungen (Vorgabe: nach LC_ALL,
                     LC_MESSAGES, LANG; Deutsch bei einer deutschen Einstellung, sonst
                     Englisch); qps ist eine Pseudosprache für Tests
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
  keepnumber         Schreiben wird quittiert, die Kartennummer bleibt die alte

Ausgabe: eine Zeile mit dem Gerät und dem COM-Eintrag, z. B.
  trz4sim: Karte 1 an /dev/pts/3, COM 9 (/home/x/.config/trz4steuerung/ports/com9)

Rückgabewert:
  0  nach Ctrl-C oder SIGTERM
  1  das Pseudo-Terminal oder der Eintrag im Portverzeichnis ließ sich nicht anlegen
  2  falscher Aufruf
)");

bool validAddress(const char *text) {
    return text && std::strlen(text) == 1 &&
           ((text[0] >= '1' && text[0] <= '9') || (text[0] >= 'a' && text[0] <= 'f'));
}

int usageError(const std::string &message) {
    std::fprintf(stderr, "trz4sim: %s %s\n", message.c_str(),
                 trText("trz4sim", "(--help zeigt die Optionen)").c_str());
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    // A valid --lang decides before anything else is parsed, so that a mistake earlier on the
    // line is told in the language asked for; otherwise the locale's.
    setLanguage(
        languageOption(std::vector<std::string>(argv + 1, argv + argc)).value_or(localeLanguage()));
    SimOptions options;
    int vanishAfter = -1;
    auto needValue = [&](int &i) -> const char * { return i + 1 < argc ? argv[++i] : nullptr; };
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            std::fputs(trText("trz4sim", kHelp).c_str(), stdout);
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
        if (option.rfind("--lang=", 0) == 0 && languageOfCode(option.substr(7)))
            continue;
        const char *value = needValue(i);
        if (!value)
            return usageError(withArgument(trText("trz4sim", "%1 braucht einen Wert"), option));
        char *end = nullptr;
        if (option == "--com") {
            long com = std::strtol(value, &end, 10);
            if (*end || com < 1 || com > 256)
                return usageError(trText("trz4sim", "--com braucht eine Zahl von 1 bis 256"));
            options.com = static_cast<int>(com);
        } else if (option == "--card") {
            if (!validAddress(value))
                return usageError(trText("trz4sim", "Adresse muss 1-9 oder a-f sein"));
            SimCard card;
            card.address = value[0];
            options.cards.push_back(card);
        } else if (option == "--foreign") {
            std::string text = value;
            std::string address = text.substr(0, text.find('='));
            if (!validAddress(address.c_str()))
                return usageError(trText("trz4sim", "Adresse muss 1-9 oder a-f sein"));
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
                    return usageError(trText("trz4sim", "Kartennummer muss 1-9 oder a-f sein"));
                card.cardNumber = value[0];
            } else {
                unsigned long status = std::strtoul(value, &end, 16);
                if (*end || !*value || status > 0xFFFFFFFFUL)
                    return usageError(trText("trz4sim", "--status braucht eine Hexadezimalzahl"));
                card.status = static_cast<int>(static_cast<unsigned>(status));
            }
        } else if (option == "--fault") {
            std::string text = value;
            std::string name = text.substr(0, text.find('='));
            if (!parseSimFault(name, &options.fault))
                return usageError(
                    withArgument(trText("trz4sim", "unbekanntes Fehlerbild %1"), name));
            if (options.fault == SimFault::Stall) {
                if (text.find('=') == std::string::npos)
                    return usageError(trText("trz4sim", "stall braucht =N"));
                options.stallAfter = std::atoi(text.c_str() + text.find('=') + 1);
            }
        } else if (option == "--lang") {
            if (!languageOfCode(value))
                return usageError(trText("trz4sim", "--lang braucht de oder en"));
        } else if (option == "--vanish") {
            vanishAfter = std::atoi(value);
        } else if (option == "--delay-us") {
            long us = std::strtol(value, &end, 10);
            if (*end || us < 0 || us > 1000000)
                return usageError(trText("trz4sim", "--delay-us braucht 0 bis 1000000"));
            options.byteDelaySeconds = static_cast<double>(us) * 1e-6;
        } else {
            return usageError(withArgument(trText("trz4sim", "unbekannte Option %1"), option));
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
        std::fprintf(
            stderr, "trz4sim: %s\n",
            withArgument(trText("trz4sim", "Start fehlgeschlagen: %1"), std::strerror(-result))
                .c_str());
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
