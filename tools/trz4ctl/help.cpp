// The help texts: German, like the program. Each subcommand's help ends with examples.
#include "tools/trz4ctl/trz4ctl.h"

#include <string_view>

namespace {

constexpr std::string_view kToolHelp = R"(trz4ctl - die trz-4-Karte von der Kommandozeile

Aufruf: trz4ctl [Optionen] <Befehl> [Argumente]

Befehle:
  ports             serielle Schnittstellen mit COM-Nummer und Gerätedatei auflisten
  id                Identifikation der Karte lesen
  scan              nach einer trz-4-Karte suchen (Adresse 1)
  status            Statuswort lesen: hexadezimal und die zwei Statusbits
  read              Kartennummer lesen
  write NR          Kartennummer auf NR (1-9, a-f) umstellen; nur mit --yes
  map N GERÄT       COM N in der Portzuordnung mit GERÄT verbinden
  unmap N           COM N aus der Portzuordnung entfernen

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
                    lesen ($XDG_CONFIG_HOME/trz4steuerung/, sonst ~/.config/trz4steuerung/),
                    wo das Programm sie hält, wenn es aus dem Menü gestartet wird
  --timeout S       Wartezeit je erwartetem Byte in Sekunden (Vorgabe 1.0)
  --lang de|en      Sprache der Meldungen (Vorgabe de)
  --json            Ergebnis als ein JSON-Objekt auf stdout
  --yes             bestätigt die Warnung von "write"
  -h, --help        diese Hilfe; "trz4ctl <Befehl> --help" erklärt einen Befehl
  --version         Programmname und Version ausgeben

Rückgabewert:
  0  Erfolg
  1  Fehler der Karte oder der Schnittstelle; auf stderr steht z. B.
     "Fehler #403012: Keine Antwort vom Gerät"
  2  falscher Aufruf (auch "write" ohne --yes); es wurde nichts gesendet

Beispiele:
  trz4ctl ports
  trz4ctl --com 33 id
  trz4ctl --com 33 --json status
  trz4ctl --com 33 write 5 --yes
  trz4ctl map 9 /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12345-if00-port0
)";

struct CommandHelp {
    std::string_view command;
    std::string_view text;
};

constexpr CommandHelp kCommandHelp[] = {
    {"ports", R"(Aufruf: trz4ctl ports [--json]

Listet die vorhandenen seriellen Schnittstellen: COM-Nummer, Gerätedatei und, bei
USB-Adaptern, den Produktnamen. Es gelten dieselben Nummern wie im Programm:
/dev/ttyS<k> ist COM k+1, /dev/ttyUSB<k> ist COM 33+k, /dev/ttyACM<k> ist COM 65+k;
ein Eintrag der Portzuordnung (siehe "trz4ctl map --help") geht vor.

Beispiele:
  trz4ctl ports
  trz4ctl ports --json
)"},
    {"id", R"(Aufruf: trz4ctl id [--com N] [--address A] [--timeout S] [--json]

Liest den Identifikationstext der Karte an der Geräteadresse, z. B. "VEK-TRZ4-...".

Beispiele:
  trz4ctl --com 33 id
  trz4ctl id --timeout 0.2
)"},
    {"scan", R"(Aufruf: trz4ctl scan [--com N] [--timeout S] [--json]

Sucht wie die Taste "Scann" des Programms an Adresse 1 nach einem Gerät. Ein Text, der
mit "VEK-TRZ4-" beginnt, ist eine trz-4-Karte; jeder andere ein fremdes Gerät. Der Befehl
endet mit 0, auch wenn nichts antwortet; nur eine nicht zu öffnende Schnittstelle ist ein
Fehler.

Beispiele:
  trz4ctl --com 33 scan
  trz4ctl scan --json
)"},
    {"status", R"(Aufruf: trz4ctl status [--com N] [--address A] [--timeout S] [--json]

Liest das Statuswort der Karte und zeigt es hexadezimal, dazu die zwei Bits der
Status-LEDs des Programms:
  0x100  Ungültige Kartennummer
  0x200  Nicht alle Parameter eingestellt

Beispiele:
  trz4ctl --com 33 status
  trz4ctl status --json --lang en
)"},
    {"read", R"(Aufruf: trz4ctl read [--com N] [--address A] [--timeout S] [--json]

Liest die interne Kartennummer (1-9, a-f).

Beispiele:
  trz4ctl --com 33 read
  trz4ctl read --json
)"},
    {"write", R"(Aufruf: trz4ctl write NR --yes [--com N] [--address A] [--timeout S] [--json]

Stellt die interne Kartennummer auf NR (1-9, a-f) um und liest sie zur Kontrolle zurück.
Vorher erscheint die Warnung des Programms auf stderr. Ohne --yes, das für die Bestätigung
steht, wird nichts gesendet und der Befehl endet mit 2. Meldet die Karte danach eine andere
Nummer, hat sie die neue nicht übernommen: Fehler #895904, Rückgabewert 1.

Beispiele:
  trz4ctl --com 33 write 5          (zeigt nur die Warnung)
  trz4ctl --com 33 write 5 --yes
)"},
    {"map", R"(Aufruf: trz4ctl map N GERÄT

Legt in der Portzuordnung ($XDG_CONFIG_HOME/trz4steuerung/ports, sonst
~/.config/trz4steuerung/ports) den Eintrag com<N> an, einen symbolischen Link auf GERÄT.
Er geht der festen Nummerierung vor und gilt für das Programm und für trz4ctl. Ein
älterer Eintrag derselben Nummer wird ersetzt. Am besten taugt ein Name aus
/dev/serial/by-id/, weil er an den Adapter gebunden ist und nicht an die Reihenfolge
des Einsteckens.

Beispiele:
  trz4ctl map 9 /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12345-if00-port0
  trz4ctl map 1 /dev/ttyUSB0
)"},
    {"unmap", R"(Aufruf: trz4ctl unmap N

Entfernt den Eintrag com<N> aus der Portzuordnung; danach gilt für COM N wieder die
feste Nummerierung. Fehlt der Eintrag, ist das kein Fehler.

Beispiel:
  trz4ctl unmap 9
)"},
};

} // namespace

std::string ctlHelpText(const std::string &command) {
    if (command.empty())
        return std::string(kToolHelp);
    for (const CommandHelp &help : kCommandHelp) {
        if (help.command == command)
            return std::string(help.text);
    }
    return {};
}
