// State of the COM-port manager shared by its two source files (the manager and the scan).
#pragma once

#include "cardlink/Vek_Com.h"
#include "cardlink/cardsession.h"

namespace panel::detail {

// A registered control; panel 0 means not registered.
struct Control {
    int panel = 0;
    int control = 0;
    bool registered() const { return panel != 0; }
};

struct State {
    int chosenPort = 0;
    CardSession session; // the open port: open from VekCom_Open to VekCom_Close
    int lastPort = 0;
    char address = '1';
    // What the port itself has just shown, for the one rebuild of the ring that follows, over
    // the system's list (which can lag behind): a port on which a command succeeded is there;
    // a port whose open found no device is not. 0: nothing shown.
    int presentPort = 0;
    int absentPort = 0;
    bool choiceMarkedAway = false; // the ring shows "COM <n> (getrennt)" for the choice

    Control comRing;
    Control adressRing;
    Control idButton;
    Control idText;
    Control scanButton;
    Control scanText;
    Control pictureRings[MAX_PICTURERINGCONTROLS];
    int pictureRingCount = 0;
    Control adressLeds[MAX_ADRESSLEDS];
    int adressLedCount = 0;
};

State &state();

} // namespace panel::detail
