#include "platform/comporthelp.h"

#include "platform/translatable.h"

namespace {

constexpr const char kHelp[] = TRZ4_TRANSLATABLE(
    "ComHilfe", "Die trz-4 Karte muss mit einem USB-Kabel mit dem PC verbunden werden.\n"
                "Windows weist dieser Verbindung einen COM-Port zu. Dieser COM-Port muss\n"
                "im Feld \"COM-Port (USB)\" eingestellt werden.\n"
                "Wenn noch nicht vorhanden, müssen USB-to-RS232 Treiber installiert werden.\n");

} // namespace

std::string comPortHelpText(
    const std::function<std::string(const char *context, const char *text)> &translate) {
    return translate("ComHilfe", kHelp);
}
