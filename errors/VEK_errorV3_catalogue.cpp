// The message catalogue: one German and one English text per kind that has an entry, in
// ascending kind order (the lookup relies on that order). Texts are UTF-8, at most 192 bytes.
// Several of the texts of the card link and the settings file are shown to operators and
// quoted in their documentation; they keep their wording, slips included.
#include "errors/VEK_errorV3.h"

#include <algorithm>
#include <iterator>

namespace {

struct CatalogueEntry {
    int kind;
    const char *german;
    const char *english;
};

constexpr CatalogueEntry kCatalogue[] = {
    {0, "Es ist kein Fehler aufgetreten", "No error"},
    {2, "Nicht genügend Arbeitsspeicher", "Not enough memory"},
    {3, "Ungültiger Funktionsparameter (Nullzeiger)", "Invalid function argument (null pointer)"},
    {4, "Vorgang vom Benutzer abgebrochen", "Operation cancelled by the user"},
    {5, "Zeitüberschreitung beim Warten auf den Abschluss des Vorgangs",
     "Timed out waiting for the operation to finish"},
    {6, "", ""},
    {7, "Funktion wird in dieser Programmversion nicht unterstützt",
     "Function not supported in this program version"},
    {8, "Interner Programmfehler: unerwarteter Zustand",
     "Internal program error: unexpected state"},
    {9, "", ""},
    {100, "Fehler beim öffnen der seriellen Schnittstelle", "Error opening com-port"},
    {101, "Fehler beim schreiben auf die serielle Schnittstelle", "Error writing to COM Port"},
    {102, "Fehler beim Lesen von der seriellen Schnittstelle", "Error reading from com-port"},
    {103, "Fehler beim schliesen der seriellen Schnittstelle", "Error closing com-port"},
    {110, "Ungültige COM-Port Nummer", "Invalid com-port number"},
    {111, "Konnte kein Timeout für die serielle Schnittstelle setzten",
     "Unable to set com-port timeout"},
    {112, "Fehler beim Leeren des Schreib- oder Leesepuffers der seriellen Schnittstelle",
     "Error flushing read- or writebuffer for com-port"},
    {113, "Zeitüberschreitung beim Lesen von der seriellen Schnittstelle",
     "Timeout reading from com-port"},
    {114, "Keine oder nicht alle Zeichen konnten auf die serielle Schnittstelle geschrieben werden",
     "Was not able to write any or all characters to a com-port"},
    {116, "Ungültige Anzahl Datenbits für die serielle Schnittstelle",
     "Invalid number of data bits for com-port"},
    {117, "Ungültige Parität für die serielle Schnittstelle", "Invalid parity for com-port"},
    {118, "Ungültige Anzahl Stoppbits für die serielle Schnittstelle",
     "Invalid number of stop bits for com-port"},
    {119, "Ungültige Puffergröße für die serielle Schnittstelle",
     "Invalid buffer size for com-port"},
    {120, "Serielle Schnittstelle wird bereits von einem anderen Programm benutzt",
     "Com-port is already in use by another program"},
    {122, "Serielle Schnittstelle ist nicht geöffnet", "COM-port not open"},
    {123, "Fehler beim Leeren des Schreibpuffers der seriellen Schnittstelle",
     "Error flushing writebuffer of com-port"},
    {124, "Fehler beim Leeren des Lesepuffers der seriellen Schnittstelle",
     "Error flushing readbuffer of com-port"},
    {125, "Unzulässige Baudrate", "Invalid Baudrate"},
    {126, "Ungültige Flusssteuerung (Handshake) für die serielle Schnittstelle",
     "Invalid flow control (handshake) for com-port"},
    {200, "Wert konnte nicht in eine Zahl umgewandelt werden",
     "Value could not be converted to a number"},
    {201, "Division durch null bei der Berechnung eines Wertes",
     "Division by zero while calculating a value"},
    {202, "Zahlenbereich bei der Berechnung eines Wertes überschritten",
     "Numeric overflow while calculating a value"},
    {300, "Datei nicht gefunden", "File not found"},
    {301, "Datei konnte nicht geöffnet werden", "Unable to open file"},
    {302, "Fehler beim Lesen der Datei", "Error reading file"},
    {303, "Fehler beim Schreiben der Datei", "Error writing file"},
    {304, "Fehler beim Schließen der Datei", "Error closing file"},
    {305, "Datei konnte nicht angelegt werden", "Unable to create file"},
    {306, "Datei konnte nicht gelöscht werden", "Unable to delete file"},
    {307, "Datei konnte nicht umbenannt werden", "Unable to rename file"},
    {308, "Datei konnte nicht kopiert werden", "Unable to copy file"},
    {310, "Datei existiert bereits", "File already exists"},
    {311, "Zugriff auf die Datei verweigert", "Access to file denied"},
    {312, "Datei ist schreibgeschützt", "File is read-only"},
    {315, "Verzeichnis nicht gefunden", "Directory not found"},
    {316, "Verzeichnis konnte nicht angelegt werden", "Unable to create directory"},
    {317, "Verzeichnis konnte nicht gelöscht werden", "Unable to delete directory"},
    {318, "Verzeichnis ist nicht leer", "Directory is not empty"},
    {319, "Ungültiger Datei- oder Verzeichnisname", "Invalid file or directory name"},
    {320, "Pfad ist zu lang", "Path is too long"},
    {321, "Datenträger ist voll", "Disk full"},
    {322, "Laufwerk ist nicht bereit", "Drive not ready"},
    {323, "Unerwartetes Dateiende", "Unexpected end of file"},
    {324, "Ungültiges Dateiformat", "Invalid file format"},
    {325, "Datei wird von einem anderen Programm benutzt", "File is in use by another program"},
    {350, "Solldruck konnte nicht erreicht werden", "Target pressure could not be reached"},
    {351, "Überdruck: zulässiger Höchstdruck überschritten",
     "Overpressure: maximum permitted pressure exceeded"},
    {352, "Druck außerhalb des Messbereichs des Drucksensors",
     "Pressure outside the measuring range of the pressure sensor"},
    {353, "Drucksensor liefert keinen gültigen Messwert",
     "Pressure sensor delivers no valid reading"},
    {354, "Druck konnte nicht konstant gehalten werden (Leckage?)",
     "Pressure could not be held constant (leak?)"},
    {355, "Pumpe oder Kompressor der Druckerzeugung antwortet nicht",
     "Pump or compressor of the pressure generation does not respond"},
    {358, "Vakuum konnte nicht erreicht werden", "Vacuum could not be reached"},
    {359, "Vakuum bricht zusammen (Leckage im System)", "Vacuum collapses (leak in the system)"},
    {360, "Vakuumpumpe antwortet nicht", "Vacuum pump does not respond"},
    {361, "Vakuumsensor liefert keinen gültigen Messwert",
     "Vacuum sensor delivers no valid reading"},
    {362, "Zeitüberschreitung beim Evakuieren", "Timeout while evacuating"},
    {363, "Zeitüberschreitung beim Belüften", "Timeout while venting"},
    {364, "Ventil für Druck oder Vakuum schaltet nicht",
     "Pressure or vacuum valve does not switch"},
    {380, "Wasserstand zu niedrig", "Water level too low"},
    {381, "Wasserstand zu hoch", "Water level too high"},
    {382, "Wasserstandssensor liefert keinen gültigen Messwert",
     "Water level sensor delivers no valid reading"},
    {400, "Unzulässige Geräteadresse", "invalid deviceaddress"},
    {401, "Unzulässiger Parameter", "invalid parameter"},
    {402, "Fehlermeldung (NAK) vom Gerät erhalten", "Errormessage (NAK) received from device"},
    {403, "Keine Antwort vom Gerät", "No answer from device"},
    {404, "Fehlerhafte Antwort vom Gerät", "Wrong answer from device"},
    {405, "Befehlsausführung momentan nicht möglich (CAN erhalten)",
     "Command not possible at the moment (CAN received)"},
    {406, "Gerät meldet unbekannten Befehl", "Device reports unknown command"},
    {407, "Prüfsumme der Antwort vom Gerät ist falsch",
     "Checksum of the answer from device is wrong"},
    {408, "Antwort vom Gerät ist zu lang", "Answer from device is too long"},
    {409, "Gerät meldet Parameterfehler", "Device reports error in parameter"},
    {450, "Gerät ist nicht bereit (Selbsttest oder Initialisierung läuft)",
     "Device not ready (self-test or initialisation running)"},
    {500, "Parameter außerhalb der Grenzwerte", "Parameter out of limits"},
    {503, "Wert unterhalb des zulässigen Minimums", "Value below the permitted minimum"},
    {504, "Wert oberhalb des zulässigen Maximums", "Value above the permitted maximum"},
    {505, "Ungültiges Zahlenformat", "Invalid number format"},
    {506, "Pflichtparameter fehlt", "Required parameter missing"},
    {507, "Parameter widersprechen sich", "Parameters contradict each other"},
    {508, "Ungültige Reihenfolge der Ablaufschritte", "Invalid order of sequence steps"},
    {509, "Ablaufschritt nicht gefunden", "Sequence step not found"},
    {510, "Maximale Anzahl von Ablaufschritten überschritten",
     "Maximum number of sequence steps exceeded"},
    {511, "Text zu lang für den vorgesehenen Speicher", "Text too long for the space provided"},
    {550, "Speicher für Messwerte konnte nicht reserviert werden",
     "Unable to allocate memory for measured values"},
    {600, "Zu viele Werte für den reservierten Speicherbereich",
     "Too many values for the allocated memory area"},
    {650, "Bedienfeld konnte nicht geladen werden", "Unable to load panel"},
    {651, "Bedienelement auf dem Bedienfeld nicht gefunden", "Control not found on panel"},
    {652, "Bedienfeld konnte nicht angezeigt werden", "Unable to display panel"},
    {700, "Messeingang konnte nicht initialisiert werden",
     "Unable to initialise measurement input"},
    {701, "Ungültige Kanalnummer des Messeingangs", "Invalid channel number of measurement input"},
    {702, "Messwert außerhalb des Messbereichs", "Measured value out of measuring range"},
    {703, "Fehler beim Lesen des Messeingangs", "Error reading measurement input"},
    {704, "Zeitüberschreitung bei der Messung", "Timeout during measurement"},
    {705, "Messeingang ist nicht kalibriert", "Measurement input not calibrated"},
    {706, "Fühlerbruch oder Kurzschluss am Messeingang",
     "Sensor break or short circuit at measurement input"},
    {730, "Fehler beim Setzen des Analogausgangs", "Error setting analog output"},
    {731, "Ungültige Kanalnummer des Analogausgangs", "Invalid channel number of analog output"},
    {732, "Wert für den Analogausgang außerhalb des Ausgabebereichs",
     "Value for analog output out of range"},
    {760, "Fehler beim Setzen des Digitalausgangs", "Error setting digital output"},
    {761, "Ungültige Kanalnummer des Digitalausgangs", "Invalid channel number of digital output"},
    {762, "Fehler beim Lesen des Digitaleingangs", "Error reading digital input"},
    {763, "Relais konnte nicht geschaltet werden", "Unable to switch relay"},
    {764, "Ungültige Relaisnummer", "Invalid relay number"},
    {765, "Rückmeldung des Relais stimmt nicht mit dem Schaltzustand überein",
     "Relay feedback does not match the switching state"},
    {766, "Überlast oder Kurzschluss an einem Ausgang", "Overload or short circuit at an output"},
    {780, "Gerät nicht gefunden", "Device not found"},
    {783, "Falscher Gerätetyp angeschlossen", "Wrong device type connected"},
    {784, "Firmwareversion des Geräts wird nicht unterstützt",
     "Firmware version of device not supported"},
    {785, "Waage meldet Überlast", "Balance reports overload"},
    {786, "Waage ist nicht stabil (kein Stillstand)", "Balance not stable (no standstill)"},
    {787, "Gerät meldet einen internen Fehler", "Device reports an internal error"},
    {800, "Fehler beim schreiben in die INI-Datei", "Error writing to INI-File"},
    {801, "Fehler beim lesen der INI-Datei", "Error reading from INI-File"},
    {802, "INI-Datei nicht gefunden", "INI-File not found"},
    {803, "Abschnitt in der INI-Datei nicht gefunden", "Section not found in INI-File"},
    {805, "Ungültiger Wert in der INI-Datei", "Invalid value in INI-File"},
    {850, "Verbindung zur Datenbank fehlgeschlagen", "Unable to connect to database"},
    {851, "Fehler beim Lesen aus der Datenbank", "Error reading from database"},
    {852, "Fehler beim Schreiben in die Datenbank", "Error writing to database"},
    {853, "Datensatz in der Datenbank nicht gefunden", "Record not found in database"},
    {854, "Datenbankabfrage ist fehlerhaft", "Database query is invalid"},
    {855, "Datenbank ist gesperrt oder wird von einem anderen Programm benutzt",
     "Database is locked or in use by another program"},
    {880, "Messaufgabe (DAQ-Task) konnte nicht angelegt werden",
     "Unable to create data-acquisition task"},
    {881, "Messaufgabe (DAQ-Task) konnte nicht gestartet werden",
     "Unable to start data-acquisition task"},
    {882, "Messaufgabe (DAQ-Task) konnte nicht beendet werden",
     "Unable to stop data-acquisition task"},
    {894, "Fehler beim Lesen des Gerätespeichers", "Error reading device memory"},
    {895, "Fehler beim Schreiben in den Gerätespeicher", "Error writing device memory"},
    {896, "Gerätespeicher ist voll", "Device memory full"},
    {897, "Adresse außerhalb des Gerätespeichers", "Address outside device memory"},
    {898, "Daten im Gerätespeicher sind beschädigt (Prüfsumme falsch)",
     "Data in device memory corrupted (wrong checksum)"},
    {1000, "Prüfablauf konnte nicht geladen werden", "Unable to load test sequence"},
    {1001, "Prüfablauf ist leer", "Test sequence is empty"},
    {1002, "Prüfablauf enthält einen ungültigen Schritt", "Test sequence contains an invalid step"},
    {1003, "Prüfablauf vom Benutzer abgebrochen", "Test sequence aborted by the user"},
    {1004, "Prüfablauf läuft bereits", "Test sequence already running"},
    {1005, "Zeitüberschreitung im Prüfablauf", "Timeout in test sequence"},
    {1007, "Prüfablauf konnte nicht gespeichert werden", "Unable to save test sequence"},
    {1008, "Version des Prüfablaufs wird nicht unterstützt", "Test sequence version not supported"},
    {1010, "Prüfprotokoll konnte nicht angelegt werden", "Unable to create test record"},
    {1011, "Fehler beim Schreiben des Prüfprotokolls", "Error writing test record"},
    {1012, "Fehler beim Lesen des Prüfprotokolls", "Error reading test record"},
    {1013, "Prüfprotokoll nicht gefunden", "Test record not found"},
    {1014, "Prüfprotokoll ist beschädigt", "Test record is corrupted"},
    {1015, "Prüfprotokoll konnte nicht gedruckt werden", "Unable to print test record"},
    {1016, "Prüfprotokoll ist bereits abgeschlossen", "Test record is already closed"},
    {1017, "Seriennummer des Prüflings fehlt", "Serial number of unit under test missing"},
    {1018, "Seriennummer des Prüflings ist ungültig",
     "Serial number of unit under test is invalid"},
    {1019, "Prüfling hat die Prüfung nicht bestanden", "Unit under test failed the test"},
    {1020, "Messdatei konnte nicht angelegt werden", "Unable to create measurement file"},
    {1021, "Fehler beim Schreiben der Messdatei", "Error writing measurement file"},
    {1022, "Fehler beim Lesen der Messdatei", "Error reading measurement file"},
    {1023, "Messdatei nicht gefunden", "Measurement file not found"},
    {1024, "Messdatei hat ein ungültiges Format", "Measurement file has an invalid format"},
    {1025, "Messdatei enthält keine Messwerte", "Measurement file contains no measured values"},
    {1026, "Zu viele Messwerte für die Messdatei",
     "Too many measured values for the measurement file"},
    {1027, "Prüfgrenzen fehlen", "Test limits missing"},
    {1028, "Prüfgrenzen sind ungültig (Minimum über Maximum)",
     "Test limits invalid (minimum above maximum)"},
    {1029, "Messwert außerhalb der Prüfgrenzen", "Measured value outside test limits"},
    {1030, "Prüfmittel ist nicht kalibriert oder die Kalibrierung ist abgelaufen",
     "Test equipment not calibrated or calibration expired"},
    {1031, "Benutzer ist für diesen Prüfablauf nicht berechtigt",
     "User not authorised for this test sequence"},
    {1032, "Prüfablauf wurde nach einem Fehler nicht fortgesetzt",
     "Test sequence not continued after an error"},
    {1033, "Bediener hat die Eingabe im Prüfablauf nicht bestätigt",
     "Operator did not confirm the input in the test sequence"},
    {1034, "Archivierung der Prüfdaten fehlgeschlagen", "Archiving of test data failed"},
};

constexpr bool isSortedByKind() {
    for (size_t i = 1; i < std::size(kCatalogue); ++i) {
        if (kCatalogue[i - 1].kind >= kCatalogue[i].kind) {
            return false;
        }
    }
    return true;
}
static_assert(isSortedByKind(), "catalogue entries must be in strictly ascending kind order");
static_assert(std::size(kCatalogue) == kVekCatalogueEntries,
              "every kind with an entry is listed once");

} // namespace

int vekCatalogueSize() {
    return static_cast<int>(std::size(kCatalogue));
}

bool vekCatalogueEntry(int i, int *kind, const char **german, const char **english) {
    if (i < 0 || i >= vekCatalogueSize()) {
        return false;
    }
    const CatalogueEntry &entry = kCatalogue[i];
    if (kind != nullptr) {
        *kind = entry.kind;
    }
    if (german != nullptr) {
        *german = entry.german;
    }
    if (english != nullptr) {
        *english = entry.english;
    }
    return true;
}

bool vekCatalogueFind(int kind, const char **german, const char **english) {
    const auto *found =
        std::lower_bound(std::begin(kCatalogue), std::end(kCatalogue), kind,
                         [](const CatalogueEntry &entry, int key) { return entry.kind < key; });
    if (found == std::end(kCatalogue) || found->kind != kind) {
        return false;
    }
    return vekCatalogueEntry(static_cast<int>(found - std::begin(kCatalogue)), nullptr, german,
                             english);
}
