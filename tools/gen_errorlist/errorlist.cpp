#include "tools/gen_errorlist/errorlist.h"

#include "errors/VEK_errorV3.h"

namespace {

// Table cells may not hold a bare "|" or a line break.
std::string cell(const char *text) {
    std::string result;
    for (const char *p = text; *p != '\0'; ++p) {
        if (*p == '|')
            result += "\\|";
        else if (*p == '\n')
            result += "<br>";
        else
            result += *p;
    }
    return result.empty() ? "*(leer)*" : result;
}

constexpr char kIntroduction[] =
    R"(# Fehlernummern

<!-- Diese Datei wird aus dem Meldungskatalog erzeugt (tools/gen_errorlist,
     cmake --build <build> --target errorlist_doc); nicht von Hand ändern. -->

Jede Fehlermeldung des Programms und von `trz4ctl` trägt eine Nummer, z. B.
**Fehler #403012: Keine Antwort vom Gerät**. Die Nummer besteht aus zwei Teilen:

- den Tausendern, der **Art** des Fehlers (hier 403, "Keine Antwort vom Gerät"); sie
  bestimmt den Text der Meldung;
- den letzten drei Ziffern, der **Stelle**, die den Fehler gemeldet hat (hier 12, das
  Lesen der Identifikation). Jede Stelle hat ihre eigene Nummer.

Nummer = Art × 1000 + Stelle. Die Nummern 0 bis 999 bedeuten "kein Fehler". Eine Art ohne
Eintrag in dieser Liste ergibt "Ein unbekannter Fehler ist aufgetreten". Welche Arten im
Betrieb mit der trz-4-Karte vorkommen und was dann zu tun ist, steht in
[fehlersuche.md](fehlersuche.md).

)";

} // namespace

std::string errorListMarkdown() {
    std::string text = kIntroduction;
    text += "Der Katalog hat " + std::to_string(vekCatalogueSize()) +
            " Einträge. Englisch gilt mit `--lang en` (trz4ctl).\n\n";
    text += "| Art | Deutsch | English |\n|---:|---|---|\n";
    for (int i = 0; i < vekCatalogueSize(); ++i) {
        int kind = 0;
        const char *german = nullptr;
        const char *english = nullptr;
        if (!vekCatalogueEntry(i, &kind, &german, &english))
            break;
        text += "| " + std::to_string(kind) + " | " + cell(german) + " | " + cell(english) + " |\n";
    }
    return text;
}
