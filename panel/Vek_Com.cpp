// The COM-port and address manager: registrations, state, the COM-port list, opening and
// closing the chosen port.
#include "cardlink/Vek_Com.h"

#include "panel/Vek_Com_internal.h"
#include "panel/comsession.h"
#include "panel/cardvalues.h"
#include "panel/testing/panel_testing.h"
#include "cardlink/vektrz4.h"
#include "errors/VEK_errorV3.h"
#include "platform/comports.h"
#include "platform/portwatch.h"
#include "platform/registry.h"
#include "platform/rs232.h"
#include "platform/serialcomm_key.h"
#include "platform/translatable.h"
#include "text/texts.h"
#include "toolbox/toolbox.h"
#include "ui/uiruntime.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

namespace panel::detail {

State &state() {
    // Never destroyed: its session would close a port from a static destructor at exit, after
    // the serial layer's own statics may be gone.
    static State *const instance = new State;
    return *instance;
}

} // namespace panel::detail

using panel::detail::Control;
using panel::detail::state;

namespace {

constexpr int kMaxPort = 256;
constexpr int kPictureRingAbove16 = 99;
constexpr int kLastPictureRingPort = 16;

// Buffer sizes of one registry value while the list is built.
constexpr unsigned int kValueNameSize = 1024;
constexpr unsigned int kValueDataSize = 512;

const char *const kNoPortLabel = TRZ4_TRANSLATABLE("Vek_Com", "nicht geöffnet");

bool validPort(int port) {
    return port >= 0 && port <= kMaxPort;
}

// Appends to a fixed table; a full table shows the internal-error popup and drops the control.
template <size_t N>
int appendControl(Control (&table)[N], int &count, int panel, int control, const char *limitName) {
    if (count >= static_cast<int>(N)) {
        const std::string text = withArgument(trText("Vek_Com", "%1 ist zu klein"), limitName);
        MessagePopup(trText("Vek_Com", "Interner Fehler").c_str(), text.c_str());
        return -1;
    }
    table[count++] = Control{panel, control};
    return 0;
}

// The port number of a registry value's data "COM<n>", n 0-256; -1 when it is none.
int comNumberOf(const char *data) {
    if (std::strncmp(data, "COM", 3) != 0)
        return -1;
    int number = 0;
    if (StrToInt(data + 3, &number) != 1 || number < 0 || number > kMaxPort)
        return -1;
    return number;
}

// What the operator reads when pointing at a ring item: the name the system shows for the
// port (Windows), else the device the system lists and, for a USB adapter, its product.
std::string deviceTooltip(const char *valueName, int port) {
    std::string tooltip = valueName;
    std::string product = serialPortProduct(port);
    if (std::string name = systemPortName(tooltip, product); !name.empty())
        return name;
    if (!product.empty())
        tooltip += tooltip.empty() ? product : " (" + product + ")";
    return tooltip;
}

// The item of a chosen port that the system does not list now: "COM <n> (getrennt)",
// valued as the port, last in the ring. The word is short so that "COM 256 (getrennt)" fits
// the ring's width.
void appendNotConnectedItem(const Control &ring, int port) {
    const QByteArray label =
        QCoreApplication::translate("VekCom", "COM %1 (getrennt)").arg(port).toUtf8();
    const QByteArray tooltip =
        QCoreApplication::translate("VekCom",
                                    "Gewählt, aber zur Zeit nicht angeschlossen: die "
                                    "Operationen gehen an diesen Port, bis ein anderer gewählt "
                                    "wird.")
            .toUtf8();
    int count = 0;
    GetNumListItems(ring.panel, ring.control, &count);
    InsertListItem(ring.panel, ring.control, -1, label.constData(), port);
    setRingItemTooltip(ring.panel, ring.control, count, tooltip.constData());
}

// Closes the manager's session; the port that was open becomes the last port.
void closeSession() {
    auto &s = state();
    s.lastPort = s.session.port();
    s.session.close();
}

int pictureRingValue(int port) {
    return port <= kLastPictureRingPort ? port : kPictureRingAbove16;
}

// The system's news of serial ports coming and going, for the registered COM-port ring.
struct HotPlug {
    PortWatch watch;
    int descriptorCallback = 0; // the runtime's handle, 0 when none is installed
};

HotPlug &hotPlug() {
    static HotPlug instance;
    return instance;
}

// A port came or went: the ring's list is rebuilt as when the operator opens it, so the
// operator sees it without opening the ring. The rebuild never changes the chosen port.
void portsChanged(int, void *) {
    if (!hotPlug().watch.takeChanges())
        return;
    const Control &ring = state().comRing;
    if (ring.registered())
        VekCom_ComListeErstellen(ring.panel, ring.control);
}

void stopHotPlug() {
    HotPlug &h = hotPlug();
    if (h.descriptorCallback > 0)
        removeDescriptorCallback(h.descriptorCallback);
    h.descriptorCallback = 0;
    h.watch.stop();
}

// Where the platform has no port watch (or it cannot start) the ring is rebuilt only when
// the operator opens it, as before.
void startHotPlug() {
    stopHotPlug();
    HotPlug &h = hotPlug();
    if (h.watch.start() != 0)
        return;
    const int handle = installDescriptorCallback(h.watch.descriptor(), portsChanged, nullptr);
    if (handle > 0)
        h.descriptorCallback = handle;
    else
        h.watch.stop();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Registration

int VekCom_RegisterComControl(int panel, int control) {
    state().comRing = Control{panel, control};
    InstallCtrlCallback(panel, control, Callback_ComPortEinstellen, nullptr);
    // Watching starts before the list is read, so that no change in between is missed.
    startHotPlug();
    VekCom_ComListeErstellen(panel, control);
    return 0;
}

int VekCom_RegisterAdressControl(int panel, int control) {
    state().adressRing = Control{panel, control};
    InstallCtrlCallback(panel, control, Callback_ComPortAdresse, nullptr);
    return 0;
}

int VekCom_RegisterPictureringControl(int panel, int control) {
    auto &s = state();
    if (appendControl(s.pictureRings, s.pictureRingCount, panel, control,
                      "MAX_PICTURERINGCONTROLS") != 0)
        return -1;
    InstallCtrlCallback(panel, control, Callback_ComPortUmschalten, nullptr);
    return 0;
}

int VekCom_RegisterIdReadButton(int panel, int control) {
    state().idButton = Control{panel, control};
    InstallCtrlCallback(panel, control, Callback_IdLesen, nullptr);
    return 0;
}

int VekCom_RegisterIdTextdisplay(int panel, int control) {
    state().idText = Control{panel, control};
    return 0;
}

int VekCom_RegisterAdressLeds(int panel, int control) {
    auto &s = state();
    if (appendControl(s.adressLeds, s.adressLedCount, panel, control, "MAX_ADRESSLEDS") != 0)
        return -1;
    // A screen reader says what the lamp means, not "1: aus": the scan's finding at its address.
    const char address = static_cast<char>('0' + s.adressLedCount);
    setCtrlAccessibleName(
        panel, control,
        withArgument(trText("Vek_Com", "Karte an Adresse %1"), std::string(1, address)).c_str());
    setLedStateTexts(panel, control, trText("Vek_Com", "gefunden").c_str(),
                     trText("Vek_Com", "nicht gefunden").c_str());
    return 0;
}

int VekCom_RegisterScanButton(int panel, int control) {
    state().scanButton = Control{panel, control};
    InstallCtrlCallback(panel, control, Callback_Scan, nullptr);
    return 0;
}

int VekCom_RegisterScanStringControl(int panel, int control) {
    state().scanText = Control{panel, control};
    return 0;
}

// ---------------------------------------------------------------------------------------------
// State

int VekCom_AdresseSet(char address) {
    if (!vekcom::addressAccepted(address))
        return vekcom::kErrAddress;
    auto &s = state();
    s.address = address;
    // The main panel's ring offers "1" only; for "&" it keeps showing what it showed.
    if (s.adressRing.registered())
        SetCtrlVal(s.adressRing.panel, s.adressRing.control, address);
    return 0;
}

char VekCom_AdresseGet() {
    return state().address;
}

int VekCom_ComPortGet() {
    return state().chosenPort;
}

void VekCom_ComPortChose(int port) {
    auto &s = state();
    int index = -1;
    if (!s.comRing.registered() ||
        GetIndexFromValue(s.comRing.panel, s.comRing.control, &index, port) != 0 || index < 0)
        port = 0;
    if (s.comRing.registered())
        SetCtrlVal(s.comRing.panel, s.comRing.control, port);
    s.chosenPort = port;
}

int VekCom_LastComPortGet() {
    return state().lastPort;
}

int VekCom_LastComPortSet(int port) {
    if (!validPort(port))
        return vekcom::kErrLastPortRange;
    state().lastPort = port;
    return 0;
}

int VekCom_OpenChosen(int *port) {
    int chosen = state().chosenPort;
    if (port)
        *port = chosen;
    return VekCom_Open(chosen);
}

int VekCom_Open(int port) {
    if (!validPort(port))
        return vekcom::kErrOpenPortRange;
    auto &s = state();
    if (port == s.session.port())
        return 0;
    if (s.session.isOpen()) {
        s.lastPort = s.session.port();
        s.session.close();
    }
    int result = 0;
    if (port != 0) {
        result = s.session.open(port);
        // The code alone says "could not open"; the system's reason (busy, permission,
        // missing device) tells the operator what to do about it.
        if (const std::string reason = s.session.openFailure().reason();
            result != 0 && !reason.empty())
            VEK_Fehleruserstring(reason.c_str());
        // No device behind the chosen port: it is away, whatever the list said.
        if (result != 0 && port == s.chosenPort && s.comRing.registered() && !s.choiceMarkedAway &&
            s.session.openFailure().comError == kComNoDevice) {
            const int lastPort = s.lastPort;
            s.absentPort = port;
            VekCom_ComListeErstellen(s.comRing.panel, s.comRing.control);
            s.lastPort = lastPort;
        }
    }
    VekCom_ComAnzeige(s.session.port());
    // After a failed open the next operation tries the chosen port again: the ring shows that
    // port, not "nicht geöffnet" (the picture rings show that none is open).
    if (result != 0 && s.comRing.registered())
        SetCtrlVal(s.comRing.panel, s.comRing.control, s.chosenPort);
    return result;
}

int VekCom_Close() {
    auto &s = state();
    const bool shownPresent = s.session.exchangeSucceeded() && s.session.port() == s.chosenPort;
    closeSession();
    // A command succeeded on the chosen port: it is there, whatever the list said.
    if (shownPresent && s.comRing.registered() && s.choiceMarkedAway) {
        s.presentPort = s.chosenPort;
        VekCom_ComListeErstellen(s.comRing.panel, s.comRing.control);
    }
    return 0;
}

CardSession &vekComSession() {
    return state().session;
}

// ---------------------------------------------------------------------------------------------
// The COM-port list and its display

void VekCom_ComListeErstellen(int panel, int control) {
    ClearListCtrl(panel, control);
    InsertListItem(panel, control, -1, trText("Vek_Com", kNoPortLabel).c_str(), 0);
    int items = 1;

    ensureSerialCommKey();
    // Left unset by a missing or unreadable key: no port is listed then.
    unsigned int valueCount = 0;
    RegQueryInfoOnKey(HKEY_LOCAL_MACHINE, kSerialCommKey, nullptr, &valueCount, nullptr, nullptr,
                      nullptr);
    for (unsigned int index = 0; index < valueCount; ++index) {
        char name[kValueNameSize] = {};
        char data[kValueDataSize] = {};
        unsigned int nameLength = sizeof name;
        unsigned int dataSize = sizeof data;
        unsigned int type = REG_NONE;
        if (RegEnumerateValue(HKEY_LOCAL_MACHINE, kSerialCommKey, index, name, &nameLength, data,
                              &dataSize, &type) != kRegOk ||
            type != REG_SZ)
            continue;
        // Data that fills the buffer has no terminating zero of its own.
        data[kValueDataSize - 1] = '\0';
        int port = comNumberOf(data);
        if (port < 0 || (port != 0 && port == state().absentPort))
            continue;
        char label[16];
        std::snprintf(label, sizeof label, "COM %d", port);
        InsertListItem(panel, control, -1, label, port);
        setRingItemTooltip(panel, control, items, deviceTooltip(name, port).c_str());
        ++items;
    }

    auto &s = state();
    // What a port showed counts for this rebuild only: a later one reads the system anew.
    const int presentPort = std::exchange(s.presentPort, 0);
    s.absentPort = 0;
    if (!s.comRing.registered())
        return;
    int index = -1;
    const bool listed =
        GetIndexFromValue(s.comRing.panel, s.comRing.control, &index, s.chosenPort) == 0 &&
        index >= 0;
    s.choiceMarkedAway = false;
    if (!listed && s.chosenPort != 0 && s.chosenPort == presentPort) {
        // The list does not have it yet, but the port answered.
        char label[16];
        std::snprintf(label, sizeof label, "COM %d", s.chosenPort);
        int count = 0;
        GetNumListItems(s.comRing.panel, s.comRing.control, &count);
        InsertListItem(s.comRing.panel, s.comRing.control, -1, label, s.chosenPort);
        setRingItemTooltip(s.comRing.panel, s.comRing.control, count,
                           deviceTooltip("", s.chosenPort).c_str());
        SetCtrlVal(s.comRing.panel, s.comRing.control, s.chosenPort);
    } else if (listed) {
        SetCtrlVal(s.comRing.panel, s.comRing.control, s.chosenPort);
    } else {
        // The chosen adapter is away. Operations still go to the chosen port, so the ring
        // must not show another one ("nicht geöffnet", or whatever a key would move to): it
        // keeps the choice, marked, until the operator picks another port.
        appendNotConnectedItem(s.comRing, s.chosenPort);
        s.choiceMarkedAway = true;
        SetCtrlVal(s.comRing.panel, s.comRing.control, s.chosenPort);
        // The list has just said the port is away: what it showed before no longer counts.
        closeSession();
        cardValuesPortGone(s.chosenPort);
    }
}

void VekCom_ComAnzeige(int port) {
    auto &s = state();
    if (s.comRing.registered())
        SetCtrlVal(s.comRing.panel, s.comRing.control, port);
    for (int i = 0; i < s.pictureRingCount; ++i)
        SetCtrlVal(s.pictureRings[i].panel, s.pictureRings[i].control, pictureRingValue(port));
}

// ---------------------------------------------------------------------------------------------
// Control callbacks

int Callback_ComPortEinstellen(int panel, int control, int event, void *, int, int) {
    switch (event) {
    case EVENT_COMMIT: {
        int value = 0;
        if (GetCtrlVal(panel, control, &value) == 0)
            state().chosenPort = value;
        break;
    }
    case EVENT_LEFT_CLICK:
    case EVENT_KEYPRESS:
        VekCom_ComListeErstellen(panel, control);
        break;
    default:
        break;
    }
    return 0;
}

int Callback_ComPortAdresse(int panel, int control, int event, void *, int, int) {
    if (event != EVENT_COMMIT)
        return 0;
    char value = 0;
    GetCtrlVal(panel, control, &value);
    VekCom_FehlermeldungSet(VekCom_AdresseSet(value));
    return 0;
}

int Callback_ComPortUmschalten(int, int, int, void *, int, int) {
    return 0;
}

// ---------------------------------------------------------------------------------------------

void vekComResetForTesting() {
    stopHotPlug();
    VekCom_Close();
    cardValuesResetForTesting();
    state() = panel::detail::State{};
}
