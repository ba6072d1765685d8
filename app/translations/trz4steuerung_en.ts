<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>CardValues</name>
    <message>
        <source>Nicht aktuell: die letzte Abfrage ist fehlgeschlagen. Angezeigt wird der zuletzt gelesene Wert.</source>
        <translation>Not current: the last query failed. The value shown is the last one read.</translation>
    </message>
    <message>
        <source>Nicht aktuell: die Karte war zuletzt nicht erreichbar. Angezeigt wird der zuletzt gelesene Wert.</source>
        <translation>Not current: the card could not be reached lately. The value shown is the last one read.</translation>
    </message>
    <message>
        <source>Nicht aktuell: die Kartennummer wurde umgestellt und noch nicht zurückgelesen.</source>
        <translation>Not current: the card number was changed and has not been read back yet.</translation>
    </message>
</context>
<context>
    <name>ComHilfe</name>
    <message>
        <source>Die trz-4 Karte muss mit einem USB-Kabel mit dem PC verbunden werden.
Linux legt für den USB-Adapter ein Gerät an (/dev/ttyUSB0, /dev/ttyACM0, ...),
das trz-4 Steuerung als COM-Port zeigt: /dev/ttyUSB&lt;k&gt; ist COM 33+k,
/dev/ttyACM&lt;k&gt; ist COM 65+k, /dev/ttyS&lt;k&gt; ist COM k+1.
Dieser COM-Port muss im Feld &quot;COM-Port (USB)&quot; eingestellt werden.
&quot;trz4ctl ports&quot; listet die vorhandenen COM-Ports mit ihren Geräten.
Eine feste Nummer für einen Adapter gibt die Port-Zuordnung in
%1, z. B. &quot;trz4ctl map 5 /dev/serial/by-id/...&quot;.
Zugriff auf die COM-Ports haben die Mitglieder der Gruppe &quot;dialout&quot;
(sudo adduser $USER dialout, danach neu anmelden).
</source>
        <translation>The trz-4 card must be connected to the PC with a USB cable.
Linux creates a device for the USB adapter (/dev/ttyUSB0, /dev/ttyACM0, ...),
which trz-4 Steuerung shows as a COM port: /dev/ttyUSB&lt;k&gt; is COM 33+k,
/dev/ttyACM&lt;k&gt; is COM 65+k, /dev/ttyS&lt;k&gt; is COM k+1.
Choose this COM port in the field &quot;COM port (USB)&quot;.
&quot;trz4ctl ports&quot; lists the COM ports present with their devices.
The port map gives an adapter a fixed number: it is in
%1, e.g. &quot;trz4ctl map 5 /dev/serial/by-id/...&quot;.
Members of the group &quot;dialout&quot; have access to the COM ports
(sudo adduser $USER dialout, then log in again).
</translation>
    </message>
    <message>
        <source>Die trz-4 Karte muss mit einem USB-Kabel mit dem PC verbunden werden.
Windows weist dieser Verbindung einen COM-Port zu. Dieser COM-Port muss
im Feld &quot;COM-Port (USB)&quot; eingestellt werden.
Wenn noch nicht vorhanden, müssen USB-to-RS232 Treiber installiert werden.
</source>
        <translation>The trz-4 card must be connected to the PC with a USB cable.
Windows assigns a COM port to this connection. Choose this COM port
in the field &quot;COM port (USB)&quot;.
If not yet present, USB-to-RS232 drivers must be installed.
</translation>
    </message>
</context>
<context>
    <name>Funktionen</name>
    <message>
        <source>keine gewöhnliche Datei</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>kein freier Name für die temporäre Datei</source>
        <translation>no free name for the temporary file</translation>
    </message>
    <message>
        <source>Fehler %1 der INI-Bibliothek</source>
        <translation>error %1 of the INI library</translation>
    </message>
</context>
<context>
    <name>LedWidget</name>
    <message>
        <source>ein</source>
        <translation>on</translation>
    </message>
    <message>
        <source>aus</source>
        <translation>off</translation>
    </message>
</context>
<context>
    <name>LinkLogWindow</name>
    <message>
        <source>Schnittstellenprotokoll</source>
        <translation>Link log</translation>
    </message>
    <message>
        <source>Austausch mit der Karte</source>
        <translation>Exchanges with the card</translation>
    </message>
    <message>
        <source>&amp;Kopieren</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>&amp;Speichern unter ...</source>
        <translation>&amp;Save as ...</translation>
    </message>
    <message>
        <source>Schl&amp;ießen</source>
        <translation>C&amp;lose</translation>
    </message>
    <message>
        <source>Protokoll speichern</source>
        <translation>Save the log</translation>
    </message>
    <message>
        <source>Textdateien (*.txt);;Alle Dateien (*)</source>
        <translation>Text files (*.txt);;All files (*)</translation>
    </message>
    <message>
        <source>Das Protokoll konnte nicht gespeichert werden:</source>
        <translation>The log could not be saved:</translation>
    </message>
</context>
<context>
    <name>Mainpanel</name>
    <message>
        <source>Kartennummer neu: %1 (die bisherige wurde nicht gelesen)</source>
        <translation>Card number new: %1 (the present one has not been read)</translation>
    </message>
    <message>
        <source>Kartennummer bisher: %1 (zuletzt gelesen, nicht aktuell), neu: %2</source>
        <translation>Card number so far: %1 (last read, not current), new: %2</translation>
    </message>
    <message>
        <source>Kartennummer bisher: %1, neu: %2</source>
        <translation>Card number so far: %1, new: %2</translation>
    </message>
    <message>
        <source>Kartennummer %1 eingestellt und von der Karte bestätigt.</source>
        <translation>Card number %1 set and confirmed by the card.</translation>
    </message>
</context>
<context>
    <name>Mainpanel_Funktionen</name>
    <message>
        <source>COM-Port</source>
        <translation>COM port</translation>
    </message>
    <message>
        <source>Karte jetzt auf Nr. %c umstellen</source>
        <translation>Change the card to no. %c now</translation>
    </message>
    <message>
        <source>Warnung</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>VEK_Fehleranzeige</name>
    <message>
        <source>Interner Fehler</source>
        <translation>Internal error</translation>
    </message>
    <message>
        <source>MAX_FEHLERCONTROLS ist zu klein</source>
        <translation>MAX_FEHLERCONTROLS is too small</translation>
    </message>
</context>
<context>
    <name>VekCom</name>
    <message>
        <source>COM %1 (getrennt)</source>
        <translation>COM %1 (offline)</translation>
    </message>
    <message>
        <source>Gewählt, aber zur Zeit nicht angeschlossen: die Operationen gehen an diesen Port, bis ein anderer gewählt wird.</source>
        <translation>Chosen, but not connected at the moment: operations go to this port until another one is chosen.</translation>
    </message>
</context>
<context>
    <name>Vek_Com</name>
    <message>
        <source>nicht geöffnet</source>
        <translation>not open</translation>
    </message>
    <message>
        <source>%1 ist zu klein</source>
        <translation>%1 is too small</translation>
    </message>
    <message>
        <source>Interner Fehler</source>
        <translation>Internal error</translation>
    </message>
    <message>
        <source>Suche nach Gerät x</source>
        <translation>Searching for device x</translation>
    </message>
</context>
<context>
    <name>commandline</name>
    <message>
        <source>Hilfe: %1 --help</source>
        <translation>Help: %1 --help</translation>
    </message>
    <message>
        <source>--settings-dir braucht ein Verzeichnis</source>
        <translation>--settings-dir needs a directory</translation>
    </message>
    <message>
        <source>--lang braucht de oder en, nicht &quot;%1&quot;</source>
        <translation>--lang needs de or en, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--user-settings nimmt keinen Wert</source>
        <translation>--user-settings takes no value</translation>
    </message>
    <message>
        <source>unbekannte Option %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>unerwartetes Argument %1</source>
        <translation>unexpected argument %1</translation>
    </message>
    <message>
        <source>--settings-dir und --user-settings schließen einander aus</source>
        <translation>--settings-dir and --user-settings exclude each other</translation>
    </message>
    <message>
        <source>trz4Steuerung - Steuerung der trz-4-Karte

Aufruf: trz4Steuerung [Optionen] [Qt-Optionen]

Optionen:
  --settings-dir VERZ  die Einstellungen (COM-Port, Adresse) in VERZ/trz4Steuerung.ini
                       lesen und speichern. Vorgabe: trz4Steuerung.ini im aktuellen
                       Verzeichnis
  --user-settings      die Einstellungen im Konfigurationsverzeichnis des Benutzers
                       halten: %1
                       (wird bei Bedarf angelegt). So startet der Menüeintrag das
                       Programm.
  --lang de|en         die Sprache des Programms: de Deutsch, en Englisch. Vorgabe:
                       Deutsch, wenn LC_ALL, LC_MESSAGES oder LANG (die erste, die
                       gesetzt ist; unter Windows ohne sie die Anzeigesprache) Deutsch
                       wählt (de, de_DE.UTF-8, ...), sonst Englisch
  -h, --help           diese Hilfe
  --version            Programmname und Version ausgeben

Qt-Optionen wie -platform offscreen oder -style Fusion gelten wie bei jedem Qt-Programm.

Rückgabewert:
  0    nach &quot;Beenden&quot;, dem Schließen des Fensters, kill, Strg-C oder dem Abmelden;
       die Einstellungen sind dann gespeichert
  2    falscher Aufruf
  255  keine grafische Anzeige, oder die Oberfläche ließ sich nicht laden
</source>
        <translation>trz4Steuerung - control program for the trz-4 card

Usage: trz4Steuerung [options] [Qt options]

Options:
  --settings-dir DIR   read and save the settings (COM port, address) in
                       DIR/trz4Steuerung.ini. Default: trz4Steuerung.ini in the current
                       directory
  --user-settings      keep the settings in the user&apos;s configuration directory:
                       %1
                       (created when needed). This is how the menu entry starts the
                       program.
  --lang de|en         the program&apos;s language: de German, en English. Default: German
                       when LC_ALL, LC_MESSAGES or LANG (the first that is set; on
                       Windows without them the display language) chooses German (de,
                       de_DE.UTF-8, ...), else English
  -h, --help           this help
  --version            print the program&apos;s name and version

Qt options such as -platform offscreen or -style Fusion work as for every Qt program.

Exit status:
  0    after &quot;Exit&quot;, closing the window, kill, Ctrl-C or logging out;
       the settings are saved then
  2    wrong usage
  255  no graphical display, or the user interface could not be loaded
</translation>
    </message>
    <message>
        <source>$XDG_CONFIG_HOME/trz4steuerung/, sonst
                       ~/.config/trz4steuerung/</source>
        <translation>$XDG_CONFIG_HOME/trz4steuerung/, else
                       ~/.config/trz4steuerung/</translation>
    </message>
    <message>
        <source>%APPDATA%\trz4steuerung\</source>
        <translation>%APPDATA%\trz4steuerung\</translation>
    </message>
</context>
<context>
    <name>runtime</name>
    <message>
        <source>Die grafische Anzeige ließ sich nicht öffnen (%1); das Programm braucht eine Anzeige.</source>
        <translation>The graphical display could not be opened (%1); the program needs a display.</translation>
    </message>
    <message>
        <source>Keine grafische Anzeige gefunden (DISPLAY, WAYLAND_DISPLAY und QT_QPA_PLATFORM sind leer); das Programm braucht eine Anzeige.</source>
        <translation>No graphical display found (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are empty); the program needs a display.</translation>
    </message>
</context>
<context>
    <name>trz4SteuerungGui</name>
    <message>
        <source>&amp;Datei</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Beenden</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Info</source>
        <translation>&amp;Info</translation>
    </message>
    <message>
        <source>&amp;Adresse</source>
        <translation>&amp;Address</translation>
    </message>
    <message>
        <source>&amp;COM-Port (USB)</source>
        <translation>&amp;COM port (USB)</translation>
    </message>
    <message>
        <source>nicht geöffnet</source>
        <translation>not open</translation>
    </message>
    <message>
        <source>Neue Kartennummer</source>
        <translation>New card number</translation>
    </message>
    <message>
        <source>Fehlernummer</source>
        <translation>Error number</translation>
    </message>
    <message>
        <source>Fehlermeldung</source>
        <translation>Error message</translation>
    </message>
    <message>
        <source>Gelesene Kartennummer</source>
        <translation>Card number read</translation>
    </message>
    <message>
        <source>Hilfe zum COM-Port</source>
        <translation>Help on the COM port</translation>
    </message>
    <message>
        <source>&amp;Scann</source>
        <translation>&amp;Scan</translation>
    </message>
    <message>
        <source>&amp;ID lesen</source>
        <translation>Read &amp;ID</translation>
    </message>
    <message>
        <source>S&amp;tatus lesen</source>
        <translation>Read s&amp;tatus</translation>
    </message>
    <message>
        <source>&amp;Lesen</source>
        <translation>&amp;Read</translation>
    </message>
    <message>
        <source>&amp;Einstellen</source>
        <translation>&amp;Write</translation>
    </message>
    <message>
        <source>Fehler</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Com-Einstellungen</source>
        <translation>COM settings</translation>
    </message>
    <message>
        <source>Kartennummer</source>
        <translation>Card number</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Nicht alle Parameter eingestellt</source>
        <translation>Not all parameters set</translation>
    </message>
    <message>
        <source>Ungültige Kartennummer</source>
        <translation>Invalid card number</translation>
    </message>
    <message>
        <source>Com</source>
        <translation>COM</translation>
    </message>
    <message>
        <source>Suche Gerät ...</source>
        <translation>Searching for device ...</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Musterstraße 12
12345 Musterstadt
Telefon +49 (0)000 1234-0
Fax +49 (0)000 1234-99
E-Mail info@beispielwerk.example
www.beispielwerk.example</source>
        <translation>Musterstraße 12
12345 Musterstadt
Phone +49 (0)000 1234-0
Fax +49 (0)000 1234-99
Email info@beispielwerk.example
www.beispielwerk.example</translation>
    </message>
    <message>
        <source>Schnittstellen&amp;protokoll ...</source>
        <translation>Link &amp;log ...</translation>
    </message>
</context>
</TS>
