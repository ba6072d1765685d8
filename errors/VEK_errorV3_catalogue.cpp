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
    {6, "", ""},
    {9, "", ""},
    {100, "Fehler beim öffnen der seriellen Schnittstelle", "Error opening com-port"},
    {101, "Fehler beim schreiben auf die serielle Schnittstelle", "Error writing to COM Port"},
    {103, "Fehler beim schliesen der seriellen Schnittstelle", "Error closing com-port"},
    {110, "Ungültige COM-Port Nummer", "Invalid com-port number"},
    {111, "Konnte kein Timeout für die serielle Schnittstelle setzten",
     "Unable to set com-port timeout"},
    {112, "Fehler beim Leeren des Schreib- oder Leesepuffers der seriellen Schnittstelle",
     "Error flushing read- or writebuffer for com-port"},
    {114, "Keine oder nicht alle Zeichen konnten auf die serielle Schnittstelle geschrieben werden",
     "Was not able to write any or all characters to a com-port"},
    {122, "Serielle Schnittstelle ist nicht geöffnet", "COM-port not open"},
    {123, "Fehler beim Leeren des Schreibpuffers der seriellen Schnittstelle",
     "Error flushing writebuffer of com-port"},
    {124, "Fehler beim Leeren des Lesepuffers der seriellen Schnittstelle",
     "Error flushing readbuffer of com-port"},
    {125, "Unzulässige Baudrate", "Invalid Baudrate"},
    {400, "Unzulässige Geräteadresse", "invalid deviceaddress"},
    {401, "Unzulässiger Parameter", "invalid parameter"},
    {402, "Fehlermeldung (NAK) vom Gerät erhalten", "Errormessage (NAK) received from device"},
    {403, "Keine Antwort vom Gerät", "No answer from device"},
    {404, "Fehlerhafte Antwort vom Gerät", "Wrong answer from device"},
    {405, "Befehlsausführung momentan nicht möglich (CAN erhalten)",
     "Command not possible at the moment (CAN received)"},
    {409, "Gerät meldet Parameterfehler", "Device reports error in parameter"},
    {500, "Parameter außerhalb der Grenzwerte", "Parameter out of limits"},
    {800, "Fehler beim schreiben in die INI-Datei", "Error writing to INI-File"},
    {801, "Fehler beim lesen der INI-Datei", "Error reading from INI-File"},
    {802, "INI-Datei nicht gefunden", "INI-File not found"},
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
