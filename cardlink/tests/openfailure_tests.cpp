// The sentences for a port that cannot be opened: each kind of failure with its details, in
// German and English.
#include "cardlink/openfailure.h"

#include "text/language.h"

#include <gtest/gtest.h>

namespace {

OpenFailure failure(OpenFailureKind kind, int port, const std::string &device) {
    OpenFailure why;
    why.kind = kind;
    why.port = port;
    why.device = device;
    return why;
}

TEST(OpenFailureText, EachKindNamesItsDetailsInGermanAndEnglish) {
    OpenFailure denied = failure(OpenFailureKind::AccessDenied, 33, "/dev/ttyUSB0");
    denied.group = "dialout";
    OpenFailure busyOnWindows = failure(OpenFailureKind::Busy, 3, "COM3");
    busyOnWindows.systemMessage = "Windows: Zugriff verweigert";
    busyOnWindows.systemMessageEnglish = "Windows: Access is denied";
    OpenFailure refused = failure(OpenFailureKind::ParametersRefused, 9, "/dev/ttyS8");
    refused.systemMessage = "Ungültiges Argument";
    refused.systemMessageEnglish = "Invalid argument";
    OpenFailure framing = failure(OpenFailureKind::FramingRefused, 9, "/dev/ttyS8");
    framing.dataBits = 7;
    OpenFailure other = failure(OpenFailureKind::SystemError, 9, "COM9");
    other.systemError = 1234;
    struct Case {
        OpenFailure why;
        std::string german;
        std::string english;
    };
    const Case cases[] = {
        {OpenFailure{}, "", ""},
        {failure(OpenFailureKind::InvalidPort, 0, ""), "Die COM-Nummer 0 liegt nicht in 1 bis 256.",
         "The COM number 0 is not within 1 to 256."},
        {failure(OpenFailureKind::UnsupportedParameters, 9, ""),
         "Die Schnittstellenparameter werden nicht unterstützt.",
         "The link parameters are not supported."},
        {failure(OpenFailureKind::Unmapped, 40, ""), "COM 40 ist keinem Gerät zugeordnet.",
         "COM 40 is not assigned to any device."},
        {denied,
         "Zugriff auf /dev/ttyUSB0 verweigert: der Benutzer muss Mitglied der Gruppe \"dialout\" "
         "sein, der das Gerät gehört, und sich danach neu anmelden.",
         "Access to /dev/ttyUSB0 denied: the user must be a member of the group \"dialout\" that "
         "owns the device, and log in again afterwards."},
        {failure(OpenFailureKind::Busy, 34, "/dev/ttyUSB1"),
         "/dev/ttyUSB1 ist belegt: ein anderes Programm verwendet die Schnittstelle.",
         "/dev/ttyUSB1 is busy: another program is using the port."},
        {busyOnWindows,
         "COM3 ist belegt: ein anderes Programm verwendet die Schnittstelle. (Windows: Zugriff "
         "verweigert)",
         "COM3 is busy: another program is using the port. (Windows: Access is denied)"},
        {failure(OpenFailureKind::MissingDevice, 11, "/x/com11"),
         "Gerät /x/com11 ist nicht vorhanden.", "Device /x/com11 does not exist."},
        {refused, "/dev/ttyS8: die Schnittstellenparameter wurden abgelehnt (Ungültiges Argument).",
         "/dev/ttyS8: the link parameters were refused (Invalid argument)."},
        {framing,
         "/dev/ttyS8: die Schnittstelle kann 7 Datenbits mit dieser Parität und Geschwindigkeit "
         "nicht einstellen.",
         "/dev/ttyS8: the port cannot be set to 7 data bits with this parity and speed."},
        {failure(OpenFailureKind::SessionTerminal, 9, "/x/com9"),
         "/x/com9 ist das Terminal einer laufenden Sitzung, keine serielle Schnittstelle: es wird "
         "nicht geöffnet.",
         "/x/com9 is the terminal of a running session, not a serial port: it is not opened."},
        // A system error the system has no words for is told by its number.
        {other, "COM9: Fehler 1234.", "COM9: Error 1234."},
    };
    for (const Case &c : cases) {
        setLanguage(Language::German);
        EXPECT_EQ(openFailureText(c.why), c.german);
        setLanguage(Language::English);
        EXPECT_EQ(openFailureText(c.why), c.english);
    }
    setLanguage(Language::German);
}

} // namespace
