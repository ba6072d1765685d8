#include "platform/comporthelp.h"

#include "platform/comports.h"
#include "platform/translatable.h"

namespace {

// "%1" stands for the port map directory in effect.
constexpr const char kHelp[] = TRZ4_TRANSLATABLE(
    "ComHilfe", "Die trz-4 Karte muss mit einem USB-Kabel mit dem PC verbunden werden.\n"
                "Linux legt für den USB-Adapter ein Gerät an (/dev/ttyUSB0, /dev/ttyACM0, ...),\n"
                "das trz-4 Steuerung als COM-Port zeigt: /dev/ttyUSB<k> ist COM 33+k,\n"
                "/dev/ttyACM<k> ist COM 65+k, /dev/ttyS<k> ist COM k+1.\n"
                "Dieser COM-Port muss im Feld \"COM-Port (USB)\" eingestellt werden.\n"
                "\"trz4ctl ports\" listet die vorhandenen COM-Ports mit ihren Geräten.\n"
                "Eine feste Nummer für einen Adapter gibt die Port-Zuordnung in\n"
                "%1, z. B. \"trz4ctl map 5 /dev/serial/by-id/...\".\n"
                "Zugriff auf die COM-Ports haben die Mitglieder der Gruppe \"dialout\"\n"
                "(sudo adduser $USER dialout, danach neu anmelden).\n");

} // namespace

std::string comPortHelpText(
    const std::function<std::string(const char *context, const char *text)> &translate) {
    std::string text = translate("ComHilfe", kHelp);
    if (const size_t at = text.find("%1"); at != std::string::npos) {
        text.replace(at, 2, portMapDirectory());
    }
    return text;
}
