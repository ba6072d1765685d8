// Runtime readiness and the "Assert" popup of the utility library.
#include "ui/uiruntime.h"

#include "toolbox/toolbox.h"

#include <QApplication>

#include <cstdio>

namespace {

// A programming error found by the utility library: the operator sees the report in a modal
// popup before the library aborts the process. Without a GUI it goes to stderr.
void assertPopup(const char *title, const char *text) {
    if (QApplication::instance() != nullptr) {
        MessagePopup(title, text);
    } else {
        std::fprintf(stderr, "%s\n%s\n", title, text);
    }
}

} // namespace

int InitRuntimeEngine(void * /*instance*/, char * /*argv*/[], void * /*reserved*/) {
    if (qobject_cast<QApplication *>(QCoreApplication::instance()) == nullptr) {
        return 0;
    }
    setAssertHook(assertPopup);
    return 1;
}
