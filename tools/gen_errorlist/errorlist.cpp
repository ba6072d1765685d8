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
    return result.empty() ? "*(empty)*" : result;
}

constexpr char kIntroduction[] =
    R"(# Error numbers

<!-- Generated from the message catalogue by tools/gen_errorlist
     (cmake --build <build> --target errorlist_doc); do not edit by hand. -->

Every failure that the program or `trz4ctl` reports carries a number, for example
**Fehler #403012: Keine Antwort vom Gerät**. The number has two parts:

- the thousands are the **kind** of error (here 403, "Keine Antwort vom Gerät", no answer
  from the device); the kind selects the message text;
- the last three digits are the **site** that raised it (here 12: the identification read).
  Every site has a number of its own, so the number tells where it happened.

Number = kind × 1000 + site. The numbers 0 to 999 mean "no error". A kind that is not in this
list gives "Ein unbekannter Fehler ist aufgetreten". Which kinds occur when working with the
trz-4 card, and what to do about them, is explained in [troubleshooting.md](troubleshooting.md).

)";

} // namespace

std::string errorListMarkdown() {
    std::string text = kIntroduction;
    text += "The catalogue has " + std::to_string(vekCatalogueSize()) +
            " entries. The program and `trz4ctl` show the German texts under a German locale "
            "and the English ones otherwise (`--lang de|en` chooses).\n\n";
    text += "| Kind | German | English |\n|---:|---|---|\n";
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
