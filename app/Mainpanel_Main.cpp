#include "app/Mainpanel_Main.h"

#include "app/Mainpanel_Funktionen.h"
#include "app/linklogwindow.h"
#include "app/trz4Steuerung_Main.h"
#include "cardlink/Vek_Com.h"
#include "cardlink/settingsfile.h"
#include "panel/cardvalues.h"
#include "errors/VEK_errorV3.h"
#include "app/trz4SteuerungGui.h"
#include "ui/uiruntime.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

namespace {

int gMainPanel = -1;
int gInfoPanel = -1;

// The panel resource names its callbacks; LoadPanel binds only names registered here first.
void registerCallbacks() {
    registerCallback("Callback_Panels", Callback_Panels);
    registerCallback("Menu_Main_Datei", Menu_Main_Datei);
    registerCallback("Menu_Main_Hilfe", Menu_Main_Hilfe);
    registerCallback("Callback_Info_Button_Ok", Callback_Info_Button_Ok);
    // Serves "?", "Status lesen", "Lesen" and "Einstellen".
    registerCallback("Callback_Main_Buttons", Callback_Main_Buttons);
}

} // namespace

int Mainpanel_Initialisieren(const char *version, const char *datum) {
    registerTrz4SteuerungGui();
    registerCallbacks();

    gMainPanel = LoadPanel(0, kTrz4GuiResource, MAINPANEL);
    if (gMainPanel < 0) {
        return -1;
    }
    gInfoPanel = LoadPanel(gMainPanel, kTrz4GuiResource, INFOPANEL);
    if (gInfoPanel < 0) {
        return -1;
    }
    SetPanelAttribute(gMainPanel, ATTR_HAS_TASKBAR_BUTTON, 1);

    SetCtrlVal(gInfoPanel, VERSION, version);
    SetCtrlVal(gInfoPanel, DATUM, datum);
    // A screen reader reads the popup's short texts apart from their words "Version" and "Datum"
    // (Orca passes over texts of fewer than three words in a dialog): the program's name reads
    // as the whole line.
    const QByteArray about =
        QCoreApplication::translate("Mainpanel", "trz4-Steuerung, Version %1, Datum %2")
            .arg(QString::fromUtf8(version), QString::fromUtf8(datum))
            .toUtf8();
    setCtrlAccessibleName(gInfoPanel, INFOPANEL_TEXTMSG_3, about.constData());

    // The resource has both status LEDs on and the scan text filled; the scan text shows only
    // while a scan runs.
    SetCtrlVal(gMainPanel, STATUSLED9, 0);
    SetCtrlVal(gMainPanel, STATUSLED10, 0);
    SetCtrlVal(gMainPanel, SCANNTEXT, "");

    // Hand-over of the main panel's controls, in this order (results not looked at). The
    // COM-port ring goes first: it is filled with the system's ports before the settings file
    // selects the stored one.
    VekCom_RegisterComControl(gMainPanel, COMPORT);
    VekCom_RegisterFehlerControls(gMainPanel, FEHLERLED, FEHLERSTRING, FEHLERNUMMER);
    VekCom_RegisterIdReadButton(gMainPanel, IDLESEN);
    VekCom_RegisterIdTextdisplay(gMainPanel, ID);
    VekCom_RegisterAdressControl(gMainPanel, ADRESSE);
    VekCom_RegisterAdressLeds(gMainPanel, LED1);
    VekCom_RegisterScanButton(gMainPanel, SCANN);
    VekCom_RegisterScanStringControl(gMainPanel, SCANNTEXT);
    // The controls that show the card's answers besides the identification, so that a later
    // failure can grey what it made doubtful.
    cardValueRegister(CardValue::Status, gMainPanel, STATUSLED9);
    cardValueRegister(CardValue::Status, gMainPanel, STATUSLED10);
    cardValueRegister(CardValue::CardNumber, gMainPanel, KARTENNUMMERIST);
    // Every exchange from now on is kept for the link log's window.
    linkLogStart();
    return 0;
}

int Mainpanel_Freigeben() {
    linkLogStop();
    DiscardPanel(gInfoPanel);
    DiscardPanel(gMainPanel);
    return 0;
}

int Mainpanel_GetMainpanel() {
    return gMainPanel;
}

int mainpanelGetInfopanel() {
    return gInfoPanel;
}

void Menu_Main_Datei(int /*menuBar*/, int menuItem, void * /*callbackData*/, int /*panel*/) {
    if (menuItem == BEENDEN) {
        QuitUserInterface(0);
    } else if (menuItem == PROTOKOLL) {
        linkLogShow(gMainPanel);
    }
}

void Menu_Main_Hilfe(int /*menuBar*/, int menuItem, void * /*callbackData*/, int /*panel*/) {
    if (menuItem == INFO) {
        InstallPopup(gInfoPanel);
    }
}

int Callback_Info_Button_Ok(int /*panel*/, int /*control*/, int event, void * /*callbackData*/,
                            int /*eventData1*/, int /*eventData2*/) {
    if (event == EVENT_COMMIT) {
        RemovePopup(gInfoPanel);
    }
    return 0;
}

int Mainpanel_ReadIni(IniDocument *handle) {
    // Each key is applied on its own, so one damaged line costs only its own setting; the
    // result names the first key that gave no value. Values the COM-port manager refuses
    // leave its own value in place without a report.
    int result = 0;
    int value = 0;
    if (settingsGet(handle, SettingsKey::Com, &value)) {
        VekCom_ComPortChose(value);
    } else if (result == 0) {
        result = mainpanel::kErrIniKeyCom;
    }
    if (settingsGet(handle, SettingsKey::LastCom, &value)) {
        VekCom_LastComPortSet(value);
    } else if (result == 0) {
        result = mainpanel::kErrIniKeyLastCom;
    }
    if (settingsGet(handle, SettingsKey::Address, &value)) {
        VekCom_AdresseSet(settingsAddressOf(value));
    } else if (result == 0) {
        result = mainpanel::kErrIniKeyAdresse;
    }
    return result;
}

int Mainpanel_WriteIni(IniDocument *handle) {
    settingsPut(handle, SettingsKey::Com, VekCom_ComPortGet());
    settingsPut(handle, SettingsKey::LastCom, VekCom_LastComPortGet());
    settingsPut(handle, SettingsKey::Address, VekCom_AdresseGet());
    return 0;
}
