// trz4ctl's help about ports on Windows: the COM numbers and names Windows gives, no port map.
#include "tools/trz4ctl/help_system.h"

#include "platform/translatable.h"

const char *const kSystemToolHelp =
    TRZ4_TRANSLATABLE("trz4ctl", R"(trz4ctl - die trz-4-Karte von der Kommandozeile

Aufruf: trz4ctl [Optionen] <Befehl> [Argumente]

Befehle:
  ports             serielle Schnittstellen mit COM-Nummer und dem Namen aus dem
                    Geräte-Manager auflisten; mit --watch Änderungen zeigen, bis es
                    abgebrochen wird
  id                Identifikation der Karte lesen
  scan              nach einer trz-4-Karte suchen (Adresse 1); mit --all-ports an
                    jeder aufgelisteten Schnittstelle
  status            Statuswort lesen: hexadezimal und die zwei Statusbits
  read              Kartennummer lesen
  write NR          Kartennummer auf NR (1-9, a-f) umstellen; nur mit --yes

Optionen:
  --com N           COM-Nummer, 1-256 (0: keine), wie der Geräte-Manager sie zeigt.
                    Vorgabe: "com" aus den Einstellungen des Programms, trz4Steuerung.ini
                    im aktuellen Ordner (die Datei wird nur gelesen)
  --address A       Geräteadresse "1" oder "&". Vorgabe: "adresse" aus trz4Steuerung.ini,
                    sonst 1
  --settings-dir ORDNER
                    die Einstellungen aus ORDNER\trz4Steuerung.ini lesen, wie das
                    Programm mit derselben Option
  --user-settings   die Einstellungen aus %APPDATA%\trz4steuerung\ lesen, wo das
                    Programm sie hält, wenn es aus dem Startmenü gestartet wird
  --lang de|en|qps  Sprache der Ausgabe (Vorgabe: nach LC_ALL, LC_MESSAGES oder LANG,
                    sonst nach der Anzeigesprache von Windows; Deutsch bei einer
                    deutschen Einstellung, sonst Englisch); qps ist eine Pseudosprache
                    für Tests
)");

// Windows frees the port with the process however it ends, and has no signal statuses.
const char *const kSystemExitStatuses = nullptr;

const char *const kSystemToolExamples = TRZ4_TRANSLATABLE("trz4ctl", R"(Beispiele:
  trz4ctl ports
  trz4ctl --com 3 id
  trz4ctl --com 3 --json status
  trz4ctl --com 3 write 5 --yes
  trz4ctl --user-settings status
)");

const CommandHelp kSystemCommandHelp[3] = {
    {"ports", TRZ4_TRANSLATABLE("trz4ctl", R"(Aufruf: trz4ctl ports [--watch] [--json]

Listet die seriellen Schnittstellen, die Windows in der Registry unter
HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM führt: die COM-Nummer und den Namen,
den der Geräte-Manager zeigt, z. B. USB-SERIAL CH340 (COM5), oder, wo Windows keinen hat,
den Namen des Treibers, z. B. \Device\Serial0. Mit --json stehen beide Namen in "device"
und "product".

Mit --watch folgt auf die Liste jede Änderung, sobald ein Adapter eingesteckt oder
gezogen wird: "+ COM n ..." für eine neue, "- COM n ..." für eine verschwundene
Schnittstelle (mit --json je ein JSON-Objekt mit "event" "added" oder "removed"), bis
der Befehl abgebrochen wird (Strg-C).

Beispiele:
  trz4ctl ports
  trz4ctl ports --json
  trz4ctl ports --watch
)")},
    {"map", TRZ4_TRANSLATABLE("trz4ctl", R"(Aufruf: trz4ctl map N GERÄT

Unter Windows gibt es keine Portzuordnung: die COM-Nummern vergibt Windows selbst. Eine
andere Nummer für einen Adapter stellt man im Geräte-Manager ein (Eigenschaften des
Anschlusses, "Anschlusseinstellungen", "Erweitert"). Der Befehl ändert nichts und endet
mit 2.
)")},
    {"unmap", TRZ4_TRANSLATABLE("trz4ctl", R"(Aufruf: trz4ctl unmap N

Unter Windows gibt es keine Portzuordnung (siehe "trz4ctl map --help"). Der Befehl
ändert nichts und endet mit 2.
)")},
};

// Windows gives the first USB adapter COM 3 on most machines.
const char *const kExampleCom = "3";
