#include "cardlink/cardoperations.h"

#include "text/texts.h"

int cardNumberTaken(char wanted, char readBack) {
    return readBack == wanted ? 0 : trzcom::kErrWriteNotTaken;
}

std::string cardNumberNotTakenText(char wanted, char readBack) {
    return withArguments(
        trText("cardoperations", "Die Karte meldet nach dem Schreiben die Nummer %1 statt %2."),
        {std::string_view(&readBack, 1), std::string_view(&wanted, 1)});
}
