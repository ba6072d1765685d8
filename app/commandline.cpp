#include "app/commandline.h"

#include "app/Funktionen.h"
#include "app/trz4Steuerung_Main.h"
#include "platform/process.h"
#include "platform/userdirs.h"
#include "text/texts.h"
#include "trz4version.h"
#include "ui/uiruntime.h"

#include <QCoreApplication>
#include <QStringList>
#include <QtGlobal>

#include <cstdio>
#include <optional>

namespace {

constexpr const char *kProgramName = "trz4Steuerung";

constexpr const char *kHelp = QT_TRANSLATE_NOOP(
    "commandline",
    "trz4Steuerung - Steuerung der trz-4-Karte\n"
    "\n"
    "Aufruf: trz4Steuerung [Optionen] [Qt-Optionen]\n"
    "\n"
    "Optionen:\n"
    "  --settings-dir VERZ  die Einstellungen (COM-Port, Adresse) in VERZ/trz4Steuerung.ini\n"
    "                       lesen und speichern. Vorgabe: trz4Steuerung.ini im aktuellen\n"
    "                       Verzeichnis\n"
    "  --user-settings      die Einstellungen im Konfigurationsverzeichnis des Benutzers\n"
    "                       halten: %1\n"
    "                       (wird bei Bedarf angelegt). So startet der Menüeintrag das\n"
    "                       Programm.\n"
    "  --lang de|en|qps     die Sprache des Programms: de Deutsch, en Englisch. Vorgabe:\n"
    "                       Deutsch, wenn LC_ALL, LC_MESSAGES oder LANG (die erste, die\n"
    "                       gesetzt ist; unter Windows ohne sie die Anzeigesprache) Deutsch\n"
    "                       wählt (de, de_DE.UTF-8, ...), sonst Englisch; qps ist eine\n"
    "                       Pseudosprache für Tests\n"
    "  -h, --help           diese Hilfe\n"
    "  --version            Programmname und Version ausgeben\n"
    "\n"
    "Qt-Optionen wie -platform offscreen oder -style Fusion gelten wie bei jedem Qt-Programm.\n"
    "\n"
    "Rückgabewert:\n"
    "  0    nach \"Beenden\", dem Schließen des Fensters, kill, Strg-C oder dem Abmelden;\n"
    "       die Einstellungen sind dann gespeichert\n"
    "  1    ebenso beendet, aber die Einstellungen ließen sich nicht speichern\n"
    "       (die Meldung nennt die Datei und den Grund)\n"
    "  2    falscher Aufruf\n"
    "  255  keine grafische Anzeige, oder die Oberfläche ließ sich nicht laden\n");

// Writes the text to the stream, or, for a program started without a console (a shortcut,
// Explorer), shows it in a message box: never nothing.
void say(FILE *stream, const std::string &message) {
    if (attachParentConsole()) {
        std::fputs(message.c_str(), stream);
        std::fflush(stream);
    } else {
        showMessageBox(kProgramName, message);
    }
}

int usageError(const std::string &error) {
    const std::string help = withArgument(trText("commandline", "Hilfe: %1 --help"), kProgramName);
    say(stderr, std::string(kProgramName) + ": " + error + "\n" + help + "\n");
    return kExitUsage;
}

// The option's value: after '=' or the next argument. False when there is none.
bool optionValue(const std::vector<std::string> &args, size_t *i,
                 const std::optional<std::string> &inlineValue, std::string *value) {
    if (inlineValue) {
        *value = *inlineValue;
    } else if (*i + 1 < args.size()) {
        *value = args[++*i];
    } else {
        value->clear();
    }
    return !value->empty();
}

// The arguments that QApplication has left after taking out Qt's options. Where argv holds
// them as given, from argv: Qt's own list decodes them, and a byte that is no UTF-8 (a folder
// named in another encoding) would come back as U+FFFD, naming another folder. Elsewhere Qt's
// list, as UTF-8: on Windows the system's command line holds the Qt options still.
std::vector<std::string> argumentsAfterQt(int argc, char *argv[]) {
    if (argvHoldsTheArguments())
        return programArguments(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    std::vector<std::string> args;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        args.push_back(arguments[i].toStdString());
    }
    return args;
}

// The runtime's process start-up calls this once QApplication has taken Qt's options out of
// argv.
int startWithOptions(int argc, char *argv[]) {
    ProgramOptions options;
    std::string error;
    if (!parseProgramOptions(argumentsAfterQt(argc, argv), true, &options, &error)) {
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
            if (!optionValue(args, &i, inlineValue, &value)) {
                *error = trText("commandline", "--settings-dir braucht ein Verzeichnis");
                return false;
            }
            options->settingsDirectory = value;
        } else if (name == "--lang") {
            std::string value;
            optionValue(args, &i, inlineValue, &value);
            options->language = languageOfCode(value);
            if (!options->language) {
                *error = withArgument(
                    trText("commandline", "--lang braucht de oder en, nicht \"%1\""), value);
                return false;
            }
        } else if (name == "--user-settings") {
            if (inlineValue) {
                *error = trText("commandline", "--user-settings nimmt keinen Wert");
                return false;
            }
            options->userSettings = true;
        } else if (qtOptionsRemoved) {
            *error = withArgument(arg.size() > 1 && arg[0] == '-'
                                      ? trText("commandline", "unbekannte Option %1")
                                      : trText("commandline", "unerwartetes Argument %1"),
                                  arg);
            return false;
        }
    }
    if (options->userSettings && !options->settingsDirectory.empty()) {
        *error = trText("commandline", "--settings-dir und --user-settings schließen einander aus");
        return false;
    }
    return true;
}

std::string programHelpText() {
    // Where --user-settings keeps the file is the system's own place, worded by the platform.
    return withArgument(trText("commandline", kHelp),
                        trText("commandline", userConfigDirectoryHelp()));
}

void applyProgramOptions(const ProgramOptions &options) {
    setProgramLanguage(options.language.value_or(localeLanguage()));
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
    // The help and the errors of the command line speak the program's language already,
    // whichever of the other options is wrong; an error in --lang itself is told in the
    // locale's.
    const std::vector<std::string> args = programArguments(argc, argv);
    setProgramLanguage(languageOption(args).value_or(localeLanguage()));
    ProgramOptions options;
    std::string error;
    if (!parseProgramOptions(args, false, &options, &error)) {
        return usageError(error);
    }
    if (options.help) {
        say(stdout, programHelpText());
        return 0;
    }
    if (options.version) {
        say(stdout, trz4VersionLine(kProgramName));
        return 0;
    }
    return runUserInterfaceProgram(argc, argv, startWithOptions);
}
