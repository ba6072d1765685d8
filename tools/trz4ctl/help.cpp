// The help texts, written in German; the translation files hold the other languages. Each
// subcommand's help ends with examples.
#include "tools/trz4ctl/trz4ctl.h"

#include "platform/translatable.h"
#include "text/texts.h"

namespace {

constexpr const char *kToolHelp =
    TRZ4_TRANSLATABLE("trz4ctl", R"(trz4ctl - die trz-4-Karte von der Kommandozeile

Aufruf: trz4ctl [Optionen] <Befehl> [Argumente]

Befehle:
  ports             serielle Schnittstellen mit COM-Nummer und Gerätedatei auflisten;
                    mit --watch Änderungen zeigen, bis es abgebrochen wird
  id                Identifikation der Karte lesen
  scan              nach einer trz-4-Karte suchen (Adresse 1); mit --all-ports an
                    jeder aufgelisteten Schnittstelle
  status            Statuswort lesen: hexadezimal und die zwei Statusbits
  read              Kartennummer lesen
  write NR          Kartennummer auf NR (1-9, a-f) umstellen; nur mit --yes
  map N GERÄT       COM N in der Portzuordnung mit GERÄT verbinden (nicht unter Windows)
  unmap N           COM N aus der Portzuordnung entfernen (nicht unter Windows)

Optionen:
  --com N           COM-Nummer, 1-256 (0: keine). Vorgabe: "com" aus den Einstellungen
                    des Programms, trz4Steuerung.ini im aktuellen Verzeichnis (die Datei
                    wird nur gelesen)
  --address A       Geräteadresse "1" oder "&". Vorgabe: "adresse" aus trz4Steuerung.ini,
                    sonst 1
  --settings-dir VERZ
                    die Einstellungen aus VERZ/trz4Steuerung.ini lesen, wie das Programm
                    mit derselben Option
  --user-settings   die Einstellungen aus dem Konfigurationsverzeichnis des Benutzers
                    lesen ($XDG_CONFIG_HOME/trz4steuerung/, sonst ~/.config/trz4steuerung/;
                    unter Windows %APPDATA%\trz4steuerung\), wo das Programm sie hält,
                    wenn es aus dem Menü gestartet wird
  --timeout S       Wartezeit je erwartetem Byte in Sekunden (Vorgabe 1.0)
  --lang de|en|qps  Sprache der Ausgabe (Vorgabe: nach LC_ALL, LC_MESSAGES, LANG, unter
                    Windows ohne sie nach der Anzeigesprache; Deutsch bei einer deutschen
                    Einstellung, sonst Englisch); qps ist eine Pseudosprache für Tests
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
  128+n  beendet durch das Signal n (kill 143, Strg-C 130); die Schnittstelle wurde
     vorher freigegeben

Beispiele:
  trz4ctl ports
  trz4ctl --com 33 id
  trz4ctl --com 33 --json status
  trz4ctl --com 33 write 5 --yes
  trz4ctl map 9 /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12345-if00-port0
)");

struct CommandHelp {
    const char *command;
    const char *text;
};

constexpr CommandHelp kCommandHelp[] = {
    {"ports", TRZ4_TRANSLATABLE("trz4ctl", R"(Aufruf: trz4ctl ports [--watch] [--json]

Listet die vorhandenen seriellen Schnittstellen: COM-Nummer, Gerätedatei und, bei
USB-Adaptern, den Produktnamen. Es gelten dieselben Nummern wie im Programm:
/dev/ttyS<k> ist COM k+1, /dev/ttyUSB<k> ist COM 33+k, /dev/ttyACM<k> ist COM 65+k;
ein Eintrag der Portzuordnung (siehe "trz4ctl map --help") geht vor. Unter Windows
sind es die Schnittstellen, die Windows in der Registry unter
HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM führt, mit ihren eigenen COM-Nummern.

Mit --watch folgt auf die Liste jede Änderung, sobald ein Adapter eingesteckt oder
gezogen oder die Portzuordnung geändert wird: "+ COM n ..." für eine neue,
"- COM n ..." für eine verschwundene Schnittstelle (mit --json je ein JSON-Objekt
mit "event" "added" oder "removed"), bis der Befehl abgebrochen wird (Strg-C).

Beispiele:
  trz4ctl ports
  trz4ctl ports --json
  trz4ctl ports --watch
)")},
    {"id",
     TRZ4_TRANSLATABLE(
         "trz4ctl", R"(Aufruf: trz4ctl id [--com N] [--address A] [--timeout S] [--json] [--trace]

Liest den Identifikationstext der Karte an der Geräteadresse, z. B. "VEK-TRZ4-...".

Beispiele:
  trz4ctl --com 33 id
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
Schnittstelle eine Zeile mit COM-Nummer, Gerätedatei und Befund. Eine Schnittstelle, die
ein anderes Programm belegt, wird als belegt gemeldet und übersprungen, ohne auf sie zu
warten; auch eine, die sich nicht öffnen lässt, ist hier kein Fehler.

Beispiele:
  trz4ctl --com 33 scan
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
  trz4ctl --com 33 status
  trz4ctl status --json --lang en
)")},
    {"read",
     TRZ4_TRANSLATABLE(
         "trz4ctl", R"(Aufruf: trz4ctl read [--com N] [--address A] [--timeout S] [--json] [--trace]

Liest die interne Kartennummer (1-9, a-f).

Beispiele:
  trz4ctl --com 33 read
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
  trz4ctl --com 33 write 5          (zeigt nur die Warnung)
  trz4ctl --com 33 write 5 --yes
)")},
    {"map", TRZ4_TRANSLATABLE("trz4ctl", R"(Aufruf: trz4ctl map N GERÄT

Legt in der Portzuordnung ($XDG_CONFIG_HOME/trz4steuerung/ports, sonst
~/.config/trz4steuerung/ports) den Eintrag com<N> an, einen symbolischen Link auf GERÄT.
Er geht der festen Nummerierung vor und gilt für das Programm und für trz4ctl. Ein
älterer Eintrag derselben Nummer wird ersetzt. Am besten taugt ein Name aus
/dev/serial/by-id/, weil er an den Adapter gebunden ist und nicht an die Reihenfolge
des Einsteckens. Unter Windows gibt es keine Portzuordnung: die COM-Nummern vergibt
Windows selbst (Geräte-Manager).

Beispiele:
  trz4ctl map 9 /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12345-if00-port0
  trz4ctl map 1 /dev/ttyUSB0
)")},
    {"unmap", TRZ4_TRANSLATABLE("trz4ctl", R"(Aufruf: trz4ctl unmap N

Entfernt den Eintrag com<N> aus der Portzuordnung; danach gilt für COM N wieder die
feste Nummerierung. Fehlt der Eintrag, ist das kein Fehler. Unter Windows gibt es keine
Portzuordnung.

Beispiel:
  trz4ctl unmap 9
)")},
};

} // namespace

std::string ctlHelpText(const std::string &command) {
    if (command.empty())
        return trText("trz4ctl", kToolHelp);
    for (const CommandHelp &help : kCommandHelp) {
        if (help.command == command)
            return trText("trz4ctl", help.text);
    }
    return {};
}
