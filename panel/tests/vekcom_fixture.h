// A panel (the tests' own) registered with the COM-port manager as the program does it, over the
// serial test double, with the serial-port key filled by the test.
#pragma once

#include "cardlink/Vek_Com.h"
#include "panel/testing/panel_testing.h"
#include "errors/VEK_errorV3.h"
#include "platform/registry.h"
#include "platform/testing/registry_testing.h"
#include "platform/serial_double.h"
#include "platform/serialcomm_key.h"
#include "ui/testing/ctrlvalues.h"
#include "ui/testing/testpanels.h"
#include "ui/uiruntime.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vekcomtest {

// One panel for the whole run: the error display's table of control sets has no reset,
// so its one set is registered once.
inline int mainPanel() {
    static int panel = [] {
        ui::testing::registerTestPanels();
        int handle = LoadPanel(0, kTestPanelsResource, TESTPANEL);
        VekCom_RegisterFehlerControls(handle, ERRORLED, ERRORTEXT, ERRORNUMBER);
        return handle;
    }();
    return panel;
}

inline int intVal(int control) {
    return ui::testing::ctrlInt(mainPanel(), control);
}
inline std::string textVal(int control) {
    return ui::testing::ctrlText(mainPanel(), control);
}

inline char charVal(int control) {
    char value = 0;
    GetCtrlVal(mainPanel(), control, &value);
    return value;
}

// The ring's items as "label=value".
inline std::vector<std::string> ringItems(int control) {
    std::vector<std::string> items;
    int count = 0;
    GetNumListItems(mainPanel(), control, &count);
    for (int i = 0; i < count; ++i) {
        std::string label;
        GetLabelFromIndex(mainPanel(), control, i, &label);
        items.push_back(label);
    }
    return items;
}

// Fills the serial-port key with REG_SZ values (name, data), in this order.
inline void fillPortKey(const std::vector<std::pair<std::string, std::string>> &values) {
    RegDeleteKey(HKEY_LOCAL_MACHINE, kSerialCommKey);
    RegCreateKey(HKEY_LOCAL_MACHINE, kSerialCommKey);
    for (const auto &[name, data] : values)
        RegWriteString(HKEY_LOCAL_MACHINE, kSerialCommKey, name.c_str(), data.c_str());
}

// The card's answer to an identification frame "#<a>IDR\r" at `address`: ACK, "#", the
// address, the text and CR; silence for every other frame.
inline std::string idAnswer(const std::string &frame, char address, const std::string &text) {
    if (frame.size() == 6 && frame[0] == '#' && frame[1] == address && frame.substr(2) == "IDR\r")
        return std::string("\x06#") + address + text + "\r";
    return {};
}

class VekComTest : public ::testing::Test {
protected:
    void SetUp() override {
        regResetForTesting();
        fillPortKey({{"\\Device\\Serial0", "COM3"}, {"\\Device\\Serial1", "COM20"}});
        vekComResetForTesting();
        panel = mainPanel();
        SetCtrlVal(panel, LED, 0);
        SetCtrlAttribute(panel, LED, ATTR_ON_COLOR, 0x123456);
        SetCtrlVal(panel, STRING, "");
        SetCtrlVal(panel, TEXT, "");
        VekCom_FehlermeldungSet(0);
        VEK_Fehleruserstring(nullptr);
        registerLikeTheProgram();
    }
    void TearDown() override {
        vekComResetForTesting();
        regResetForTesting();
    }

    // The registrations of the program's start-up, in its order.
    void registerLikeTheProgram() {
        VekCom_RegisterComControl(panel, INTRING);
        VekCom_RegisterIdReadButton(panel, BUTTON2);
        VekCom_RegisterIdTextdisplay(panel, STRING);
        VekCom_RegisterAdressControl(panel, CHARRING);
        VekCom_RegisterAdressLeds(panel, LED);
        VekCom_RegisterScanButton(panel, BUTTON);
        VekCom_RegisterScanStringControl(panel, TEXT);
    }

    void choosePort(int port) { VekCom_ComPortChose(port); }

    int panel = 0;
    SerialDouble serial;
    ScopedSerialBackend scoped{serial};
};

} // namespace vekcomtest
