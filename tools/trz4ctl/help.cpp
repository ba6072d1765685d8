// The help texts in German and English. Each subcommand's help ends with examples.
#include "tools/trz4ctl/trz4ctl.h"

#include <string_view>

namespace {

constexpr std::string_view kToolHelpGerman = R"(trz4ctl - die trz-4-Karte von der Kommandozeile

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
  --lang de|en      Sprache der Ausgabe (Vorgabe: nach LC_ALL, LC_MESSAGES, LANG, unter
                    Windows ohne sie nach der Anzeigesprache; Deutsch bei einer deutschen
                    Einstellung, sonst Englisch)
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

Beispiele:
  trz4ctl ports
  trz4ctl --com 33 id
  trz4ctl --com 33 --json status
  trz4ctl --com 33 write 5 --yes
  trz4ctl map 9 /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12345-if00-port0
)";

constexpr std::string_view kToolHelpEnglish = R"(trz4ctl - the trz-4 card from the command line

Usage: trz4ctl [options] <command> [arguments]

Commands:
  ports             list the serial ports with COM number and device file; with
                    --watch show changes until interrupted
  id                read the card's identification
  scan              look for a trz-4 card (address 1); with --all-ports on every
                    listed port
  status            read the status word: hexadecimal and the two status bits
  read              read the card number
  write NO          set the card number to NO (1-9, a-f); only with --yes
  map N DEVICE      link COM N in the port map to DEVICE (not on Windows)
  unmap N           remove COM N from the port map (not on Windows)

Options:
  --com N           COM number, 1-256 (0: none). Default: "com" from the program's
                    settings, trz4Steuerung.ini in the current directory (the file is
                    only read)
  --address A       device address "1" or "&". Default: "adresse" from
                    trz4Steuerung.ini, else 1
  --settings-dir DIR
                    read the settings from DIR/trz4Steuerung.ini, as the program does
                    with the same option
  --user-settings   read the settings from the user's configuration directory
                    ($XDG_CONFIG_HOME/trz4steuerung/, else ~/.config/trz4steuerung/;
                    on Windows %APPDATA%\trz4steuerung\), where the program keeps them
                    when started from the menu
  --timeout S       wait per expected byte in seconds (default 1.0)
  --lang de|en      language of the output (default: by LC_ALL, LC_MESSAGES, LANG, on
                    Windows without them by the display language; German under a German
                    setting, English otherwise)
  --json            the result as one JSON object on stdout
  --yes             confirms the warning of "write"
  --trace           log every exchange with the card on stderr
  -h, --help        this help; "trz4ctl <command> --help" explains a command
  --version         print the program's name and version

Exit status:
  0  success
  1  an error of the card or the port; stderr says e.g.
     "Error #403012: No answer from device"
  2  wrong usage (also "write" without --yes); nothing was sent

Examples:
  trz4ctl ports
  trz4ctl --com 33 id
  trz4ctl --com 33 --json status
  trz4ctl --com 33 write 5 --yes
  trz4ctl map 9 /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12345-if00-port0
)";

struct CommandHelp {
    std::string_view command;
    std::string_view german;
    std::string_view english;
};

constexpr CommandHelp kCommandHelp[] = {
    {"ports", R"(Aufruf: trz4ctl ports [--watch] [--json]

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
)",
     R"(Usage: trz4ctl ports [--watch] [--json]

Lists the serial ports present: COM number, device file and, for USB adapters, the
product name. The numbers are the program's: /dev/ttyS<k> is COM k+1, /dev/ttyUSB<k>
is COM 33+k, /dev/ttyACM<k> is COM 65+k; an entry of the port map (see
"trz4ctl map --help") takes precedence. On Windows they are the ports that Windows lists
in the registry under HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM, with their own
COM numbers.

With --watch the list is followed by every change as soon as an adapter is plugged in
or pulled out or the port map changes: "+ COM n ..." for a new port, "- COM n ..." for
one that went away (with --json one JSON object each, "event" "added" or "removed"),
until the command is interrupted (Ctrl-C).

Examples:
  trz4ctl ports
  trz4ctl ports --json
  trz4ctl ports --watch
)"},
    {"id", R"(Aufruf: trz4ctl id [--com N] [--address A] [--timeout S] [--json] [--trace]

Liest den Identifikationstext der Karte an der Geräteadresse, z. B. "VEK-TRZ4-...".

Beispiele:
  trz4ctl --com 33 id
  trz4ctl id --timeout 0.2
)",
     R"(Usage: trz4ctl id [--com N] [--address A] [--timeout S] [--json] [--trace]

Reads the identification text of the card at the device address, e.g. "VEK-TRZ4-...".

Examples:
  trz4ctl --com 33 id
  trz4ctl id --timeout 0.2
)"},
    {"scan", R"(Aufruf: trz4ctl scan [--com N | --all-ports] [--timeout S] [--json] [--trace]

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
)",
     R"(Usage: trz4ctl scan [--com N | --all-ports] [--timeout S] [--json] [--trace]

Looks for a device at address 1, as the program's "Scann" button does. A text that begins
with "VEK-TRZ4-" is a trz-4 card, any other text another device. The command ends with 0 even
when nothing answers; only a port that cannot be opened is an error.

With --all-ports every port that "trz4ctl ports" lists is asked; one line per port with
COM number, device file and finding. A port that another program holds is reported as
busy and skipped without waiting for it; one that cannot be opened is no error here
either.

Examples:
  trz4ctl --com 33 scan
  trz4ctl scan --json
  trz4ctl scan --all-ports --timeout 0.3
)"},
    {"status", R"(Aufruf: trz4ctl status [--com N] [--address A] [--timeout S] [--json] [--trace]

Liest das Statuswort der Karte und zeigt es hexadezimal, dazu die zwei Bits der
Status-LEDs des Programms:
  0x100  Ungültige Kartennummer
  0x200  Nicht alle Parameter eingestellt

Beispiele:
  trz4ctl --com 33 status
  trz4ctl status --json --lang en
)",
     R"(Usage: trz4ctl status [--com N] [--address A] [--timeout S] [--json] [--trace]

Reads the card's status word and shows it in hexadecimal, with the two bits of the
program's status LEDs:
  0x100  invalid card number
  0x200  not all parameters set

Examples:
  trz4ctl --com 33 status
  trz4ctl status --json --lang de
)"},
    {"read", R"(Aufruf: trz4ctl read [--com N] [--address A] [--timeout S] [--json] [--trace]

Liest die interne Kartennummer (1-9, a-f).

Beispiele:
  trz4ctl --com 33 read
  trz4ctl read --json
)",
     R"(Usage: trz4ctl read [--com N] [--address A] [--timeout S] [--json] [--trace]

Reads the internal card number (1-9, a-f).

Examples:
  trz4ctl --com 33 read
  trz4ctl read --json
)"},
    {"write",
     R"(Aufruf: trz4ctl write NR --yes [--com N] [--address A] [--timeout S] [--json] [--trace]

Stellt die interne Kartennummer auf NR (1-9, a-f) um und liest sie zur Kontrolle zurück.
Vorher erscheint die Warnung des Programms auf stderr. Ohne --yes, das für die Bestätigung
steht, wird nichts gesendet und der Befehl endet mit 2. Meldet die Karte danach eine andere
Nummer, hat sie die neue nicht übernommen: Fehler #895904, Rückgabewert 1.

Beispiele:
  trz4ctl --com 33 write 5          (zeigt nur die Warnung)
  trz4ctl --com 33 write 5 --yes
)",
     R"(Usage: trz4ctl write NO --yes [--com N] [--address A] [--timeout S] [--json] [--trace]

Sets the internal card number to NO (1-9, a-f) and reads it back to check. The program's
warning appears on stderr first. Without --yes, which stands for the confirmation,
nothing is sent and the command ends with 2. When the card then reports another number it
did not take the new one: error #895904, exit status 1.

Examples:
  trz4ctl --com 33 write 5          (shows the warning only)
  trz4ctl --com 33 write 5 --yes
)"},
    {"map", R"(Aufruf: trz4ctl map N GERÄT

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
)",
     R"(Usage: trz4ctl map N DEVICE

Makes the entry com<N> in the port map ($XDG_CONFIG_HOME/trz4steuerung/ports, else
~/.config/trz4steuerung/ports), a symbolic link to DEVICE. It takes precedence over the
fixed numbering and holds for the program and for trz4ctl. An older entry of the same
number is replaced. A name from /dev/serial/by-id/ serves best, because it is bound to
the adapter and not to the order in which adapters were plugged in.

Examples:
  trz4ctl map 9 /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12345-if00-port0
  trz4ctl map 1 /dev/ttyUSB0
)"},
    {"unmap", R"(Aufruf: trz4ctl unmap N

Entfernt den Eintrag com<N> aus der Portzuordnung; danach gilt für COM N wieder die
feste Nummerierung. Fehlt der Eintrag, ist das kein Fehler. Unter Windows gibt es keine
Portzuordnung.

Beispiel:
  trz4ctl unmap 9
)",
     R"(Usage: trz4ctl unmap N

Removes the entry com<N> from the port map; COM N then follows the fixed numbering
again. A missing entry is no error.

Example:
  trz4ctl unmap 9
)"},
};

} // namespace

std::string ctlHelpText(const std::string &command, bool english) {
    if (command.empty())
        return std::string(english ? kToolHelpEnglish : kToolHelpGerman);
    for (const CommandHelp &help : kCommandHelp) {
        if (help.command == command)
            return std::string(english ? help.english : help.german);
    }
    return {};
}
