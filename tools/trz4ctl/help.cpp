// The help texts, written in German; the translation files hold the other languages. Each
// subcommand's help ends with examples. The texts about ports are the system's own
// (help_system.h); the others are the same everywhere but for the COM number of their examples.
#include "tools/trz4ctl/trz4ctl.h"

#include "tools/trz4ctl/help_system.h"

#include "platform/translatable.h"
#include "text/texts.h"

namespace {

// The options that are the same everywhere and the exit statuses, between the system's part of
// the tool's help and its examples.
constexpr const char *kToolHelpCommon = TRZ4_TRANSLATABLE(
    "trz4ctl", R"(  --timeout S       Wartezeit je erwartetem Byte in Sekunden (Vorgabe 1.0)
  --json            Ergebnis als ein JSON-Objekt auf stdout
  --yes             bestätigt die Warnung von "write"
  --trace           jeden Austausch mit der Karte auf stderr protokollieren
  -h, --help        diese Hilfe; "trz4ctl <Befehl> --help" erklärt einen Befehl
  --version         Programmname und Version ausgeben

Rückgabewert:
  0  Erfolg
  1  Fehler der Karte oder der Schnittstelle; auf stderr steht z. B.
     "Fehler #403012: Keine Antwort vom Gerät"
  2  falscher Aufruf (auch "write" ohne --yes); es wurde nichts gesendet
)");

constexpr CommandHelp kCommandHelp[] = {
    {"id",
     TRZ4_TRANSLATABLE(
         "trz4ctl", R"(Aufruf: trz4ctl id [--com N] [--address A] [--timeout S] [--json] [--trace]

Liest den Identifikationstext der Karte an der Geräteadresse, z. B. "VEK-TRZ4-...".

Beispiele:
  trz4ctl --com %1 id
  trz4ctl id --timeout 0.2
)")},
    {"scan",
     TRZ4_TRANSLATABLE(
         "trz4ctl", R"(Aufruf: trz4ctl scan [--com N | --all-ports] [--timeout S] [--json] [--trace]

Sucht wie die Taste "Scann" des Programms an Adresse 1 nach einem Gerät. Ein Text, der
mit "VEK-TRZ4-" beginnt, ist eine trz-4-Karte; jeder andere ein fremdes Gerät. Der Befehl
endet mit 0, auch wenn nichts antwortet; nur eine nicht zu öffnende Schnittstelle ist ein
Fehler.

Mit --all-ports wird jede Schnittstelle gefragt, die "trz4ctl ports" auflistet; je
Schnittstelle eine Zeile mit COM-Nummer, Gerät und Befund. Eine Schnittstelle, die
ein anderes Programm belegt, wird als belegt gemeldet und übersprungen, ohne auf sie zu
warten; auch eine, die sich nicht öffnen lässt, ist hier kein Fehler.

Beispiele:
  trz4ctl --com %1 scan
  trz4ctl scan --json
  trz4ctl scan --all-ports --timeout 0.3
)")},
    {"status",
     TRZ4_TRANSLATABLE(
         "trz4ctl",
         R"(Aufruf: trz4ctl status [--com N] [--address A] [--timeout S] [--json] [--trace]

Liest das Statuswort der Karte und zeigt es hexadezimal, dazu die zwei Bits der
Status-LEDs des Programms:
  0x100  Ungültige Kartennummer
  0x200  Nicht alle Parameter eingestellt

Beispiele:
  trz4ctl --com %1 status
  trz4ctl status --json --lang en
)")},
    {"read",
     TRZ4_TRANSLATABLE(
         "trz4ctl", R"(Aufruf: trz4ctl read [--com N] [--address A] [--timeout S] [--json] [--trace]

Liest die interne Kartennummer (1-9, a-f).

Beispiele:
  trz4ctl --com %1 read
  trz4ctl read --json
)")},
    {"write",
     TRZ4_TRANSLATABLE(
         "trz4ctl",
         R"(Aufruf: trz4ctl write NR --yes [--com N] [--address A] [--timeout S] [--json] [--trace]

Stellt die interne Kartennummer auf NR (1-9, a-f) um und liest sie zur Kontrolle zurück.
Vorher erscheint die Warnung des Programms auf stderr. Ohne --yes, das für die Bestätigung
steht, wird nichts gesendet und der Befehl endet mit 2. Meldet die Karte danach eine andere
Nummer, hat sie die neue nicht übernommen: Fehler #895904, Rückgabewert 1.

Beispiele:
  trz4ctl --com %1 write 5          (zeigt nur die Warnung)
  trz4ctl --com %1 write 5 --yes
)")},
};

} // namespace

std::string ctlHelpText(const std::string &command) {
    if (command.empty())
        return trText("trz4ctl", kSystemToolHelp) + trText("trz4ctl", kToolHelpCommon) +
               (kSystemExitStatuses ? trText("trz4ctl", kSystemExitStatuses) : std::string()) +
               "\n" + trText("trz4ctl", kSystemToolExamples);
    for (const CommandHelp &help : kSystemCommandHelp) {
        if (help.command == command)
            return trText("trz4ctl", help.text);
    }
    for (const CommandHelp &help : kCommandHelp) {
        if (help.command == command)
            return withArgument(trText("trz4ctl", help.text), kExampleCom);
    }
    return {};
}
