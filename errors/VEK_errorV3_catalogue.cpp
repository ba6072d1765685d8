// The message catalogue: the German text of each kind that has an entry, in ascending kind
// order (the lookup relies on that order), marked for the translation files, which hold the
// other languages' texts (text/texts.h). Texts are UTF-8, at most 192 bytes. Several of the
// texts of the card link and the settings file are shown to operators and quoted in their
// documentation; they keep their wording, slips included, in German and in English.
#include "errors/VEK_errorV3.h"

#include "platform/translatable.h"
#include "text/texts.h"

#include <algorithm>
#include <iterator>

namespace {

struct CatalogueEntry {
    int kind;
    const char *german;
};

constexpr CatalogueEntry kCatalogue[] = {
    {0, TRZ4_TRANSLATABLE("VEK_errorV3", "Es ist kein Fehler aufgetreten")},
    {2, TRZ4_TRANSLATABLE("VEK_errorV3", "Nicht genügend Arbeitsspeicher")},
    {3, TRZ4_TRANSLATABLE("VEK_errorV3", "Ungültiger Funktionsparameter (Nullzeiger)")},
    {4, TRZ4_TRANSLATABLE("VEK_errorV3", "Vorgang vom Benutzer abgebrochen")},
    {5, TRZ4_TRANSLATABLE("VEK_errorV3",
                          "Zeitüberschreitung beim Warten auf den Abschluss des Vorgangs")},
    {6, ""},
    {7,
     TRZ4_TRANSLATABLE("VEK_errorV3", "Funktion wird in dieser Programmversion nicht unterstützt")},
    {8, TRZ4_TRANSLATABLE("VEK_errorV3", "Interner Programmfehler: unerwarteter Zustand")},
    {9, ""},
    {100, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim öffnen der seriellen Schnittstelle")},
    {101, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim schreiben auf die serielle Schnittstelle")},
    {102, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim Lesen von der seriellen Schnittstelle")},
    {103, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim schliesen der seriellen Schnittstelle")},
    {110, TRZ4_TRANSLATABLE("VEK_errorV3", "Ungültige COM-Port Nummer")},
    {111, TRZ4_TRANSLATABLE("VEK_errorV3",
                            "Konnte kein Timeout für die serielle Schnittstelle setzten")},
    {112, TRZ4_TRANSLATABLE(
              "VEK_errorV3",
              "Fehler beim Leeren des Schreib- oder Leesepuffers der seriellen Schnittstelle")},
    {113, TRZ4_TRANSLATABLE("VEK_errorV3",
                            "Zeitüberschreitung beim Lesen von der seriellen Schnittstelle")},
    {114, TRZ4_TRANSLATABLE("VEK_errorV3", "Keine oder nicht alle Zeichen konnten auf die serielle "
                                           "Schnittstelle geschrieben werden")},
    {116,
     TRZ4_TRANSLATABLE("VEK_errorV3", "Ungültige Anzahl Datenbits für die serielle Schnittstelle")},
    {117, TRZ4_TRANSLATABLE("VEK_errorV3", "Ungültige Parität für die serielle Schnittstelle")},
    {118,
     TRZ4_TRANSLATABLE("VEK_errorV3", "Ungültige Anzahl Stoppbits für die serielle Schnittstelle")},
    {119, TRZ4_TRANSLATABLE("VEK_errorV3", "Ungültige Puffergröße für die serielle Schnittstelle")},
    {120,
     TRZ4_TRANSLATABLE("VEK_errorV3",
                       "Serielle Schnittstelle wird bereits von einem anderen Programm benutzt")},
    {122, TRZ4_TRANSLATABLE("VEK_errorV3", "Serielle Schnittstelle ist nicht geöffnet")},
    {123, TRZ4_TRANSLATABLE("VEK_errorV3",
                            "Fehler beim Leeren des Schreibpuffers der seriellen Schnittstelle")},
    {124, TRZ4_TRANSLATABLE("VEK_errorV3",
                            "Fehler beim Leeren des Lesepuffers der seriellen Schnittstelle")},
    {125, TRZ4_TRANSLATABLE("VEK_errorV3", "Unzulässige Baudrate")},
    {126, TRZ4_TRANSLATABLE("VEK_errorV3",
                            "Ungültige Flusssteuerung (Handshake) für die serielle Schnittstelle")},
    {200, TRZ4_TRANSLATABLE("VEK_errorV3", "Wert konnte nicht in eine Zahl umgewandelt werden")},
    {201, TRZ4_TRANSLATABLE("VEK_errorV3", "Division durch null bei der Berechnung eines Wertes")},
    {202, TRZ4_TRANSLATABLE("VEK_errorV3",
                            "Zahlenbereich bei der Berechnung eines Wertes überschritten")},
    {300, TRZ4_TRANSLATABLE("VEK_errorV3", "Datei nicht gefunden")},
    {301, TRZ4_TRANSLATABLE("VEK_errorV3", "Datei konnte nicht geöffnet werden")},
    {302, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim Lesen der Datei")},
    {303, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim Schreiben der Datei")},
    {304, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim Schließen der Datei")},
    {305, TRZ4_TRANSLATABLE("VEK_errorV3", "Datei konnte nicht angelegt werden")},
    {306, TRZ4_TRANSLATABLE("VEK_errorV3", "Datei konnte nicht gelöscht werden")},
    {307, TRZ4_TRANSLATABLE("VEK_errorV3", "Datei konnte nicht umbenannt werden")},
    {308, TRZ4_TRANSLATABLE("VEK_errorV3", "Datei konnte nicht kopiert werden")},
    {310, TRZ4_TRANSLATABLE("VEK_errorV3", "Datei existiert bereits")},
    {311, TRZ4_TRANSLATABLE("VEK_errorV3", "Zugriff auf die Datei verweigert")},
    {312, TRZ4_TRANSLATABLE("VEK_errorV3", "Datei ist schreibgeschützt")},
    {315, TRZ4_TRANSLATABLE("VEK_errorV3", "Verzeichnis nicht gefunden")},
    {316, TRZ4_TRANSLATABLE("VEK_errorV3", "Verzeichnis konnte nicht angelegt werden")},
    {317, TRZ4_TRANSLATABLE("VEK_errorV3", "Verzeichnis konnte nicht gelöscht werden")},
    {318, TRZ4_TRANSLATABLE("VEK_errorV3", "Verzeichnis ist nicht leer")},
    {319, TRZ4_TRANSLATABLE("VEK_errorV3", "Ungültiger Datei- oder Verzeichnisname")},
    {320, TRZ4_TRANSLATABLE("VEK_errorV3", "Pfad ist zu lang")},
    {321, TRZ4_TRANSLATABLE("VEK_errorV3", "Datenträger ist voll")},
    {322, TRZ4_TRANSLATABLE("VEK_errorV3", "Laufwerk ist nicht bereit")},
    {323, TRZ4_TRANSLATABLE("VEK_errorV3", "Unerwartetes Dateiende")},
    {324, TRZ4_TRANSLATABLE("VEK_errorV3", "Ungültiges Dateiformat")},
    {325, TRZ4_TRANSLATABLE("VEK_errorV3", "Datei wird von einem anderen Programm benutzt")},
    {350, TRZ4_TRANSLATABLE("VEK_errorV3", "Solldruck konnte nicht erreicht werden")},
    {351, TRZ4_TRANSLATABLE("VEK_errorV3", "Überdruck: zulässiger Höchstdruck überschritten")},
    {352, TRZ4_TRANSLATABLE("VEK_errorV3", "Druck außerhalb des Messbereichs des Drucksensors")},
    {353, TRZ4_TRANSLATABLE("VEK_errorV3", "Drucksensor liefert keinen gültigen Messwert")},
    {354,
     TRZ4_TRANSLATABLE("VEK_errorV3", "Druck konnte nicht konstant gehalten werden (Leckage?)")},
    {355,
     TRZ4_TRANSLATABLE("VEK_errorV3", "Pumpe oder Kompressor der Druckerzeugung antwortet nicht")},
    {358, TRZ4_TRANSLATABLE("VEK_errorV3", "Vakuum konnte nicht erreicht werden")},
    {359, TRZ4_TRANSLATABLE("VEK_errorV3", "Vakuum bricht zusammen (Leckage im System)")},
    {360, TRZ4_TRANSLATABLE("VEK_errorV3", "Vakuumpumpe antwortet nicht")},
    {361, TRZ4_TRANSLATABLE("VEK_errorV3", "Vakuumsensor liefert keinen gültigen Messwert")},
    {362, TRZ4_TRANSLATABLE("VEK_errorV3", "Zeitüberschreitung beim Evakuieren")},
    {363, TRZ4_TRANSLATABLE("VEK_errorV3", "Zeitüberschreitung beim Belüften")},
    {364, TRZ4_TRANSLATABLE("VEK_errorV3", "Ventil für Druck oder Vakuum schaltet nicht")},
    {380, TRZ4_TRANSLATABLE("VEK_errorV3", "Wasserstand zu niedrig")},
    {381, TRZ4_TRANSLATABLE("VEK_errorV3", "Wasserstand zu hoch")},
    {382, TRZ4_TRANSLATABLE("VEK_errorV3", "Wasserstandssensor liefert keinen gültigen Messwert")},
    {400, TRZ4_TRANSLATABLE("VEK_errorV3", "Unzulässige Geräteadresse")},
    {401, TRZ4_TRANSLATABLE("VEK_errorV3", "Unzulässiger Parameter")},
    {402, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehlermeldung (NAK) vom Gerät erhalten")},
    {403, TRZ4_TRANSLATABLE("VEK_errorV3", "Keine Antwort vom Gerät")},
    {404, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehlerhafte Antwort vom Gerät")},
    {405,
     TRZ4_TRANSLATABLE("VEK_errorV3", "Befehlsausführung momentan nicht möglich (CAN erhalten)")},
    {406, TRZ4_TRANSLATABLE("VEK_errorV3", "Gerät meldet unbekannten Befehl")},
    {407, TRZ4_TRANSLATABLE("VEK_errorV3", "Prüfsumme der Antwort vom Gerät ist falsch")},
    {408, TRZ4_TRANSLATABLE("VEK_errorV3", "Antwort vom Gerät ist zu lang")},
    {409, TRZ4_TRANSLATABLE("VEK_errorV3", "Gerät meldet Parameterfehler")},
    {450, TRZ4_TRANSLATABLE("VEK_errorV3",
                            "Gerät ist nicht bereit (Selbsttest oder Initialisierung läuft)")},
    {500, TRZ4_TRANSLATABLE("VEK_errorV3", "Parameter außerhalb der Grenzwerte")},
    {503, TRZ4_TRANSLATABLE("VEK_errorV3", "Wert unterhalb des zulässigen Minimums")},
    {504, TRZ4_TRANSLATABLE("VEK_errorV3", "Wert oberhalb des zulässigen Maximums")},
    {505, TRZ4_TRANSLATABLE("VEK_errorV3", "Ungültiges Zahlenformat")},
    {506, TRZ4_TRANSLATABLE("VEK_errorV3", "Pflichtparameter fehlt")},
    {507, TRZ4_TRANSLATABLE("VEK_errorV3", "Parameter widersprechen sich")},
    {508, TRZ4_TRANSLATABLE("VEK_errorV3", "Ungültige Reihenfolge der Ablaufschritte")},
    {509, TRZ4_TRANSLATABLE("VEK_errorV3", "Ablaufschritt nicht gefunden")},
    {510, TRZ4_TRANSLATABLE("VEK_errorV3", "Maximale Anzahl von Ablaufschritten überschritten")},
    {511, TRZ4_TRANSLATABLE("VEK_errorV3", "Text zu lang für den vorgesehenen Speicher")},
    {550,
     TRZ4_TRANSLATABLE("VEK_errorV3", "Speicher für Messwerte konnte nicht reserviert werden")},
    {600, TRZ4_TRANSLATABLE("VEK_errorV3", "Zu viele Werte für den reservierten Speicherbereich")},
    {650, TRZ4_TRANSLATABLE("VEK_errorV3", "Bedienfeld konnte nicht geladen werden")},
    {651, TRZ4_TRANSLATABLE("VEK_errorV3", "Bedienelement auf dem Bedienfeld nicht gefunden")},
    {652, TRZ4_TRANSLATABLE("VEK_errorV3", "Bedienfeld konnte nicht angezeigt werden")},
    {700, TRZ4_TRANSLATABLE("VEK_errorV3", "Messeingang konnte nicht initialisiert werden")},
    {701, TRZ4_TRANSLATABLE("VEK_errorV3", "Ungültige Kanalnummer des Messeingangs")},
    {702, TRZ4_TRANSLATABLE("VEK_errorV3", "Messwert außerhalb des Messbereichs")},
    {703, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim Lesen des Messeingangs")},
    {704, TRZ4_TRANSLATABLE("VEK_errorV3", "Zeitüberschreitung bei der Messung")},
    {705, TRZ4_TRANSLATABLE("VEK_errorV3", "Messeingang ist nicht kalibriert")},
    {706, TRZ4_TRANSLATABLE("VEK_errorV3", "Fühlerbruch oder Kurzschluss am Messeingang")},
    {730, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim Setzen des Analogausgangs")},
    {731, TRZ4_TRANSLATABLE("VEK_errorV3", "Ungültige Kanalnummer des Analogausgangs")},
    {732,
     TRZ4_TRANSLATABLE("VEK_errorV3", "Wert für den Analogausgang außerhalb des Ausgabebereichs")},
    {760, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim Setzen des Digitalausgangs")},
    {761, TRZ4_TRANSLATABLE("VEK_errorV3", "Ungültige Kanalnummer des Digitalausgangs")},
    {762, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim Lesen des Digitaleingangs")},
    {763, TRZ4_TRANSLATABLE("VEK_errorV3", "Relais konnte nicht geschaltet werden")},
    {764, TRZ4_TRANSLATABLE("VEK_errorV3", "Ungültige Relaisnummer")},
    {765, TRZ4_TRANSLATABLE("VEK_errorV3",
                            "Rückmeldung des Relais stimmt nicht mit dem Schaltzustand überein")},
    {766, TRZ4_TRANSLATABLE("VEK_errorV3", "Überlast oder Kurzschluss an einem Ausgang")},
    {780, TRZ4_TRANSLATABLE("VEK_errorV3", "Gerät nicht gefunden")},
    {783, TRZ4_TRANSLATABLE("VEK_errorV3", "Falscher Gerätetyp angeschlossen")},
    {784, TRZ4_TRANSLATABLE("VEK_errorV3", "Firmwareversion des Geräts wird nicht unterstützt")},
    {785, TRZ4_TRANSLATABLE("VEK_errorV3", "Waage meldet Überlast")},
    {786, TRZ4_TRANSLATABLE("VEK_errorV3", "Waage ist nicht stabil (kein Stillstand)")},
    {787, TRZ4_TRANSLATABLE("VEK_errorV3", "Gerät meldet einen internen Fehler")},
    {800, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim schreiben in die INI-Datei")},
    {801, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim lesen der INI-Datei")},
    {802, TRZ4_TRANSLATABLE("VEK_errorV3", "INI-Datei nicht gefunden")},
    {803, TRZ4_TRANSLATABLE("VEK_errorV3", "Abschnitt in der INI-Datei nicht gefunden")},
    {805, TRZ4_TRANSLATABLE("VEK_errorV3", "Ungültiger Wert in der INI-Datei")},
    {850, TRZ4_TRANSLATABLE("VEK_errorV3", "Verbindung zur Datenbank fehlgeschlagen")},
    {851, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim Lesen aus der Datenbank")},
    {852, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim Schreiben in die Datenbank")},
    {853, TRZ4_TRANSLATABLE("VEK_errorV3", "Datensatz in der Datenbank nicht gefunden")},
    {854, TRZ4_TRANSLATABLE("VEK_errorV3", "Datenbankabfrage ist fehlerhaft")},
    {855, TRZ4_TRANSLATABLE("VEK_errorV3",
                            "Datenbank ist gesperrt oder wird von einem anderen Programm benutzt")},
    {880, TRZ4_TRANSLATABLE("VEK_errorV3", "Messaufgabe (DAQ-Task) konnte nicht angelegt werden")},
    {881, TRZ4_TRANSLATABLE("VEK_errorV3", "Messaufgabe (DAQ-Task) konnte nicht gestartet werden")},
    {882, TRZ4_TRANSLATABLE("VEK_errorV3", "Messaufgabe (DAQ-Task) konnte nicht beendet werden")},
    {894, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim Lesen des Gerätespeichers")},
    {895, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim Schreiben in den Gerätespeicher")},
    {896, TRZ4_TRANSLATABLE("VEK_errorV3", "Gerätespeicher ist voll")},
    {897, TRZ4_TRANSLATABLE("VEK_errorV3", "Adresse außerhalb des Gerätespeichers")},
    {898, TRZ4_TRANSLATABLE("VEK_errorV3",
                            "Daten im Gerätespeicher sind beschädigt (Prüfsumme falsch)")},
    {1000, TRZ4_TRANSLATABLE("VEK_errorV3", "Prüfablauf konnte nicht geladen werden")},
    {1001, TRZ4_TRANSLATABLE("VEK_errorV3", "Prüfablauf ist leer")},
    {1002, TRZ4_TRANSLATABLE("VEK_errorV3", "Prüfablauf enthält einen ungültigen Schritt")},
    {1003, TRZ4_TRANSLATABLE("VEK_errorV3", "Prüfablauf vom Benutzer abgebrochen")},
    {1004, TRZ4_TRANSLATABLE("VEK_errorV3", "Prüfablauf läuft bereits")},
    {1005, TRZ4_TRANSLATABLE("VEK_errorV3", "Zeitüberschreitung im Prüfablauf")},
    {1007, TRZ4_TRANSLATABLE("VEK_errorV3", "Prüfablauf konnte nicht gespeichert werden")},
    {1008, TRZ4_TRANSLATABLE("VEK_errorV3", "Version des Prüfablaufs wird nicht unterstützt")},
    {1010, TRZ4_TRANSLATABLE("VEK_errorV3", "Prüfprotokoll konnte nicht angelegt werden")},
    {1011, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim Schreiben des Prüfprotokolls")},
    {1012, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim Lesen des Prüfprotokolls")},
    {1013, TRZ4_TRANSLATABLE("VEK_errorV3", "Prüfprotokoll nicht gefunden")},
    {1014, TRZ4_TRANSLATABLE("VEK_errorV3", "Prüfprotokoll ist beschädigt")},
    {1015, TRZ4_TRANSLATABLE("VEK_errorV3", "Prüfprotokoll konnte nicht gedruckt werden")},
    {1016, TRZ4_TRANSLATABLE("VEK_errorV3", "Prüfprotokoll ist bereits abgeschlossen")},
    {1017, TRZ4_TRANSLATABLE("VEK_errorV3", "Seriennummer des Prüflings fehlt")},
    {1018, TRZ4_TRANSLATABLE("VEK_errorV3", "Seriennummer des Prüflings ist ungültig")},
    {1019, TRZ4_TRANSLATABLE("VEK_errorV3", "Prüfling hat die Prüfung nicht bestanden")},
    {1020, TRZ4_TRANSLATABLE("VEK_errorV3", "Messdatei konnte nicht angelegt werden")},
    {1021, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim Schreiben der Messdatei")},
    {1022, TRZ4_TRANSLATABLE("VEK_errorV3", "Fehler beim Lesen der Messdatei")},
    {1023, TRZ4_TRANSLATABLE("VEK_errorV3", "Messdatei nicht gefunden")},
    {1024, TRZ4_TRANSLATABLE("VEK_errorV3", "Messdatei hat ein ungültiges Format")},
    {1025, TRZ4_TRANSLATABLE("VEK_errorV3", "Messdatei enthält keine Messwerte")},
    {1026, TRZ4_TRANSLATABLE("VEK_errorV3", "Zu viele Messwerte für die Messdatei")},
    {1027, TRZ4_TRANSLATABLE("VEK_errorV3", "Prüfgrenzen fehlen")},
    {1028, TRZ4_TRANSLATABLE("VEK_errorV3", "Prüfgrenzen sind ungültig (Minimum über Maximum)")},
    {1029, TRZ4_TRANSLATABLE("VEK_errorV3", "Messwert außerhalb der Prüfgrenzen")},
    {1030,
     TRZ4_TRANSLATABLE("VEK_errorV3",
                       "Prüfmittel ist nicht kalibriert oder die Kalibrierung ist abgelaufen")},
    {1031, TRZ4_TRANSLATABLE("VEK_errorV3", "Benutzer ist für diesen Prüfablauf nicht berechtigt")},
    {1032,
     TRZ4_TRANSLATABLE("VEK_errorV3", "Prüfablauf wurde nach einem Fehler nicht fortgesetzt")},
    {1033,
     TRZ4_TRANSLATABLE("VEK_errorV3", "Bediener hat die Eingabe im Prüfablauf nicht bestätigt")},
    {1034, TRZ4_TRANSLATABLE("VEK_errorV3", "Archivierung der Prüfdaten fehlgeschlagen")},
};

// The English text of a catalogue entry, from the English translation file; the German text
// where the file has none (an empty text has none).
const char *vekCatalogueEnglish(const char *german) {
    const char *english = fileTranslation(Language::English, "VEK_errorV3", german);
    return english != nullptr ? english : german;
}

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
        *english = vekCatalogueEnglish(entry.german);
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
