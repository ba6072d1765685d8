// trz4ctl's help about ports on Linux: device files, their COM numbers and the port map.
#include "tools/trz4ctl/help_system.h"

#include "platform/translatable.h"

const char *const kSystemToolHelp =
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
  --lang de|en|qps  Sprache der Ausgabe (Vorgabe: nach LC_ALL, LC_MESSAGES, LANG; Deutsch
                    bei einer deutschen Einstellung, sonst Englisch); qps ist eine
                    Pseudosprache für Tests
)");

// A signal ends trz4ctl as it ends any program, once the port is given back.
const char *const kSystemExitStatuses = TRZ4_TRANSLATABLE(
    "trz4ctl",
    R"(  128+n  beendet durch das Signal n (kill 143, Strg-C 130); die Schnittstelle wurde
     vorher freigegeben
)");

const char *const kSystemToolExamples = TRZ4_TRANSLATABLE("trz4ctl", R"(Beispiele:
  trz4ctl ports
  trz4ctl --com 33 id
  trz4ctl --com 33 --json status
  trz4ctl --com 33 write 5 --yes
  trz4ctl map 9 /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12345-if00-port0
)");

const CommandHelp kSystemCommandHelp[3] = {
    {"ports", TRZ4_TRANSLATABLE("trz4ctl", R"(Aufruf: trz4ctl ports [--watch] [--json]

Listet die vorhandenen seriellen Schnittstellen: COM-Nummer, Gerätedatei und, bei
USB-Adaptern, den Produktnamen. Es gelten dieselben Nummern wie im Programm:
/dev/ttyS<k> ist COM k+1, /dev/ttyUSB<k> ist COM 33+k, /dev/ttyACM<k> ist COM 65+k;
ein Eintrag der Portzuordnung (siehe "trz4ctl map --help") geht vor.

Mit --watch folgt auf die Liste jede Änderung, sobald ein Adapter eingesteckt oder
gezogen oder die Portzuordnung geändert wird: "+ COM n ..." für eine neue,
"- COM n ..." für eine verschwundene Schnittstelle (mit --json je ein JSON-Objekt
mit "event" "added" oder "removed"), bis der Befehl abgebrochen wird (Strg-C).

Beispiele:
  trz4ctl ports
  trz4ctl ports --json
  trz4ctl ports --watch
)")},
    {"map", TRZ4_TRANSLATABLE("trz4ctl", R"(Aufruf: trz4ctl map N GERÄT

Legt in der Portzuordnung ($XDG_CONFIG_HOME/trz4steuerung/ports, sonst
~/.config/trz4steuerung/ports) den Eintrag com<N> an, einen symbolischen Link auf GERÄT.
Er geht der festen Nummerierung vor und gilt für das Programm und für trz4ctl. Ein
älterer Eintrag derselben Nummer wird ersetzt. Am besten taugt ein Name aus
/dev/serial/by-id/, weil er an den Adapter gebunden ist und nicht an die Reihenfolge
des Einsteckens.

Beispiele:
  trz4ctl map 9 /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12345-if00-port0
  trz4ctl map 1 /dev/ttyUSB0
)")},
    {"unmap", TRZ4_TRANSLATABLE("trz4ctl", R"(Aufruf: trz4ctl unmap N

Entfernt den Eintrag com<N> aus der Portzuordnung; danach gilt für COM N wieder die
feste Nummerierung. Fehlt der Eintrag, ist das kein Fehler.

Beispiel:
  trz4ctl unmap 9
)")},
};

// /dev/ttyUSB0, the first USB adapter.
const char *const kExampleCom = "33";
