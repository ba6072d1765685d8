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
    <message>
        <source>Nicht die gewünschte Nummer: die Karte hat die neue Kartennummer nicht übernommen.</source>
        <translation>Not the number asked for: the card did not take the new card number.</translation>
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
    <name>LinkLog</name>
    <message>
        <source>Zeitüberschreitung nach %1 ms</source>
        <translation>time-out after %1 ms</translation>
    </message>
    <message>
        <source>Verbindung getrennt</source>
        <translation>hang-up</translation>
    </message>
    <message>
        <source>Fehler #%1</source>
        <translation>error #%1</translation>
    </message>
    <message>
        <source>Öffnen fehlgeschlagen</source>
        <translation>open failed</translation>
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
    <message>
        <source>Status gelesen: %1, %2.</source>
        <translation>Status read: %1, %2.</translation>
    </message>
    <message>
        <source>Ungültige Kartennummer: ein</source>
        <translation>Invalid card number: on</translation>
    </message>
    <message>
        <source>Ungültige Kartennummer: aus</source>
        <translation>Invalid card number: off</translation>
    </message>
    <message>
        <source>Nicht alle Parameter eingestellt: ein</source>
        <translation>Not all parameters set: on</translation>
    </message>
    <message>
        <source>Nicht alle Parameter eingestellt: aus</source>
        <translation>Not all parameters set: off</translation>
    </message>
    <message>
        <source>Kartennummer gelesen: %1</source>
        <translation>Card number read: %1</translation>
    </message>
    <message>
        <source>Abgebrochen: die Kartennummer bleibt unverändert.</source>
        <translation>Cancelled: the card number stays unchanged.</translation>
    </message>
    <message>
        <source>trz4-Steuerung, Version %1, Datum %2</source>
        <translation>trz4-Steuerung, version %1, date %2</translation>
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
    <name>OpenFailure</name>
    <message>
        <source>Fehler %1</source>
        <translation>Error %1</translation>
    </message>
    <message>
        <source>Die COM-Nummer %1 liegt nicht in 1 bis 256.</source>
        <translation>The COM number %1 is not within 1 to 256.</translation>
    </message>
    <message>
        <source>Die Schnittstellenparameter werden nicht unterstützt.</source>
        <translation>The link parameters are not supported.</translation>
    </message>
    <message>
        <source>COM %1 ist keinem Gerät zugeordnet.</source>
        <translation>COM %1 is not assigned to any device.</translation>
    </message>
    <message>
        <source>Zugriff auf %1 verweigert: der Benutzer muss Mitglied der Gruppe &quot;%2&quot; sein, der das Gerät gehört, und sich danach neu anmelden.</source>
        <translation>Access to %1 denied: the user must be a member of the group &quot;%2&quot; that owns the device, and log in again afterwards.</translation>
    </message>
    <message>
        <source>%1 ist belegt: ein anderes Programm verwendet die Schnittstelle.</source>
        <translation>%1 is busy: another program is using the port.</translation>
    </message>
    <message>
        <source>Gerät %1 ist nicht vorhanden.</source>
        <translation>Device %1 does not exist.</translation>
    </message>
    <message>
        <source>%1: die Schnittstellenparameter wurden abgelehnt (%2).</source>
        <translation>%1: the link parameters were refused (%2).</translation>
    </message>
    <message>
        <source>%1: die Schnittstelle kann %2 Datenbits mit dieser Parität und Geschwindigkeit nicht einstellen.</source>
        <translation>%1: the port cannot be set to %2 data bits with this parity and speed.</translation>
    </message>
    <message>
        <source>%1 ist das Terminal einer laufenden Sitzung, keine serielle Schnittstelle: es wird nicht geöffnet.</source>
        <translation>%1 is the terminal of a running session, not a serial port: it is not opened.</translation>
    </message>
</context>
<context>
    <name>PopupDialog</name>
    <message>
        <source>Eingabetaste: %1. Escape: %2.</source>
        <translation>Enter: %1. Escape: %2.</translation>
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
    <message>
        <source>Fehler #%d</source>
        <translation>Error #%d</translation>
    </message>
    <message>
        <source>Fehler %1: %2</source>
        <translation>Error %1: %2</translation>
    </message>
    <message>
        <source>Angezeigte Werte sind nicht aktuell.</source>
        <translation>The values shown are not current.</translation>
    </message>
</context>
<context>
    <name>VEK_errorV3</name>
    <message>
        <source>Ein unbekannter Fehler ist aufgetreten</source>
        <translation>A unknown error occured</translation>
    </message>
    <message>
        <source>Es ist kein Fehler aufgetreten</source>
        <translation>No error</translation>
    </message>
    <message>
        <source>Nicht genügend Arbeitsspeicher</source>
        <translation>Not enough memory</translation>
    </message>
    <message>
        <source>Ungültiger Funktionsparameter (Nullzeiger)</source>
        <translation>Invalid function argument (null pointer)</translation>
    </message>
    <message>
        <source>Vorgang vom Benutzer abgebrochen</source>
        <translation>Operation cancelled by the user</translation>
    </message>
    <message>
        <source>Zeitüberschreitung beim Warten auf den Abschluss des Vorgangs</source>
        <translation>Timed out waiting for the operation to finish</translation>
    </message>
    <message>
        <source>Funktion wird in dieser Programmversion nicht unterstützt</source>
        <translation>Function not supported in this program version</translation>
    </message>
    <message>
        <source>Interner Programmfehler: unerwarteter Zustand</source>
        <translation>Internal program error: unexpected state</translation>
    </message>
    <message>
        <source>Fehler beim öffnen der seriellen Schnittstelle</source>
        <translation>Error opening com-port</translation>
    </message>
    <message>
        <source>Fehler beim schreiben auf die serielle Schnittstelle</source>
        <translation>Error writing to COM Port</translation>
    </message>
    <message>
        <source>Fehler beim Lesen von der seriellen Schnittstelle</source>
        <translation>Error reading from com-port</translation>
    </message>
    <message>
        <source>Fehler beim schliesen der seriellen Schnittstelle</source>
        <translation>Error closing com-port</translation>
    </message>
    <message>
        <source>Ungültige COM-Port Nummer</source>
        <translation>Invalid com-port number</translation>
    </message>
    <message>
        <source>Konnte kein Timeout für die serielle Schnittstelle setzten</source>
        <translation>Unable to set com-port timeout</translation>
    </message>
    <message>
        <source>Fehler beim Leeren des Schreib- oder Leesepuffers der seriellen Schnittstelle</source>
        <translation>Error flushing read- or writebuffer for com-port</translation>
    </message>
    <message>
        <source>Zeitüberschreitung beim Lesen von der seriellen Schnittstelle</source>
        <translation>Timeout reading from com-port</translation>
    </message>
    <message>
        <source>Keine oder nicht alle Zeichen konnten auf die serielle Schnittstelle geschrieben werden</source>
        <translation>Was not able to write any or all characters to a com-port</translation>
    </message>
    <message>
        <source>Ungültige Anzahl Datenbits für die serielle Schnittstelle</source>
        <translation>Invalid number of data bits for com-port</translation>
    </message>
    <message>
        <source>Ungültige Parität für die serielle Schnittstelle</source>
        <translation>Invalid parity for com-port</translation>
    </message>
    <message>
        <source>Ungültige Anzahl Stoppbits für die serielle Schnittstelle</source>
        <translation>Invalid number of stop bits for com-port</translation>
    </message>
    <message>
        <source>Ungültige Puffergröße für die serielle Schnittstelle</source>
        <translation>Invalid buffer size for com-port</translation>
    </message>
    <message>
        <source>Serielle Schnittstelle wird bereits von einem anderen Programm benutzt</source>
        <translation>Com-port is already in use by another program</translation>
    </message>
    <message>
        <source>Serielle Schnittstelle ist nicht geöffnet</source>
        <translation>COM-port not open</translation>
    </message>
    <message>
        <source>Fehler beim Leeren des Schreibpuffers der seriellen Schnittstelle</source>
        <translation>Error flushing writebuffer of com-port</translation>
    </message>
    <message>
        <source>Fehler beim Leeren des Lesepuffers der seriellen Schnittstelle</source>
        <translation>Error flushing readbuffer of com-port</translation>
    </message>
    <message>
        <source>Unzulässige Baudrate</source>
        <translation>Invalid Baudrate</translation>
    </message>
    <message>
        <source>Ungültige Flusssteuerung (Handshake) für die serielle Schnittstelle</source>
        <translation>Invalid flow control (handshake) for com-port</translation>
    </message>
    <message>
        <source>Wert konnte nicht in eine Zahl umgewandelt werden</source>
        <translation>Value could not be converted to a number</translation>
    </message>
    <message>
        <source>Division durch null bei der Berechnung eines Wertes</source>
        <translation>Division by zero while calculating a value</translation>
    </message>
    <message>
        <source>Zahlenbereich bei der Berechnung eines Wertes überschritten</source>
        <translation>Numeric overflow while calculating a value</translation>
    </message>
    <message>
        <source>Datei nicht gefunden</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>Datei konnte nicht geöffnet werden</source>
        <translation>Unable to open file</translation>
    </message>
    <message>
        <source>Fehler beim Lesen der Datei</source>
        <translation>Error reading file</translation>
    </message>
    <message>
        <source>Fehler beim Schreiben der Datei</source>
        <translation>Error writing file</translation>
    </message>
    <message>
        <source>Fehler beim Schließen der Datei</source>
        <translation>Error closing file</translation>
    </message>
    <message>
        <source>Datei konnte nicht angelegt werden</source>
        <translation>Unable to create file</translation>
    </message>
    <message>
        <source>Datei konnte nicht gelöscht werden</source>
        <translation>Unable to delete file</translation>
    </message>
    <message>
        <source>Datei konnte nicht umbenannt werden</source>
        <translation>Unable to rename file</translation>
    </message>
    <message>
        <source>Datei konnte nicht kopiert werden</source>
        <translation>Unable to copy file</translation>
    </message>
    <message>
        <source>Datei existiert bereits</source>
        <translation>File already exists</translation>
    </message>
    <message>
        <source>Zugriff auf die Datei verweigert</source>
        <translation>Access to file denied</translation>
    </message>
    <message>
        <source>Datei ist schreibgeschützt</source>
        <translation>File is read-only</translation>
    </message>
    <message>
        <source>Verzeichnis nicht gefunden</source>
        <translation>Directory not found</translation>
    </message>
    <message>
        <source>Verzeichnis konnte nicht angelegt werden</source>
        <translation>Unable to create directory</translation>
    </message>
    <message>
        <source>Verzeichnis konnte nicht gelöscht werden</source>
        <translation>Unable to delete directory</translation>
    </message>
    <message>
        <source>Verzeichnis ist nicht leer</source>
        <translation>Directory is not empty</translation>
    </message>
    <message>
        <source>Ungültiger Datei- oder Verzeichnisname</source>
        <translation>Invalid file or directory name</translation>
    </message>
    <message>
        <source>Pfad ist zu lang</source>
        <translation>Path is too long</translation>
    </message>
    <message>
        <source>Datenträger ist voll</source>
        <translation>Disk full</translation>
    </message>
    <message>
        <source>Laufwerk ist nicht bereit</source>
        <translation>Drive not ready</translation>
    </message>
    <message>
        <source>Unerwartetes Dateiende</source>
        <translation>Unexpected end of file</translation>
    </message>
    <message>
        <source>Ungültiges Dateiformat</source>
        <translation>Invalid file format</translation>
    </message>
    <message>
        <source>Datei wird von einem anderen Programm benutzt</source>
        <translation>File is in use by another program</translation>
    </message>
    <message>
        <source>Solldruck konnte nicht erreicht werden</source>
        <translation>Target pressure could not be reached</translation>
    </message>
    <message>
        <source>Überdruck: zulässiger Höchstdruck überschritten</source>
        <translation>Overpressure: maximum permitted pressure exceeded</translation>
    </message>
    <message>
        <source>Druck außerhalb des Messbereichs des Drucksensors</source>
        <translation>Pressure outside the measuring range of the pressure sensor</translation>
    </message>
    <message>
        <source>Drucksensor liefert keinen gültigen Messwert</source>
        <translation>Pressure sensor delivers no valid reading</translation>
    </message>
    <message>
        <source>Druck konnte nicht konstant gehalten werden (Leckage?)</source>
        <translation>Pressure could not be held constant (leak?)</translation>
    </message>
    <message>
        <source>Pumpe oder Kompressor der Druckerzeugung antwortet nicht</source>
        <translation>Pump or compressor of the pressure generation does not respond</translation>
    </message>
    <message>
        <source>Vakuum konnte nicht erreicht werden</source>
        <translation>Vacuum could not be reached</translation>
    </message>
    <message>
        <source>Vakuum bricht zusammen (Leckage im System)</source>
        <translation>Vacuum collapses (leak in the system)</translation>
    </message>
    <message>
        <source>Vakuumpumpe antwortet nicht</source>
        <translation>Vacuum pump does not respond</translation>
    </message>
    <message>
        <source>Vakuumsensor liefert keinen gültigen Messwert</source>
        <translation>Vacuum sensor delivers no valid reading</translation>
    </message>
    <message>
        <source>Zeitüberschreitung beim Evakuieren</source>
        <translation>Timeout while evacuating</translation>
    </message>
    <message>
        <source>Zeitüberschreitung beim Belüften</source>
        <translation>Timeout while venting</translation>
    </message>
    <message>
        <source>Ventil für Druck oder Vakuum schaltet nicht</source>
        <translation>Pressure or vacuum valve does not switch</translation>
    </message>
    <message>
        <source>Wasserstand zu niedrig</source>
        <translation>Water level too low</translation>
    </message>
    <message>
        <source>Wasserstand zu hoch</source>
        <translation>Water level too high</translation>
    </message>
    <message>
        <source>Wasserstandssensor liefert keinen gültigen Messwert</source>
        <translation>Water level sensor delivers no valid reading</translation>
    </message>
    <message>
        <source>Unzulässige Geräteadresse</source>
        <translation>invalid deviceaddress</translation>
    </message>
    <message>
        <source>Unzulässiger Parameter</source>
        <translation>invalid parameter</translation>
    </message>
    <message>
        <source>Fehlermeldung (NAK) vom Gerät erhalten</source>
        <translation>Errormessage (NAK) received from device</translation>
    </message>
    <message>
        <source>Keine Antwort vom Gerät</source>
        <translation>No answer from device</translation>
    </message>
    <message>
        <source>Fehlerhafte Antwort vom Gerät</source>
        <translation>Wrong answer from device</translation>
    </message>
    <message>
        <source>Befehlsausführung momentan nicht möglich (CAN erhalten)</source>
        <translation>Command not possible at the moment (CAN received)</translation>
    </message>
    <message>
        <source>Gerät meldet unbekannten Befehl</source>
        <translation>Device reports unknown command</translation>
    </message>
    <message>
        <source>Prüfsumme der Antwort vom Gerät ist falsch</source>
        <translation>Checksum of the answer from device is wrong</translation>
    </message>
    <message>
        <source>Antwort vom Gerät ist zu lang</source>
        <translation>Answer from device is too long</translation>
    </message>
    <message>
        <source>Gerät meldet Parameterfehler</source>
        <translation>Device reports error in parameter</translation>
    </message>
    <message>
        <source>Gerät ist nicht bereit (Selbsttest oder Initialisierung läuft)</source>
        <translation>Device not ready (self-test or initialisation running)</translation>
    </message>
    <message>
        <source>Parameter außerhalb der Grenzwerte</source>
        <translation>Parameter out of limits</translation>
    </message>
    <message>
        <source>Wert unterhalb des zulässigen Minimums</source>
        <translation>Value below the permitted minimum</translation>
    </message>
    <message>
        <source>Wert oberhalb des zulässigen Maximums</source>
        <translation>Value above the permitted maximum</translation>
    </message>
    <message>
        <source>Ungültiges Zahlenformat</source>
        <translation>Invalid number format</translation>
    </message>
    <message>
        <source>Pflichtparameter fehlt</source>
        <translation>Required parameter missing</translation>
    </message>
    <message>
        <source>Parameter widersprechen sich</source>
        <translation>Parameters contradict each other</translation>
    </message>
    <message>
        <source>Ungültige Reihenfolge der Ablaufschritte</source>
        <translation>Invalid order of sequence steps</translation>
    </message>
    <message>
        <source>Ablaufschritt nicht gefunden</source>
        <translation>Sequence step not found</translation>
    </message>
    <message>
        <source>Maximale Anzahl von Ablaufschritten überschritten</source>
        <translation>Maximum number of sequence steps exceeded</translation>
    </message>
    <message>
        <source>Text zu lang für den vorgesehenen Speicher</source>
        <translation>Text too long for the space provided</translation>
    </message>
    <message>
        <source>Speicher für Messwerte konnte nicht reserviert werden</source>
        <translation>Unable to allocate memory for measured values</translation>
    </message>
    <message>
        <source>Zu viele Werte für den reservierten Speicherbereich</source>
        <translation>Too many values for the allocated memory area</translation>
    </message>
    <message>
        <source>Bedienfeld konnte nicht geladen werden</source>
        <translation>Unable to load panel</translation>
    </message>
    <message>
        <source>Bedienelement auf dem Bedienfeld nicht gefunden</source>
        <translation>Control not found on panel</translation>
    </message>
    <message>
        <source>Bedienfeld konnte nicht angezeigt werden</source>
        <translation>Unable to display panel</translation>
    </message>
    <message>
        <source>Messeingang konnte nicht initialisiert werden</source>
        <translation>Unable to initialise measurement input</translation>
    </message>
    <message>
        <source>Ungültige Kanalnummer des Messeingangs</source>
        <translation>Invalid channel number of measurement input</translation>
    </message>
    <message>
        <source>Messwert außerhalb des Messbereichs</source>
        <translation>Measured value out of measuring range</translation>
    </message>
    <message>
        <source>Fehler beim Lesen des Messeingangs</source>
        <translation>Error reading measurement input</translation>
    </message>
    <message>
        <source>Zeitüberschreitung bei der Messung</source>
        <translation>Timeout during measurement</translation>
    </message>
    <message>
        <source>Messeingang ist nicht kalibriert</source>
        <translation>Measurement input not calibrated</translation>
    </message>
    <message>
        <source>Fühlerbruch oder Kurzschluss am Messeingang</source>
        <translation>Sensor break or short circuit at measurement input</translation>
    </message>
    <message>
        <source>Fehler beim Setzen des Analogausgangs</source>
        <translation>Error setting analog output</translation>
    </message>
    <message>
        <source>Ungültige Kanalnummer des Analogausgangs</source>
        <translation>Invalid channel number of analog output</translation>
    </message>
    <message>
        <source>Wert für den Analogausgang außerhalb des Ausgabebereichs</source>
        <translation>Value for analog output out of range</translation>
    </message>
    <message>
        <source>Fehler beim Setzen des Digitalausgangs</source>
        <translation>Error setting digital output</translation>
    </message>
    <message>
        <source>Ungültige Kanalnummer des Digitalausgangs</source>
        <translation>Invalid channel number of digital output</translation>
    </message>
    <message>
        <source>Fehler beim Lesen des Digitaleingangs</source>
        <translation>Error reading digital input</translation>
    </message>
    <message>
        <source>Relais konnte nicht geschaltet werden</source>
        <translation>Unable to switch relay</translation>
    </message>
    <message>
        <source>Ungültige Relaisnummer</source>
        <translation>Invalid relay number</translation>
    </message>
    <message>
        <source>Rückmeldung des Relais stimmt nicht mit dem Schaltzustand überein</source>
        <translation>Relay feedback does not match the switching state</translation>
    </message>
    <message>
        <source>Überlast oder Kurzschluss an einem Ausgang</source>
        <translation>Overload or short circuit at an output</translation>
    </message>
    <message>
        <source>Gerät nicht gefunden</source>
        <translation>Device not found</translation>
    </message>
    <message>
        <source>Falscher Gerätetyp angeschlossen</source>
        <translation>Wrong device type connected</translation>
    </message>
    <message>
        <source>Firmwareversion des Geräts wird nicht unterstützt</source>
        <translation>Firmware version of device not supported</translation>
    </message>
    <message>
        <source>Waage meldet Überlast</source>
        <translation>Balance reports overload</translation>
    </message>
    <message>
        <source>Waage ist nicht stabil (kein Stillstand)</source>
        <translation>Balance not stable (no standstill)</translation>
    </message>
    <message>
        <source>Gerät meldet einen internen Fehler</source>
        <translation>Device reports an internal error</translation>
    </message>
    <message>
        <source>Fehler beim schreiben in die INI-Datei</source>
        <translation>Error writing to INI-File</translation>
    </message>
    <message>
        <source>Fehler beim lesen der INI-Datei</source>
        <translation>Error reading from INI-File</translation>
    </message>
    <message>
        <source>INI-Datei nicht gefunden</source>
        <translation>INI-File not found</translation>
    </message>
    <message>
        <source>Abschnitt in der INI-Datei nicht gefunden</source>
        <translation>Section not found in INI-File</translation>
    </message>
    <message>
        <source>Ungültiger Wert in der INI-Datei</source>
        <translation>Invalid value in INI-File</translation>
    </message>
    <message>
        <source>Verbindung zur Datenbank fehlgeschlagen</source>
        <translation>Unable to connect to database</translation>
    </message>
    <message>
        <source>Fehler beim Lesen aus der Datenbank</source>
        <translation>Error reading from database</translation>
    </message>
    <message>
        <source>Fehler beim Schreiben in die Datenbank</source>
        <translation>Error writing to database</translation>
    </message>
    <message>
        <source>Datensatz in der Datenbank nicht gefunden</source>
        <translation>Record not found in database</translation>
    </message>
    <message>
        <source>Datenbankabfrage ist fehlerhaft</source>
        <translation>Database query is invalid</translation>
    </message>
    <message>
        <source>Datenbank ist gesperrt oder wird von einem anderen Programm benutzt</source>
        <translation>Database is locked or in use by another program</translation>
    </message>
    <message>
        <source>Messaufgabe (DAQ-Task) konnte nicht angelegt werden</source>
        <translation>Unable to create data-acquisition task</translation>
    </message>
    <message>
        <source>Messaufgabe (DAQ-Task) konnte nicht gestartet werden</source>
        <translation>Unable to start data-acquisition task</translation>
    </message>
    <message>
        <source>Messaufgabe (DAQ-Task) konnte nicht beendet werden</source>
        <translation>Unable to stop data-acquisition task</translation>
    </message>
    <message>
        <source>Fehler beim Lesen des Gerätespeichers</source>
        <translation>Error reading device memory</translation>
    </message>
    <message>
        <source>Fehler beim Schreiben in den Gerätespeicher</source>
        <translation>Error writing device memory</translation>
    </message>
    <message>
        <source>Gerätespeicher ist voll</source>
        <translation>Device memory full</translation>
    </message>
    <message>
        <source>Adresse außerhalb des Gerätespeichers</source>
        <translation>Address outside device memory</translation>
    </message>
    <message>
        <source>Daten im Gerätespeicher sind beschädigt (Prüfsumme falsch)</source>
        <translation>Data in device memory corrupted (wrong checksum)</translation>
    </message>
    <message>
        <source>Prüfablauf konnte nicht geladen werden</source>
        <translation>Unable to load test sequence</translation>
    </message>
    <message>
        <source>Prüfablauf ist leer</source>
        <translation>Test sequence is empty</translation>
    </message>
    <message>
        <source>Prüfablauf enthält einen ungültigen Schritt</source>
        <translation>Test sequence contains an invalid step</translation>
    </message>
    <message>
        <source>Prüfablauf vom Benutzer abgebrochen</source>
        <translation>Test sequence aborted by the user</translation>
    </message>
    <message>
        <source>Prüfablauf läuft bereits</source>
        <translation>Test sequence already running</translation>
    </message>
    <message>
        <source>Zeitüberschreitung im Prüfablauf</source>
        <translation>Timeout in test sequence</translation>
    </message>
    <message>
        <source>Prüfablauf konnte nicht gespeichert werden</source>
        <translation>Unable to save test sequence</translation>
    </message>
    <message>
        <source>Version des Prüfablaufs wird nicht unterstützt</source>
        <translation>Test sequence version not supported</translation>
    </message>
    <message>
        <source>Prüfprotokoll konnte nicht angelegt werden</source>
        <translation>Unable to create test record</translation>
    </message>
    <message>
        <source>Fehler beim Schreiben des Prüfprotokolls</source>
        <translation>Error writing test record</translation>
    </message>
    <message>
        <source>Fehler beim Lesen des Prüfprotokolls</source>
        <translation>Error reading test record</translation>
    </message>
    <message>
        <source>Prüfprotokoll nicht gefunden</source>
        <translation>Test record not found</translation>
    </message>
    <message>
        <source>Prüfprotokoll ist beschädigt</source>
        <translation>Test record is corrupted</translation>
    </message>
    <message>
        <source>Prüfprotokoll konnte nicht gedruckt werden</source>
        <translation>Unable to print test record</translation>
    </message>
    <message>
        <source>Prüfprotokoll ist bereits abgeschlossen</source>
        <translation>Test record is already closed</translation>
    </message>
    <message>
        <source>Seriennummer des Prüflings fehlt</source>
        <translation>Serial number of unit under test missing</translation>
    </message>
    <message>
        <source>Seriennummer des Prüflings ist ungültig</source>
        <translation>Serial number of unit under test is invalid</translation>
    </message>
    <message>
        <source>Prüfling hat die Prüfung nicht bestanden</source>
        <translation>Unit under test failed the test</translation>
    </message>
    <message>
        <source>Messdatei konnte nicht angelegt werden</source>
        <translation>Unable to create measurement file</translation>
    </message>
    <message>
        <source>Fehler beim Schreiben der Messdatei</source>
        <translation>Error writing measurement file</translation>
    </message>
    <message>
        <source>Fehler beim Lesen der Messdatei</source>
        <translation>Error reading measurement file</translation>
    </message>
    <message>
        <source>Messdatei nicht gefunden</source>
        <translation>Measurement file not found</translation>
    </message>
    <message>
        <source>Messdatei hat ein ungültiges Format</source>
        <translation>Measurement file has an invalid format</translation>
    </message>
    <message>
        <source>Messdatei enthält keine Messwerte</source>
        <translation>Measurement file contains no measured values</translation>
    </message>
    <message>
        <source>Zu viele Messwerte für die Messdatei</source>
        <translation>Too many measured values for the measurement file</translation>
    </message>
    <message>
        <source>Prüfgrenzen fehlen</source>
        <translation>Test limits missing</translation>
    </message>
    <message>
        <source>Prüfgrenzen sind ungültig (Minimum über Maximum)</source>
        <translation>Test limits invalid (minimum above maximum)</translation>
    </message>
    <message>
        <source>Messwert außerhalb der Prüfgrenzen</source>
        <translation>Measured value outside test limits</translation>
    </message>
    <message>
        <source>Prüfmittel ist nicht kalibriert oder die Kalibrierung ist abgelaufen</source>
        <translation>Test equipment not calibrated or calibration expired</translation>
    </message>
    <message>
        <source>Benutzer ist für diesen Prüfablauf nicht berechtigt</source>
        <translation>User not authorised for this test sequence</translation>
    </message>
    <message>
        <source>Prüfablauf wurde nach einem Fehler nicht fortgesetzt</source>
        <translation>Test sequence not continued after an error</translation>
    </message>
    <message>
        <source>Bediener hat die Eingabe im Prüfablauf nicht bestätigt</source>
        <translation>Operator did not confirm the input in the test sequence</translation>
    </message>
    <message>
        <source>Archivierung der Prüfdaten fehlgeschlagen</source>
        <translation>Archiving of test data failed</translation>
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
        <source>Suche nach Gerät %1</source>
        <translation>Searching for device %1</translation>
    </message>
    <message>
        <source>Karte an Adresse %1</source>
        <translation>Card at address %1</translation>
    </message>
    <message>
        <source>gefunden</source>
        <translation>found</translation>
    </message>
    <message>
        <source>nicht gefunden</source>
        <translation>not found</translation>
    </message>
    <message>
        <source>Karte an Adresse %1 gefunden: %2</source>
        <translation>Card found at address %1: %2</translation>
    </message>
    <message>
        <source>Keine Karte an Adresse %1, dort antwortet ein anderes Gerät</source>
        <translation>No card at address %1; another device answers there</translation>
    </message>
    <message>
        <source>Keine Karte an Adresse %1</source>
        <translation>No card at address %1</translation>
    </message>
    <message>
        <source>anderes Gerät</source>
        <translation>other device</translation>
    </message>
    <message>
        <source>ID an Adresse %1: %2</source>
        <translation>ID at address %1: %2</translation>
    </message>
</context>
<context>
    <name>cardoperations</name>
    <message>
        <source>Die Karte meldet nach dem Schreiben die Nummer %1 statt %2.</source>
        <translation>After the write the card reports number %1 instead of %2.</translation>
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
        <source>$XDG_CONFIG_HOME/trz4steuerung/, sonst
                       ~/.config/trz4steuerung/</source>
        <translation>$XDG_CONFIG_HOME/trz4steuerung/, else
                       ~/.config/trz4steuerung/</translation>
    </message>
    <message>
        <source>%APPDATA%\trz4steuerung\</source>
        <translation>%APPDATA%\trz4steuerung\</translation>
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
  --lang de|en|qps     die Sprache des Programms: de Deutsch, en Englisch. Vorgabe:
                       Deutsch, wenn LC_ALL, LC_MESSAGES oder LANG (die erste, die
                       gesetzt ist; unter Windows ohne sie die Anzeigesprache) Deutsch
                       wählt (de, de_DE.UTF-8, ...), sonst Englisch; qps ist eine
                       Pseudosprache für Tests
  -h, --help           diese Hilfe
  --version            Programmname und Version ausgeben

Qt-Optionen wie -platform offscreen oder -style Fusion gelten wie bei jedem Qt-Programm.

Rückgabewert:
  0    nach &quot;Beenden&quot;, dem Schließen des Fensters, kill, Strg-C oder dem Abmelden;
       die Einstellungen sind dann gespeichert
  1    ebenso beendet, aber die Einstellungen ließen sich nicht speichern
       (die Meldung nennt die Datei und den Grund)
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
  --lang de|en|qps     the program&apos;s language: de German, en English. Default: German
                       when LC_ALL, LC_MESSAGES or LANG (the first that is set; on
                       Windows without them the display language) chooses German (de,
                       de_DE.UTF-8, ...), else English; qps is a pseudo-language for
                       tests
  -h, --help           this help
  --version            print the program&apos;s name and version

Qt options such as -platform offscreen or -style Fusion work as for every Qt program.

Exit status:
  0    after &quot;Exit&quot;, closing the window, kill, Ctrl-C or logging out;
       the settings are saved then
  1    ended likewise, but the settings could not be saved
       (the message names the file and the reason)
  2    wrong usage
  255  no graphical display, or the user interface could not be loaded
</translation>
    </message>
</context>
<context>
    <name>runtime</name>
    <message>
        <source>Keine grafische Anzeige gefunden (DISPLAY, WAYLAND_DISPLAY und QT_QPA_PLATFORM sind leer); das Programm braucht eine Anzeige.</source>
        <translation>No graphical display found (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are empty); the program needs a display.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Die grafische Anzeige ließ sich nicht öffnen (%1); das Programm braucht eine Anzeige.</source>
        <translation>The graphical display could not be opened (%1); the program needs a display.</translation>
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
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>trz-4 Steuerung</source>
        <translation>trz-4 Control</translation>
    </message>
</context>
<context>
    <name>trz4ctl</name>
    <message>
        <source>Hilfe: %1</source>
        <translation>Help: %1</translation>
    </message>
    <message>
        <source>%1 nimmt keine Argumente</source>
        <translation>%1 takes no arguments</translation>
    </message>
    <message>
        <source>Fehler #%1: %2</source>
        <translation>Error #%1: %2</translation>
    </message>
    <message>
        <source>Keine COM-Nummer: --com angeben oder &quot;com&quot; in %1 im aktuellen Verzeichnis eintragen</source>
        <translation>No COM number: give --com or set &quot;com&quot; in %1 in the current directory</translation>
    </message>
    <message>
        <source>Keine COM-Nummer: --com angeben oder &quot;com&quot; in %1 eintragen</source>
        <translation>No COM number: give --com or set &quot;com&quot; in %1</translation>
    </message>
    <message>
        <source>COM-Nummer von 1 bis 256 erwartet, nicht %1</source>
        <translation>COM number from 1 to 256 expected, not %1</translation>
    </message>
    <message>
        <source>Schnittstellen lassen sich hier nicht beobachten</source>
        <translation>ports cannot be watched here</translation>
    </message>
    <message>
        <source>Keine seriellen Schnittstellen gefunden.</source>
        <translation>No serial ports found.</translation>
    </message>
    <message>
        <source>die Beobachtung der Schnittstellen ist abgebrochen</source>
        <translation>watching the ports failed</translation>
    </message>
    <message>
        <source>ID: %1</source>
        <translation>ID: %1</translation>
    </message>
    <message>
        <source>kein Gerät gefunden</source>
        <translation>no device found</translation>
    </message>
    <message>
        <source>trz-4-Karte, ID %1</source>
        <translation>trz-4 card, ID %1</translation>
    </message>
    <message>
        <source>fremdes Gerät, ID %1</source>
        <translation>other device, ID %1</translation>
    </message>
    <message>
        <source>Adresse %1: %2</source>
        <translation>Address %1: %2</translation>
    </message>
    <message>
        <source>belegt (übersprungen)</source>
        <translation>busy (skipped)</translation>
    </message>
    <message>
        <source>nicht zu öffnen</source>
        <translation>cannot be opened</translation>
    </message>
    <message>
        <source>nicht zu öffnen: %1</source>
        <translation>cannot be opened: %1</translation>
    </message>
    <message>
        <source>trz-4-Karten gefunden: %1</source>
        <translation>trz-4 cards found: %1</translation>
    </message>
    <message>
        <source>ja</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>nein</source>
        <translation>no</translation>
    </message>
    <message>
        <source>Status: %1</source>
        <translation>Status: %1</translation>
    </message>
    <message>
        <source>Ungültige Kartennummer: %1</source>
        <translation>Invalid card number: %1</translation>
    </message>
    <message>
        <source>Nicht alle Parameter eingestellt: %1</source>
        <translation>Not all parameters set: %1</translation>
    </message>
    <message>
        <source>Kartennummer: %1</source>
        <translation>Card number: %1</translation>
    </message>
    <message>
        <source>write erwartet genau eine neue Kartennummer (1-9, a-f)</source>
        <translation>write expects exactly one new card number (1-9, a-f)</translation>
    </message>
    <message>
        <source>Kartennummer 1-9 oder a-f erwartet, nicht %1</source>
        <translation>card number 1-9 or a-f expected, not %1</translation>
    </message>
    <message>
        <source>Warnung</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Nichts gesendet. Mit --yes wird die Karte auf Nr. %1 umgestellt.</source>
        <translation>Nothing sent. With --yes the card is set to number %1.</translation>
    </message>
    <message>
        <source>%1: Windows hat keine Portzuordnung, die COM-Nummern vergibt Windows selbst (Geräte-Manager)</source>
        <translation>%1: Windows has no port map, it numbers its COM ports itself (Device Manager)</translation>
    </message>
    <message>
        <source>map erwartet eine COM-Nummer und ein Gerät</source>
        <translation>map expects a COM number and a device</translation>
    </message>
    <message>
        <source>map erwartet ein Gerät</source>
        <translation>map expects a device</translation>
    </message>
    <message>
        <source>Hinweis: %1 gibt es zurzeit nicht; der Eintrag gilt, sobald es da ist.</source>
        <translation>Note: %1 does not exist at the moment; the entry applies once it does.</translation>
    </message>
    <message>
        <source>unmap erwartet eine COM-Nummer</source>
        <translation>unmap expects a COM number</translation>
    </message>
    <message>
        <source>%1 entfernt</source>
        <translation>%1 removed</translation>
    </message>
    <message>
        <source>%1 war nicht eingetragen</source>
        <translation>%1 was not mapped</translation>
    </message>
    <message>
        <source>unbekannter Befehl %1</source>
        <translation>unknown command %1</translation>
    </message>
    <message>
        <source>kein Befehl angegeben</source>
        <translation>no command given</translation>
    </message>
    <message>
        <source>--watch gilt nur für ports</source>
        <translation>--watch is for ports only</translation>
    </message>
    <message>
        <source>--all-ports gilt nur für scan</source>
        <translation>--all-ports is for scan only</translation>
    </message>
    <message>
        <source>--all-ports fragt Adresse 1 jeder Schnittstelle: ohne --com und --address</source>
        <translation>--all-ports asks address 1 of every port: without --com and --address</translation>
    </message>
    <message>
        <source>--com erwartet eine COM-Nummer von 1 bis 256 (0: keine), nicht %1</source>
        <translation>--com expects a COM number from 1 to 256 (0: none), not %1</translation>
    </message>
    <message>
        <source>--address erwartet ein Zeichen (1 oder &amp;), nicht %1</source>
        <translation>--address expects one character (1 or &amp;), not %1</translation>
    </message>
    <message>
        <source>--timeout erwartet Sekunden über 0 (z. B. 0.5), nicht %1</source>
        <translation>--timeout expects seconds above 0 (e.g. 0.5), not %1</translation>
    </message>
    <message>
        <source>--settings-dir braucht ein Verzeichnis</source>
        <translation>--settings-dir needs a directory</translation>
    </message>
    <message>
        <source>--lang erwartet de oder en, nicht %1</source>
        <translation>--lang expects de or en, not %1</translation>
    </message>
    <message>
        <source>%1 braucht einen Wert</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>%1 nimmt keinen Wert</source>
        <translation>%1 takes no value</translation>
    </message>
    <message>
        <source>unbekannte Option %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>--settings-dir und --user-settings schließen einander aus</source>
        <translation>--settings-dir and --user-settings exclude each other</translation>
    </message>
    <message>
        <source>Aufruf: trz4ctl id [--com N] [--address A] [--timeout S] [--json] [--trace]

Liest den Identifikationstext der Karte an der Geräteadresse, z. B. &quot;VEK-TRZ4-...&quot;.

Beispiele:
  trz4ctl --com %1 id
  trz4ctl id --timeout 0.2
</source>
        <translation>Usage: trz4ctl id [--com N] [--address A] [--timeout S] [--json] [--trace]

Reads the identification text of the card at the device address, e.g. &quot;VEK-TRZ4-...&quot;.

Examples:
  trz4ctl --com %1 id
  trz4ctl id --timeout 0.2
</translation>
    </message>
    <message>
        <source>Aufruf: trz4ctl scan [--com N | --all-ports] [--timeout S] [--json] [--trace]

Sucht wie die Taste &quot;Scann&quot; des Programms an Adresse 1 nach einem Gerät. Ein Text, der
mit &quot;VEK-TRZ4-&quot; beginnt, ist eine trz-4-Karte; jeder andere ein fremdes Gerät. Der Befehl
endet mit 0, auch wenn nichts antwortet; nur eine nicht zu öffnende Schnittstelle ist ein
Fehler.

Mit --all-ports wird jede Schnittstelle gefragt, die &quot;trz4ctl ports&quot; auflistet; je
Schnittstelle eine Zeile mit COM-Nummer, Gerät und Befund. Eine Schnittstelle, die
ein anderes Programm belegt, wird als belegt gemeldet und übersprungen, ohne auf sie zu
warten; auch eine, die sich nicht öffnen lässt, ist hier kein Fehler.

Beispiele:
  trz4ctl --com %1 scan
  trz4ctl scan --json
  trz4ctl scan --all-ports --timeout 0.3
</source>
        <translation>Usage: trz4ctl scan [--com N | --all-ports] [--timeout S] [--json] [--trace]

Looks for a device at address 1, as the program&apos;s &quot;Scann&quot; button does. A text that begins
with &quot;VEK-TRZ4-&quot; is a trz-4 card, any other text another device. The command ends with 0 even
when nothing answers; only a port that cannot be opened is an error.

With --all-ports every port that &quot;trz4ctl ports&quot; lists is asked; one line per port with
COM number, device and finding. A port that another program holds is reported as
busy and skipped without waiting for it; one that cannot be opened is no error here
either.

Examples:
  trz4ctl --com %1 scan
  trz4ctl scan --json
  trz4ctl scan --all-ports --timeout 0.3
</translation>
    </message>
    <message>
        <source>Aufruf: trz4ctl status [--com N] [--address A] [--timeout S] [--json] [--trace]

Liest das Statuswort der Karte und zeigt es hexadezimal, dazu die zwei Bits der
Status-LEDs des Programms:
  0x100  Ungültige Kartennummer
  0x200  Nicht alle Parameter eingestellt

Beispiele:
  trz4ctl --com %1 status
  trz4ctl status --json --lang en
</source>
        <translation>Usage: trz4ctl status [--com N] [--address A] [--timeout S] [--json] [--trace]

Reads the card&apos;s status word and shows it in hexadecimal, with the two bits of the
program&apos;s status LEDs:
  0x100  invalid card number
  0x200  not all parameters set

Examples:
  trz4ctl --com %1 status
  trz4ctl status --json --lang de
</translation>
    </message>
    <message>
        <source>Aufruf: trz4ctl read [--com N] [--address A] [--timeout S] [--json] [--trace]

Liest die interne Kartennummer (1-9, a-f).

Beispiele:
  trz4ctl --com %1 read
  trz4ctl read --json
</source>
        <translation>Usage: trz4ctl read [--com N] [--address A] [--timeout S] [--json] [--trace]

Reads the internal card number (1-9, a-f).

Examples:
  trz4ctl --com %1 read
  trz4ctl read --json
</translation>
    </message>
    <message>
        <source>Aufruf: trz4ctl write NR --yes [--com N] [--address A] [--timeout S] [--json] [--trace]

Stellt die interne Kartennummer auf NR (1-9, a-f) um und liest sie zur Kontrolle zurück.
Vorher erscheint die Warnung des Programms auf stderr. Ohne --yes, das für die Bestätigung
steht, wird nichts gesendet und der Befehl endet mit 2. Meldet die Karte danach eine andere
Nummer, hat sie die neue nicht übernommen: Fehler #895904, Rückgabewert 1.

Beispiele:
  trz4ctl --com %1 write 5          (zeigt nur die Warnung)
  trz4ctl --com %1 write 5 --yes
</source>
        <translation>Usage: trz4ctl write NO --yes [--com N] [--address A] [--timeout S] [--json] [--trace]

Sets the internal card number to NO (1-9, a-f) and reads it back to check. The program&apos;s
warning appears on stderr first. Without --yes, which stands for the confirmation,
nothing is sent and the command ends with 2. When the card then reports another number it
did not take the new one: error #895904, exit status 1.

Examples:
  trz4ctl --com %1 write 5          (shows the warning only)
  trz4ctl --com %1 write 5 --yes
</translation>
    </message>
    <message>
        <source>Aufruf: trz4ctl ports [--watch] [--json]

Listet die vorhandenen seriellen Schnittstellen: COM-Nummer, Gerätedatei und, bei
USB-Adaptern, den Produktnamen. Es gelten dieselben Nummern wie im Programm:
/dev/ttyS&lt;k&gt; ist COM k+1, /dev/ttyUSB&lt;k&gt; ist COM 33+k, /dev/ttyACM&lt;k&gt; ist COM 65+k;
ein Eintrag der Portzuordnung (siehe &quot;trz4ctl map --help&quot;) geht vor.

Mit --watch folgt auf die Liste jede Änderung, sobald ein Adapter eingesteckt oder
gezogen oder die Portzuordnung geändert wird: &quot;+ COM n ...&quot; für eine neue,
&quot;- COM n ...&quot; für eine verschwundene Schnittstelle (mit --json je ein JSON-Objekt
mit &quot;event&quot; &quot;added&quot; oder &quot;removed&quot;), bis der Befehl abgebrochen wird (Strg-C).

Beispiele:
  trz4ctl ports
  trz4ctl ports --json
  trz4ctl ports --watch
</source>
        <translation>Usage: trz4ctl ports [--watch] [--json]

Lists the serial ports present: COM number, device file and, for USB adapters, the
product name. The numbers are the program&apos;s: /dev/ttyS&lt;k&gt; is COM k+1, /dev/ttyUSB&lt;k&gt;
is COM 33+k, /dev/ttyACM&lt;k&gt; is COM 65+k; an entry of the port map (see
&quot;trz4ctl map --help&quot;) takes precedence.

With --watch the list is followed by every change as soon as an adapter is plugged in
or pulled out or the port map changes: &quot;+ COM n ...&quot; for a new port, &quot;- COM n ...&quot; for
one that went away (with --json one JSON object each, &quot;event&quot; &quot;added&quot; or &quot;removed&quot;),
until the command is interrupted (Ctrl-C).

Examples:
  trz4ctl ports
  trz4ctl ports --json
  trz4ctl ports --watch
</translation>
    </message>
    <message>
        <source>Aufruf: trz4ctl map N GERÄT

Legt in der Portzuordnung ($XDG_CONFIG_HOME/trz4steuerung/ports, sonst
~/.config/trz4steuerung/ports) den Eintrag com&lt;N&gt; an, einen symbolischen Link auf GERÄT.
Er geht der festen Nummerierung vor und gilt für das Programm und für trz4ctl. Ein
älterer Eintrag derselben Nummer wird ersetzt. Am besten taugt ein Name aus
/dev/serial/by-id/, weil er an den Adapter gebunden ist und nicht an die Reihenfolge
des Einsteckens.

Beispiele:
  trz4ctl map 9 /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12345-if00-port0
  trz4ctl map 1 /dev/ttyUSB0
</source>
        <translation>Usage: trz4ctl map N DEVICE

Makes the entry com&lt;N&gt; in the port map ($XDG_CONFIG_HOME/trz4steuerung/ports, else
~/.config/trz4steuerung/ports), a symbolic link to DEVICE. It takes precedence over the
fixed numbering and holds for the program and for trz4ctl. An older entry of the same
number is replaced. A name from /dev/serial/by-id/ serves best, because it is bound to
the adapter and not to the order in which adapters were plugged in.

Examples:
  trz4ctl map 9 /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12345-if00-port0
  trz4ctl map 1 /dev/ttyUSB0
</translation>
    </message>
    <message>
        <source>Aufruf: trz4ctl unmap N

Entfernt den Eintrag com&lt;N&gt; aus der Portzuordnung; danach gilt für COM N wieder die
feste Nummerierung. Fehlt der Eintrag, ist das kein Fehler.

Beispiel:
  trz4ctl unmap 9
</source>
        <translation>Usage: trz4ctl unmap N

Removes the entry com&lt;N&gt; from the port map; COM N then follows the fixed numbering
again. A missing entry is no error.

Example:
  trz4ctl unmap 9
</translation>
    </message>
    <message>
        <source>Aufruf: trz4ctl ports [--watch] [--json]

Listet die seriellen Schnittstellen, die Windows in der Registry unter
HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM führt: die COM-Nummer und den Namen,
den der Geräte-Manager zeigt, z. B. USB-SERIAL CH340 (COM5), oder, wo Windows keinen hat,
den Namen des Treibers, z. B. \Device\Serial0. Mit --json stehen beide Namen in &quot;device&quot;
und &quot;product&quot;.

Mit --watch folgt auf die Liste jede Änderung, sobald ein Adapter eingesteckt oder
gezogen wird: &quot;+ COM n ...&quot; für eine neue, &quot;- COM n ...&quot; für eine verschwundene
Schnittstelle (mit --json je ein JSON-Objekt mit &quot;event&quot; &quot;added&quot; oder &quot;removed&quot;), bis
der Befehl abgebrochen wird (Strg-C).

Beispiele:
  trz4ctl ports
  trz4ctl ports --json
  trz4ctl ports --watch
</source>
        <translation>Usage: trz4ctl ports [--watch] [--json]

Lists the serial ports that Windows keeps in the registry under
HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM: the COM number and the name Device
Manager shows, e.g. USB-SERIAL CH340 (COM5), or, where Windows has none, the driver&apos;s
name, e.g. \Device\Serial0. With --json both names are in &quot;device&quot; and &quot;product&quot;.

With --watch the list is followed by every change as soon as an adapter is plugged in
or pulled out: &quot;+ COM n ...&quot; for a new port, &quot;- COM n ...&quot; for one that went away (with
--json one JSON object each, &quot;event&quot; &quot;added&quot; or &quot;removed&quot;), until the command is
interrupted (Ctrl-C).

Examples:
  trz4ctl ports
  trz4ctl ports --json
  trz4ctl ports --watch
</translation>
    </message>
    <message>
        <source>Aufruf: trz4ctl map N GERÄT

Unter Windows gibt es keine Portzuordnung: die COM-Nummern vergibt Windows selbst. Eine
andere Nummer für einen Adapter stellt man im Geräte-Manager ein (Eigenschaften des
Anschlusses, &quot;Anschlusseinstellungen&quot;, &quot;Erweitert&quot;). Der Befehl ändert nichts und endet
mit 2.
</source>
        <translation>Usage: trz4ctl map N DEVICE

Windows has no port map: Windows gives the COM numbers itself. Another number for an
adapter is set in Device Manager (the port&apos;s properties, &quot;Port Settings&quot;, &quot;Advanced&quot;).
The command changes nothing and ends with 2.
</translation>
    </message>
    <message>
        <source>Aufruf: trz4ctl unmap N

Unter Windows gibt es keine Portzuordnung (siehe &quot;trz4ctl map --help&quot;). Der Befehl
ändert nichts und endet mit 2.
</source>
        <translation>Usage: trz4ctl unmap N

Windows has no port map (see &quot;trz4ctl map --help&quot;). The command changes nothing and
ends with 2.
</translation>
    </message>
    <message>
        <source>trz4ctl - die trz-4-Karte von der Kommandozeile

Aufruf: trz4ctl [Optionen] &lt;Befehl&gt; [Argumente]

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
  --com N           COM-Nummer, 1-256 (0: keine). Vorgabe: &quot;com&quot; aus den Einstellungen
                    des Programms, trz4Steuerung.ini im aktuellen Verzeichnis (die Datei
                    wird nur gelesen)
  --address A       Geräteadresse &quot;1&quot; oder &quot;&amp;&quot;. Vorgabe: &quot;adresse&quot; aus trz4Steuerung.ini,
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
</source>
        <translation>trz4ctl - the trz-4 card from the command line

Usage: trz4ctl [options] &lt;command&gt; [arguments]

Commands:
  ports             list the serial ports with COM number and device file; with
                    --watch show changes until interrupted
  id                read the card&apos;s identification
  scan              look for a trz-4 card (address 1); with --all-ports on every
                    listed port
  status            read the status word: hexadecimal and the two status bits
  read              read the card number
  write NO          set the card number to NO (1-9, a-f); only with --yes
  map N DEVICE      link COM N in the port map to DEVICE
  unmap N           remove COM N from the port map

Options:
  --com N           COM number, 1-256 (0: none). Default: &quot;com&quot; from the program&apos;s
                    settings, trz4Steuerung.ini in the current directory (the file is
                    only read)
  --address A       device address &quot;1&quot; or &quot;&amp;&quot;. Default: &quot;adresse&quot; from
                    trz4Steuerung.ini, else 1
  --settings-dir DIR
                    read the settings from DIR/trz4Steuerung.ini, as the program does
                    with the same option
  --user-settings   read the settings from the user&apos;s configuration directory
                    ($XDG_CONFIG_HOME/trz4steuerung/, else ~/.config/trz4steuerung/),
                    where the program keeps them when started from the menu
  --lang de|en|qps  language of the output (default: by LC_ALL, LC_MESSAGES, LANG; German
                    under a German setting, English otherwise); qps is a pseudo-language
                    for tests
</translation>
    </message>
    <message>
        <source>Beispiele:
  trz4ctl ports
  trz4ctl --com 33 id
  trz4ctl --com 33 --json status
  trz4ctl --com 33 write 5 --yes
  trz4ctl map 9 /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12345-if00-port0
</source>
        <translation>Examples:
  trz4ctl ports
  trz4ctl --com 33 id
  trz4ctl --com 33 --json status
  trz4ctl --com 33 write 5 --yes
  trz4ctl map 9 /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12345-if00-port0
</translation>
    </message>
    <message>
        <source>trz4ctl - die trz-4-Karte von der Kommandozeile

Aufruf: trz4ctl [Optionen] &lt;Befehl&gt; [Argumente]

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
                    Vorgabe: &quot;com&quot; aus den Einstellungen des Programms, trz4Steuerung.ini
                    im aktuellen Ordner (die Datei wird nur gelesen)
  --address A       Geräteadresse &quot;1&quot; oder &quot;&amp;&quot;. Vorgabe: &quot;adresse&quot; aus trz4Steuerung.ini,
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
</source>
        <translation>trz4ctl - the trz-4 card from the command line

Usage: trz4ctl [options] &lt;command&gt; [arguments]

Commands:
  ports             list the serial ports with COM number and their name in Device
                    Manager; with --watch show changes until interrupted
  id                read the card&apos;s identification
  scan              look for a trz-4 card (address 1); with --all-ports on every
                    listed port
  status            read the status word: hexadecimal and the two status bits
  read              read the card number
  write NO          set the card number to NO (1-9, a-f); only with --yes

Options:
  --com N           COM number, 1-256 (0: none), as Device Manager shows it. Default:
                    &quot;com&quot; from the program&apos;s settings, trz4Steuerung.ini in the current
                    folder (the file is only read)
  --address A       device address &quot;1&quot; or &quot;&amp;&quot;. Default: &quot;adresse&quot; from
                    trz4Steuerung.ini, else 1
  --settings-dir FOLDER
                    read the settings from FOLDER\trz4Steuerung.ini, as the program
                    does with the same option
  --user-settings   read the settings from %APPDATA%\trz4steuerung\, where the program
                    keeps them when started from the Start menu
  --lang de|en|qps  language of the output (default: by LC_ALL, LC_MESSAGES or LANG,
                    else by the display language of Windows; German under a German
                    setting, English otherwise); qps is a pseudo-language for tests
</translation>
    </message>
    <message>
        <source>Beispiele:
  trz4ctl ports
  trz4ctl --com 3 id
  trz4ctl --com 3 --json status
  trz4ctl --com 3 write 5 --yes
  trz4ctl --user-settings status
</source>
        <translation>Examples:
  trz4ctl ports
  trz4ctl --com 3 id
  trz4ctl --com 3 --json status
  trz4ctl --com 3 write 5 --yes
  trz4ctl --user-settings status
</translation>
    </message>
    <message>
        <source>  --timeout S       Wartezeit je erwartetem Byte in Sekunden (Vorgabe 1.0)
  --json            Ergebnis als ein JSON-Objekt auf stdout
  --yes             bestätigt die Warnung von &quot;write&quot;
  --trace           jeden Austausch mit der Karte auf stderr protokollieren
  -h, --help        diese Hilfe; &quot;trz4ctl &lt;Befehl&gt; --help&quot; erklärt einen Befehl
  --version         Programmname und Version ausgeben

Rückgabewert:
  0  Erfolg
  1  Fehler der Karte oder der Schnittstelle; auf stderr steht z. B.
     &quot;Fehler #403012: Keine Antwort vom Gerät&quot;
  2  falscher Aufruf (auch &quot;write&quot; ohne --yes); es wurde nichts gesendet
</source>
        <translation>  --timeout S       wait per expected byte in seconds (default 1.0)
  --json            the result as one JSON object on stdout
  --yes             confirms the warning of &quot;write&quot;
  --trace           log every exchange with the card on stderr
  -h, --help        this help; &quot;trz4ctl &lt;command&gt; --help&quot; explains a command
  --version         print the program&apos;s name and version

Exit status:
  0  success
  1  an error of the card or the port; stderr says e.g.
     &quot;Error #403012: No answer from device&quot;
  2  wrong usage (also &quot;write&quot; without --yes); nothing was sent
</translation>
    </message>
    <message>
        <source>  128+n  beendet durch das Signal n (kill 143, Strg-C 130); die Schnittstelle wurde
     vorher freigegeben
</source>
        <translation>  128+n  ended by signal n (kill 143, Ctrl-C 130); the port was given back first
</translation>
    </message>
</context>
<context>
    <name>trz4sim</name>
    <message>
        <source>trz4sim - spielt trz-4-Karten an einem Pseudo-Terminal

Aufruf: trz4sim [Optionen]

Spielt eine oder mehrere trz-4-Karten an einem Pseudo-Terminal (9600 Baud 7O1 wird nur
nachgebildet) und trägt es auf Wunsch als com&lt;n&gt; in das Portverzeichnis ein
($XDG_CONFIG_HOME/trz4steuerung/ports, sonst ~/.config/trz4steuerung/ports), so dass
trz4Steuerung es als &quot;COM n&quot; anbietet. Läuft, bis es beendet wird (Ctrl-C, SIGTERM);
der Eintrag im Portverzeichnis wird dann entfernt.

Die Karten beantworten die vier Befehle mit ACK und ihrer Antwortzeile:
  #aIDR   -&gt; #a&lt;Kennung&gt;        Kennung
  #aDNR   -&gt; #aDNR&lt;n&gt;           Kartennummer lesen
  #aDNWn  -&gt; (nur ACK)          Kartennummer schreiben (ändert sie)
  #aS1R   -&gt; #aS1R&lt;hex&gt;         Statuswort lesen
Ein Rahmen an eine Adresse ohne Karte bleibt unbeantwortet.

Optionen:
  --com N            als com&lt;N&gt; ins Portverzeichnis eintragen (1-256)
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
  err                Statuslesen antwortet &quot;err&quot;
  garbage            ACK und eine Zeile Unsinn (Schreiben: Quittung &quot;?&quot;)
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
</source>
        <translation>trz4sim - plays trz-4 cards on a pseudo-terminal

Usage: trz4sim [options]

Plays one or more trz-4 cards on a pseudo-terminal (9600 baud 7O1 is only imitated)
and, if asked to, enters it as com&lt;n&gt; in the port map
($XDG_CONFIG_HOME/trz4steuerung/ports, else ~/.config/trz4steuerung/ports), so that
trz4Steuerung offers it as &quot;COM n&quot;. Runs until it is stopped (Ctrl-C, SIGTERM); the
entry in the port map is then removed.

The cards answer the four commands with ACK and their answer line:
  #aIDR   -&gt; #a&lt;ident&gt;          identification
  #aDNR   -&gt; #aDNR&lt;n&gt;           read the card number
  #aDNWn  -&gt; (ACK only)         write the card number (changes it)
  #aS1R   -&gt; #aS1R&lt;hex&gt;         read the status word
A frame to an address without a card stays unanswered.

Options:
  --com N            enter it as com&lt;N&gt; in the port map (1-256)
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
  --lang de|en|qps   language of the help and the messages (default: after LC_ALL,
                     LC_MESSAGES, LANG; German for a German setting, English otherwise);
                     qps is a pseudo-language for tests
  -h, --help         this help
  --version          print the program&apos;s name and version

Faults for --fault:
  silence            no answer
  nak                handshake NAK
  can                handshake CAN
  err                the status read answers &quot;err&quot;
  garbage            ACK and a line of nonsense (write: handshake &quot;?&quot;)
  highbit            a byte from 0x80 up in the answer (write: handshake 0x86)
  stall=N            the answer breaks off after N bytes (handshake counted)
  overlong           the answer line is 40 characters too long
  keepnumber         a write is acknowledged, but the card keeps its number

Output: one line with the device and the COM entry, always in these words so that
scripts can read it, for example
  trz4sim: Karte 1 an /dev/pts/3, COM 9 (/home/x/.config/trz4steuerung/ports/com9)

Exit status:
  0  after Ctrl-C or SIGTERM
  1  the pseudo-terminal or the port map entry could not be made
  2  wrong usage
</translation>
    </message>
    <message>
        <source>(--help zeigt die Optionen)</source>
        <translation>(--help shows the options)</translation>
    </message>
    <message>
        <source>%1 braucht einen Wert</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>--com braucht eine Zahl von 1 bis 256</source>
        <translation>--com needs a number from 1 to 256</translation>
    </message>
    <message>
        <source>Adresse muss 1-9 oder a-f sein</source>
        <translation>the address must be 1-9 or a-f</translation>
    </message>
    <message>
        <source>Kartennummer muss 1-9 oder a-f sein</source>
        <translation>the card number must be 1-9 or a-f</translation>
    </message>
    <message>
        <source>--status braucht eine Hexadezimalzahl</source>
        <translation>--status needs a hexadecimal number</translation>
    </message>
    <message>
        <source>unbekanntes Fehlerbild %1</source>
        <translation>unknown fault %1</translation>
    </message>
    <message>
        <source>stall braucht =N</source>
        <translation>stall needs =N</translation>
    </message>
    <message>
        <source>--lang braucht de oder en</source>
        <translation>--lang needs de or en</translation>
    </message>
    <message>
        <source>--delay-us braucht 0 bis 1000000</source>
        <translation>--delay-us needs 0 to 1000000</translation>
    </message>
    <message>
        <source>unbekannte Option %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>Start fehlgeschlagen: %1</source>
        <translation>start failed: %1</translation>
    </message>
</context>
<context>
    <name>vektrz4</name>
    <message>
        <source>
Die interne Kartennummer der trz-4 wird jetzt umgestellt
WICHTIG: JEDE KARTENNUMMER DARF IM QDN-7K-SYSTEM NUR EINMAL VORKOMMEN!
Wenn Sie ein QDN-7K System verwenden und nicht sicher sind, ob die Karten-
nummer bereits vergeben ist, prüfen Sie die trz-4-Kartennummern mit dem
Programm &quot;QDN7K-Steuerung&quot;.
</source>
        <translation>
The internal card number of the trz-4 is now being changed
IMPORTANT: EVERY CARD NUMBER MAY OCCUR ONLY ONCE IN A QDN-7K SYSTEM!
If you use a QDN-7K system and are not sure whether the card
number is already taken, check the trz-4 card numbers with the
program &quot;QDN7K-Steuerung&quot;.
</translation>
    </message>
</context>
</TS>
