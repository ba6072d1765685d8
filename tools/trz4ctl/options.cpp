// Argument parsing and the settings-file defaults of trz4ctl.
#include "tools/trz4ctl/trz4ctl.h"

#include "cardlink/Vek_Com.h"
#include "cardlink/settingsfile.h"
#include "inifile/inifile.h"
#include "platform/userdirs.h"
#include "text/texts.h"

#include <charconv>
#include <cmath>

namespace {

// A longer wait per byte is no use on a 9600-baud line and would overflow the poll time-out.
constexpr double kMaxTimeoutSeconds = 3600.0;

bool parseWholeInt(const std::string &text, int *value) {
    const char *end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, *value);
    return ec == std::errc() && ptr == end && !text.empty();
}

bool parseWholeDouble(const std::string &text, double *value) {
    const char *end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, *value);
    return ec == std::errc() && ptr == end && !text.empty();
}

// Applies one option that takes a value; false with a message for a malformed value.
bool applyValue(const std::string &name, const std::string &value, CtlOptions *options,
                std::string *error) {
    const std::string shown = "\"" + value + "\"";
    if (name == "--com") {
        int com = 0;
        if (!parseWholeInt(value, &com) || com < 0 || com > 256) {
            *error = withArgument(
                trText("trz4ctl",
                       "--com erwartet eine COM-Nummer von 1 bis 256 (0: keine), nicht %1"),
                shown);
            return false;
        }
        options->com = com;
    } else if (name == "--address") {
        if (value.size() != 1) {
            *error = withArgument(
                trText("trz4ctl", "--address erwartet ein Zeichen (1 oder &), nicht %1"), shown);
            return false;
        }
        options->address = value[0];
    } else if (name == "--timeout") {
        double seconds = 0;
        if (!parseWholeDouble(value, &seconds) || !std::isfinite(seconds) || seconds <= 0 ||
            seconds > kMaxTimeoutSeconds) {
            *error = withArgument(
                trText("trz4ctl", "--timeout erwartet Sekunden über 0 (z. B. 0.5), nicht %1"),
                shown);
            return false;
        }
        options->timeoutSeconds = seconds;
    } else if (name == "--settings-dir") {
        if (value.empty()) {
            *error = trText("trz4ctl", "--settings-dir braucht ein Verzeichnis");
            return false;
        }
        options->settingsDirectory = value;
    } else { // --lang
        options->language = languageOfCode(value);
        if (!options->language) {
            *error = withArgument(trText("trz4ctl", "--lang erwartet de oder en, nicht %1"), shown);
            return false;
        }
    }
    return true;
}

bool takesValue(const std::string &name) {
    return name == "--com" || name == "--address" || name == "--timeout" || name == "--lang" ||
           name == "--settings-dir";
}

} // namespace

Language ctlLanguage(const std::vector<std::string> &args) {
    return languageOption(args, takesValue).value_or(localeLanguage());
}

bool parseCtlArguments(const std::vector<std::string> &args, CtlOptions *options,
                       std::string *error) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        const bool isOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (!isOption) {
            if (options->command.empty())
                options->command = arg;
            else
                options->operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (size_t eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        if (takesValue(name)) {
            std::string value;
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                *error = withArgument(trText("trz4ctl", "%1 braucht einen Wert"), name);
                return false;
            }
            if (!applyValue(name, value, options, error))
                return false;
            continue;
        }
        if (inlineValue) {
            *error = withArgument(trText("trz4ctl", "%1 nimmt keinen Wert"), name);
            return false;
        }
        if (name == "--json") {
            options->json = true;
        } else if (name == "--yes") {
            options->yes = true;
        } else if (name == "--help" || name == "-h") {
            options->help = true;
        } else if (name == "--trace") {
            options->trace = true;
        } else if (name == "--watch") {
            options->watch = true;
        } else if (name == "--all-ports") {
            options->allPorts = true;
        } else if (name == "--version") {
            options->version = true;
        } else if (name == "--user-settings") {
            options->userSettings = true;
        } else {
            *error = withArgument(trText("trz4ctl", "unbekannte Option %1"), name);
            return false;
        }
    }
    if (options->userSettings && !options->settingsDirectory.empty()) {
        *error = trText("trz4ctl", "--settings-dir und --user-settings schließen einander aus");
        return false;
    }
    return true;
}

std::string ctlSettingsPath(const CtlOptions &options) {
    std::string directory = options.settingsDirectory;
    if (options.userSettings)
        directory = userConfigDirectory();
    return settingsFileIn(directory);
}

CtlSettings readCtlSettings(const char *path) {
    CtlSettings settings;
    IniDocument *doc = Ini_New(1);
    if (doc == nullptr)
        return settings;
    if (Ini_ReadFromFile(doc, path) == 0) {
        int value = 0;
        // The program drops a stored port it cannot offer, and keeps its address unless the
        // stored one is "1" or "&".
        if (settingsGet(doc, SettingsKey::Com, &value) && value >= 0 && value <= 256)
            settings.com = value;
        if (settingsGet(doc, SettingsKey::Address, &value)) {
            const char address = settingsAddressOf(value);
            if (vekcom::addressAccepted(address))
                settings.address = address;
        }
    }
    Ini_Dispose(doc);
    return settings;
}
