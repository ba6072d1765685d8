#include "app/language.h"

#include "errors/VEK_errorV3.h"
#include "platform/userlocale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace {

// Where the build puts the compiled English catalogue.
constexpr const char *kEnglishCatalogue = ":/i18n/trz4steuerung_en.qm";

ProgramLanguage gLanguage = ProgramLanguage::German;
// The program's English texts; null while German is in effect.
std::unique_ptr<QTranslator> gProgramTexts;
// Qt's own German texts; null while English is in effect or where they are not installed.
std::unique_ptr<QTranslator> gQtTexts;

// Qt's German catalogue: where Qt keeps its translations (a Linux system's Qt), else in the
// folder "translations" beside the program, where a program that brings its own Qt (the
// Windows package) carries it. The program's folder is known once the application exists.
bool loadQtGerman(QTranslator &translator) {
    const QString name = QStringLiteral("qtbase_de");
    if (translator.load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return true;
    }
    return QCoreApplication::instance() != nullptr &&
           translator.load(name, QCoreApplication::applicationDirPath() +
                                     QStringLiteral("/translations"));
}

} // namespace

ProgramLanguage userLanguage() {
    return localeNamesGerman(messagesLocaleName()) ? ProgramLanguage::German
                                                   : ProgramLanguage::English;
}

std::optional<ProgramLanguage> languageOfOption(const std::string &value) {
    if (value == "de") {
        return ProgramLanguage::German;
    }
    if (value == "en") {
        return ProgramLanguage::English;
    }
    return std::nullopt;
}

int setProgramLanguage(ProgramLanguage language) {
    // Deleting a translator takes it out of the application as well.
    gProgramTexts.reset();
    gQtTexts.reset();
    gLanguage = language;
    VEK_Fehlersprache(language == ProgramLanguage::English ? kVekLanguageEnglish : 1);
    int result = 0;
    if (language == ProgramLanguage::English) {
        gProgramTexts = std::make_unique<QTranslator>();
        if (!gProgramTexts->load(QString::fromLatin1(kEnglishCatalogue))) {
            gProgramTexts.reset();
            result = -1;
        }
    } else {
        gQtTexts = std::make_unique<QTranslator>();
        if (!loadQtGerman(*gQtTexts)) {
            gQtTexts.reset();
        }
    }
    if (QCoreApplication::instance() != nullptr) {
        for (QTranslator *translator : {gProgramTexts.get(), gQtTexts.get()}) {
            if (translator != nullptr) {
                QCoreApplication::installTranslator(translator);
            }
        }
    }
    return result;
}

ProgramLanguage programLanguage() {
    return gLanguage;
}

QString programText(const char *context, const char *source) {
    if (gProgramTexts != nullptr) {
        const QString translated = gProgramTexts->translate(context, source);
        if (!translated.isEmpty()) {
            return translated;
        }
    }
    return QString::fromUtf8(source);
}
