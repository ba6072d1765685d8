#include "app/language.h"

#include "errors/VEK_errorV3.h"
#include "text/texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace {

// Qt's tr() and QCoreApplication::translate in the process's language, from the program's
// lookup. A text the lookup does not translate (German; Qt's own texts) gets no answer, so that
// Qt takes it as written or from its own translator.
class LookupTranslator : public QTranslator {
public:
    QString translate(const char *context, const char *source, const char * /*disambiguation*/,
                      int /*n*/) const override {
        const std::optional<std::string> text = translatedText(::language(), context, source);
        return text ? QString::fromStdString(*text) : QString();
    }
    bool isEmpty() const override { return false; }
};

// The program's translator; null until the application exists.
std::unique_ptr<LookupTranslator> gProgramTexts;
// Qt's own German texts; null while another language is in effect or where they are not
// installed.
std::unique_ptr<QTranslator> gQtTexts;

// Qt's German catalogue: where Qt keeps its translations (a Linux system's Qt), else in the
// folder "translations" beside the program, where a program that brings its own Qt (the
// Windows package) carries it.
bool loadQtGerman(QTranslator &translator) {
    const QString name = QStringLiteral("qtbase_de");
    if (translator.load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return true;
    }
    return translator.load(name, QCoreApplication::applicationDirPath() +
                                     QStringLiteral("/translations"));
}

} // namespace

int setProgramLanguage(Language language) {
    vekSetLanguage(language);
    if (QCoreApplication::instance() != nullptr) {
        // Deleting a translator takes it out of the application as well; installing one again
        // tells the widgets that the language changed.
        gProgramTexts = std::make_unique<LookupTranslator>();
        QCoreApplication::installTranslator(gProgramTexts.get());
        gQtTexts.reset();
        if (language == Language::German) {
            gQtTexts = std::make_unique<QTranslator>();
            if (loadQtGerman(*gQtTexts)) {
                QCoreApplication::installTranslator(gQtTexts.get());
            } else {
                gQtTexts.reset();
            }
        }
    }
    return languageFileError(language).empty() ? 0 : -1;
}
