// Descriptor callbacks over QSocketNotifier, serialised with the program's other callbacks.
#include "ui/uiruntime.h"

#include "ui/runtime_internal.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <map>
#include <memory>

using namespace ui::detail;

namespace {

struct Watch {
    std::unique_ptr<QSocketNotifier> notifier;
    DescriptorCallbackPtr function = nullptr;
    void *callbackData = nullptr;
};

std::map<int, Watch> gWatches;
int gNextWatch = 1;

void deliver(int handle) {
    auto it = gWatches.find(handle);
    if (it == gWatches.end())
        return;
    // The notifier stays quiet while the call waits for a running callback; otherwise it would
    // fire on every pass of the event loop that the running exchange allows.
    it->second.notifier->setEnabled(false);
    runWhenNoCallback([handle] {
        auto found = gWatches.find(handle);
        if (found == gWatches.end())
            return;
        const int descriptor = static_cast<int>(found->second.notifier->socket());
        {
            CallbackScope scope;
            found->second.function(descriptor, found->second.callbackData);
        }
        // The function may have removed its own watch.
        if (auto again = gWatches.find(handle); again != gWatches.end())
            again->second.notifier->setEnabled(true);
    });
}

} // namespace

int installDescriptorCallback(int descriptor, DescriptorCallbackPtr function, void *callbackData) {
    if (QCoreApplication::instance() == nullptr)
        return kUiErrNoApplication;
    if (descriptor < 0 || function == nullptr)
        return kUiErrBadArgument;
    const int handle = gNextWatch++;
    Watch watch;
    watch.notifier = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
    watch.function = function;
    watch.callbackData = callbackData;
    QObject::connect(watch.notifier.get(), &QSocketNotifier::activated,
                     [handle] { deliver(handle); });
    gWatches.emplace(handle, std::move(watch));
    return handle;
}

int removeDescriptorCallback(int watch) {
    auto it = gWatches.find(watch);
    if (it == gWatches.end())
        return kUiErrBadArgument;
    it->second.notifier->setEnabled(false);
    // Deleted later: the call may come from the notifier's own signal.
    it->second.notifier.release()->deleteLater();
    gWatches.erase(it);
    return 0;
}
