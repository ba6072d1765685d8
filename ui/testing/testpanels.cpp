#include "ui/testing/testpanels.h"

#include "ui/paneldescription.h"
#include "ui/uiruntime.h"

using namespace ui;

namespace {

const MenuBarDescription kMenuBar{
    TESTMENUBAR,
    {
        {FIRSTMENU, "FIRSTMENU", "&Datei", {{QUITITEM, "QUITITEM", "&Beenden", "Test_Menu_First"}}},
        {SECONDMENU, "SECONDMENU", "&Hilfe", {{INFOITEM, "INFOITEM", "&Info", "Test_Menu_Second"}}},
    }};

ControlDescription control(int id, const char *name, ControlKind kind, int x, int y, int width) {
    return ControlDescription{id, name, kind, x, y, width, kind == ControlKind::Led ? 16 : 22};
}

ControlDescription led(int id, const char *name, int x, int y, const char *label,
                       LabelPlace place) {
    ControlDescription c = control(id, name, ControlKind::Led, x, y, 16);
    c.label = label;
    c.labelPlace = place;
    c.labelX = place == LabelPlace::Left ? x - 14 : x + 22;
    c.labelY = y;
    return c;
}

ControlDescription button(int id, const char *name, int x, int y, const char *text,
                          const char *callback) {
    ControlDescription c = control(id, name, ControlKind::CommandButton, x, y, 90);
    c.label = text;
    c.callbackName = callback;
    return c;
}

ControlDescription display(int id, const char *name, ControlKind kind, int x, int y, int width) {
    ControlDescription c = control(id, name, kind, x, y, width);
    c.indicator = true;
    return c;
}

PanelDescription makeTestPanel() {
    PanelDescription p{TESTPANEL, "TESTPANEL", "Testpanel", 520, 300, 0xECE9D8};
    p.callbackName = "Test_Panel";
    p.menuBar = &kMenuBar;

    ControlDescription charRing = control(CHARRING, "CHARRING", ControlKind::Ring, 80, 10, 60);
    charRing.label = "&Adresse";
    charRing.labelPlace = LabelPlace::Left;
    charRing.labelX = 10;
    charRing.labelY = 12;
    charRing.charValues = true;
    charRing.items = {{"1", '1'}};

    ControlDescription intRing = control(INTRING, "INTRING", ControlKind::Ring, 80, 40, 150);
    intRing.items = {{"nicht geöffnet", 0}};
    intRing.accessibleName = "Zahlen";

    ControlDescription digitRing = control(DIGITRING, "DIGITRING", ControlKind::Ring, 80, 70, 56);
    digitRing.charValues = true;
    for (const char *digit :
         {"1", "2", "3", "4", "5", "6", "7", "8", "9", "a", "b", "c", "d", "e", "f"})
        digitRing.items.push_back({digit, digit[0]});
    digitRing.accessibleName = "Ziffern";

    ControlDescription idString = display(STRING, "STRING", ControlKind::String, 80, 130, 300);
    idString.label = "ID";
    idString.labelPlace = LabelPlace::Left;
    idString.labelX = 10;
    idString.labelY = 132;

    ControlDescription string2 = display(STRING2, "STRING2", ControlKind::String, 400, 70, 56);
    string2.accessibleName = "Zweiter Text";

    ControlDescription text = control(TEXT, "TEXT", ControlKind::TextMessage, 80, 160, 300);
    text.label = "Suche Gerät ...";
    text.height = 16;

    ControlDescription led2 = control(LED2, "LED2", ControlKind::Led, 60, 100, 16);
    led2.accessibleName = "Zweite Lampe";
    ControlDescription errorLed = control(ERRORLED, "ERRORLED", ControlKind::Led, 20, 263, 16);
    errorLed.accessibleName = "Fehler";
    errorLed.onColour = 0xE00000;
    ControlDescription errorText =
        display(ERRORTEXT, "ERRORTEXT", ControlKind::String, 40, 260, 360);
    errorText.announce = true;
    errorText.accessibleName = "Fehlermeldung";
    ControlDescription errorNumber =
        display(ERRORNUMBER, "ERRORNUMBER", ControlKind::Numeric, 410, 260, 100);
    errorNumber.accessibleName = "Fehlernummer";

    ControlDescription labelled =
        led(LABELLEDLED, "LABELLEDLED", 40, 200, "Ungültige Kartennummer", LabelPlace::Right);
    labelled.initialValue = 1;

    p.controls = {
        charRing,
        intRing,
        digitRing,
        button(BOUNDBUTTON, "BOUNDBUTTON", 250, 10, "S&tatus lesen", "Test_Button"),
        button(BUTTON, "BUTTON", 250, 40, "&Scann", nullptr),
        button(BUTTON2, "BUTTON2", 350, 40, "&ID lesen", nullptr),
        led(LED, "LED", 30, 100, "1", LabelPlace::Left),
        led2,
        labelled,
        idString,
        string2,
        text,
        errorLed,
        errorText,
        errorNumber,
    };
    return p;
}

PanelDescription makeChildPanel() {
    PanelDescription p{CHILDPANEL, "CHILDPANEL", "Info", 300, 120, 0xECE9D8};
    ControlDescription text =
        control(CHILDTEXT, "CHILDTEXT", ControlKind::TextMessage, 20, 20, 260);
    text.label = "Ein Panel unter dem Testpanel";
    text.height = 16;
    ControlDescription ok = button(CHILDOK, "CHILDOK", 105, 80, "&OK", nullptr);
    p.controls = {text, ok};
    return p;
}

} // namespace

void ui::testing::registerTestPanels() {
    static const PanelDescription kTest = makeTestPanel();
    static const PanelDescription kChild = makeChildPanel();
    static const ResourceDescription kResource{{&kTest, &kChild}};
    registerPanelResource(kTestPanelsResource, &kResource);
}
