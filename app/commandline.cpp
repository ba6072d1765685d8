#include "app/commandline.h"

#include "app/Funktionen.h"
#include "app/trz4Steuerung_Main.h"
#include "platform/userdirs.h"
#include "trz4version.h"
#include "ui/uiruntime.h"

#include <cstdio>
#include <optional>

namespace {

constexpr const char *kProgramName = "trz4Steuerung";

constexpr const char *kHelp = R"(trz4Steuerung - Steuerung der trz-4-Karte

Aufruf: trz4Steuerung [Optionen] [Qt-Optionen]

Optionen:
  --settings-dir VERZ  die Einstellungen (COM-Port, Adresse) in VERZ/trz4Steuerung.ini
                       lesen und speichern. Vorgabe: trz4Steuerung.ini im aktuellen
                       Verzeichnis
  --user-settings      die Einstellungen im Konfigurationsverzeichnis des Benutzers
                       halten: $XDG_CONFIG_HOME/trz4steuerung/, sonst
                       ~/.config/trz4steuerung/ (wird bei Bedarf angelegt). So startet
                       der Menüeintrag das Programm.
  -h, --help           diese Hilfe
  --version            Programmname und Version ausgeben

Qt-Optionen wie -platform offscreen oder -style Fusion gelten wie bei jedem Qt-Programm.

Rückgabewert:
  0    nach "Beenden", dem Schließen des Fensters, kill, Strg-C oder dem Abmelden;
       die Einstellungen sind dann gespeichert
  2    falscher Aufruf
  255  keine grafische Anzeige, oder die Oberfläche ließ sich nicht laden
)";

int usageError(const std::string &error) {
    std::fprintf(stderr, "%s: %s\nHilfe: %s --help\n", kProgramName, error.c_str(), kProgramName);
    return kExitUsage;
}

std::vector<std::string> argumentsOf(int argc, char *argv[]) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    return args;
}

// The runtime's process start-up calls this once QApplication has taken Qt's options out of
// argv.
int startWithOptions(int argc, char *argv[]) {
    ProgramOptions options;
    std::string error;
    if (!parseProgramOptions(argumentsOf(argc, argv), true, &options, &error)) {
        return usageError(error);
    }
    applyProgramOptions(options);
    return trz4SteuerungMain(argc, argv);
}

} // namespace

bool parseProgramOptions(const std::vector<std::string> &args, bool qtOptionsRemoved,
                         ProgramOptions *options, std::string *error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "-h" || arg == "--help") {
            options->help = true;
            continue;
        }
        if (arg == "--version") {
            options->version = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (arg.rfind("--", 0) == 0) {
            if (const size_t eq = arg.find('='); eq != std::string::npos) {
                name = arg.substr(0, eq);
                inlineValue = arg.substr(eq + 1);
            }
        }
        if (name == "--settings-dir") {
            std::string value;
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < args.size()) {
                value = args[++i];
            }
            if (value.empty()) {
                *error = "--settings-dir braucht ein Verzeichnis";
                return false;
            }
            options->settingsDirectory = value;
        } else if (name == "--user-settings") {
            if (inlineValue) {
                *error = "--user-settings nimmt keinen Wert";
                return false;
            }
            options->userSettings = true;
        } else if (qtOptionsRemoved) {
            *error = (arg.size() > 1 && arg[0] == '-' ? "unbekannte Option "
                                                      : "unerwartetes Argument ") +
                     arg;
            return false;
        }
    }
    if (options->userSettings && !options->settingsDirectory.empty()) {
        *error = "--settings-dir und --user-settings schließen einander aus";
        return false;
    }
    return true;
}

std::string programHelpText() {
    return kHelp;
}

void applyProgramOptions(const ProgramOptions &options) {
    if (options.userSettings) {
        const std::string directory = userConfigDirectory();
        // A failure here is reported where it matters: reading and writing the file.
        createPrivateDirectories(directory);
        setSettingsDirectory(directory);
    } else {
        setSettingsDirectory(options.settingsDirectory);
    }
}

int runTrz4Steuerung(int argc, char *argv[]) {
    ProgramOptions options;
    std::string error;
    if (!parseProgramOptions(argumentsOf(argc, argv), false, &options, &error)) {
        return usageError(error);
    }
    if (options.help) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (options.version) {
        std::fputs(trz4VersionLine(kProgramName).c_str(), stdout);
        return 0;
    }
    return runUserInterfaceProgram(argc, argv, startWithOptions);
}
