// Double-byte mode from the locale's code set (POSIX).

#include "toolbox/toolbox.h"

#include <langinfo.h>
#include <locale.h>
#include <string>

void initMultibyteModeFromLocale() {
    // The environment's code set is read without switching the process locale, so isspace and
    // toupper keep the behaviour the rest of the program was written for.
    locale_t environment = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (!environment) {
        setMultibyteModeForCodeset(nullptr);
        return;
    }
    setMultibyteModeForCodeset(nl_langinfo_l(CODESET, environment));
    freelocale(environment);
}

// Without Windows code pages, the Windows numbers of the double-byte code pages name their
// code sets (932 is CP932, ...).
bool setMultibyteModeForCodePage(unsigned codePage) {
    return setMultibyteModeForCodeset(("CP" + std::to_string(codePage)).c_str());
}
