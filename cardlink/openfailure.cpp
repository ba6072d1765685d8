#include "cardlink/openfailure.h"

#include "text/texts.h"

#include <string>

std::string openFailureText(const OpenFailure &failure) {
    const bool german = language() == Language::German;
    // The system's words are the system's, in the user's language or in English.
    std::string system = german ? failure.systemMessage : failure.systemMessageEnglish;
    if (system.empty()) {
        system =
            withArgument(trText("OpenFailure", "Fehler %1"), std::to_string(failure.systemError));
    }
    const std::string port = std::to_string(failure.port);
    const std::string &device = failure.device;
    switch (failure.kind) {
    case OpenFailureKind::None:
        return {};
    case OpenFailureKind::InvalidPort:
        return withArgument(trText("OpenFailure", "Die COM-Nummer %1 liegt nicht in 1 bis 256."),
                            port);
    case OpenFailureKind::UnsupportedParameters:
        return trText("OpenFailure", "Die Schnittstellenparameter werden nicht unterstützt.");
    case OpenFailureKind::Unmapped:
        return withArgument(trText("OpenFailure", "COM %1 ist keinem Gerät zugeordnet."), port);
    case OpenFailureKind::AccessDenied:
        return withArguments(
            trText("OpenFailure",
                   "Zugriff auf %1 verweigert: der Benutzer muss Mitglied der Gruppe \"%2\" sein, "
                   "der das Gerät gehört, und sich danach neu anmelden."),
            {device, failure.group});
    case OpenFailureKind::Busy: {
        std::string text =
            withArgument(trText("OpenFailure",
                                "%1 ist belegt: ein anderes Programm verwendet die Schnittstelle."),
                         device);
        if (!failure.systemMessage.empty()) {
            text += " (" + system + ")";
        }
        return text;
    }
    case OpenFailureKind::MissingDevice:
        return withArgument(trText("OpenFailure", "Gerät %1 ist nicht vorhanden."), device);
    case OpenFailureKind::ParametersRefused:
        return withArguments(
            trText("OpenFailure", "%1: die Schnittstellenparameter wurden abgelehnt (%2)."),
            {device, system});
    case OpenFailureKind::FramingRefused:
        return withArguments(trText("OpenFailure",
                                    "%1: die Schnittstelle kann %2 Datenbits mit dieser Parität "
                                    "und Geschwindigkeit nicht einstellen."),
                             {device, std::to_string(failure.dataBits)});
    case OpenFailureKind::SessionTerminal:
        return withArgument(trText("OpenFailure",
                                   "%1 ist das Terminal einer laufenden Sitzung, keine serielle "
                                   "Schnittstelle: es wird nicht geöffnet."),
                            device);
    case OpenFailureKind::SystemError:
        break;
    }
    return device + ": " + system + ".";
}

std::string lastOpenFailureReason() {
    return openFailureText(lastOpenFailure());
}
