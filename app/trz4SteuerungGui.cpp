// The panels of "trz4SteuerungGui.ui": the main panel with its menu bar and the info panel.
// Their texts are German, marked for the translation files under the context
// "trz4SteuerungGui"; names (the program's, the maker's) and the card numbers are not
// translated. Shortcut letters ('&') differ from each other and from the menus' in every
// language.
#include "app/trz4SteuerungGui.h"

#include "ui/paneldescription.h"
#include "ui/uiruntime.h"

#include <QtGlobal>

using namespace ui;

namespace {

constexpr int kPanelBackground = 0xECE9D8;
constexpr int kGreen = 0x00C000;
constexpr int kRed = 0xE00000;
constexpr int kAmber = 0xF0A000;

// Left-hand labels of the "Com-Einstellungen" group share one column, the heading's: a label
// that a language makes about half as long again still fits before its control.
constexpr int kComLabelX = 72;
// The rings and the ID box of that group share one left edge.
constexpr int kComRingX = 221;

const MenuBarDescription kMenuMain{
    MENUMAIN,
    {
        {MENUMAIN_DATEI,
         "DATEI",
         QT_TRANSLATE_NOOP("trz4SteuerungGui", "&Datei"),
         {{MENUMAIN_DATEI_PROTOKOLL, "PROTOKOLL",
           QT_TRANSLATE_NOOP("trz4SteuerungGui", "Schnittstellen&protokoll ..."),
           "Menu_Main_Datei"},
          {MENUMAIN_DATEI_BEENDEN, "BEENDEN", QT_TRANSLATE_NOOP("trz4SteuerungGui", "&Beenden"),
           "Menu_Main_Datei"}}},
        {MENUMAIN_HILFE,
         "HILFE",
         QT_TRANSLATE_NOOP("trz4SteuerungGui", "&Hilfe"),
         {{MENUMAIN_HILFE_INFO, "INFO", QT_TRANSLATE_NOOP("trz4SteuerungGui", "&Info"),
           "Menu_Main_Hilfe"}}},
    }};

std::vector<RingItem> cardNumberItems() {
    std::vector<RingItem> items;
    static const char *const kLabels[] = {"1", "2", "3", "4", "5", "6", "7", "8",
                                          "9", "a", "b", "c", "d", "e", "f"};
    for (const char *label : kLabels) {
        items.push_back({label, label[0]});
    }
    return items;
}

ControlDescription led(int id, const char *name, int x, int y, const char *label, LabelPlace place,
                       int labelX, int labelY, int initial, int onColour) {
    ControlDescription c{id, name, ControlKind::Led, x, y, 16, 16};
    c.label = label;
    c.labelPlace = place;
    c.labelX = labelX;
    c.labelY = labelY;
    c.initialValue = initial;
    c.onColour = onColour;
    return c;
}

ControlDescription button(int id, const char *name, int x, int y, int width, const char *text,
                          const char *callback) {
    ControlDescription c{id, name, ControlKind::CommandButton, x, y, width, 24};
    c.label = text;
    c.callbackName = callback;
    return c;
}

ControlDescription text(int id, const char *name, int x, int y, int width, int height,
                        const char *content, bool bold = false) {
    ControlDescription c{id, name, ControlKind::TextMessage, x, y, width, height};
    c.label = content;
    c.bold = bold;
    return c;
}

// Group headings: set apart by colour rather than weight, so that start-up loads no bold face.
ControlDescription heading(int id, const char *name, int x, int y, const char *content) {
    ControlDescription c = text(id, name, x, y, 200, 16, content);
    c.heading = true;
    return c;
}

ControlDescription frame(int id, const char *name, int left, int top, int right, int bottom) {
    return ControlDescription{id, name, ControlKind::Frame, left, top, right - left, bottom - top};
}

ControlDescription stringBox(int id, const char *name, int x, int y, int width) {
    ControlDescription c{id, name, ControlKind::String, x, y, width, 22};
    c.indicator = true;
    return c;
}

ControlDescription picture(int id, int x, int y, int width, int height) {
    ControlDescription c{id, "PICTURE", ControlKind::Picture, x, y, width, height};
    c.picture = PictureKind::MakerLogo;
    c.accessibleName = kMakerName;
    return c;
}

PanelDescription makeMainPanel() {
    PanelDescription p{
        MAINPANEL, "MAINPANEL", QT_TRANSLATE_NOOP("trz4SteuerungGui", "trz-4 Steuerung"),
        698,       471,         kPanelBackground};
    p.callbackName = "Callback_Panels";
    p.menuBar = &kMenuMain;

    ControlDescription adresse{ADRESSE, "ADRESSE", ControlKind::Ring, kComRingX, 64, 60, 22};
    adresse.label = QT_TRANSLATE_NOOP("trz4SteuerungGui", "&Adresse");
    adresse.labelPlace = LabelPlace::Left;
    adresse.labelX = kComLabelX;
    adresse.labelY = 68;
    adresse.charValues = true;
    adresse.items = {{"1", '1'}};

    // Wide enough for its longest item, the chosen port while its adapter is away, also in a
    // language half as long again: "COM 256 (getrennt)". It takes that room on its left, where
    // the label column ends, so that "?" keeps its place right beside it.
    ControlDescription comport{COMPORT, "COMPORT", ControlKind::Ring, kComRingX, 100, 170, 22};
    comport.label = QT_TRANSLATE_NOOP("trz4SteuerungGui", "&COM-Port (USB)");
    comport.labelPlace = LabelPlace::Left;
    comport.labelX = kComLabelX;
    comport.labelY = 102;
    comport.items = {{QT_TRANSLATE_NOOP("trz4SteuerungGui", "nicht geöffnet"), 0}};

    ControlDescription soll{
        KARTENNUMMERSOLL, "KARTENNUMMERSOLL", ControlKind::Ring, 515, 331, 56, 22};
    soll.charValues = true;
    soll.items = cardNumberItems();
    soll.accessibleName = QT_TRANSLATE_NOOP("trz4SteuerungGui", "Neue Kartennummer");

    ControlDescription nummer{
        FEHLERNUMMER, "FEHLERNUMMER", ControlKind::Numeric, 575, 438, 100, 22};
    nummer.indicator = true;
    nummer.accessibleName = QT_TRANSLATE_NOOP("trz4SteuerungGui", "Fehlernummer");

    ControlDescription fehlerString = stringBox(FEHLERSTRING, "FEHLERSTRING", 115, 438, 452);
    fehlerString.accessibleName = QT_TRANSLATE_NOOP("trz4SteuerungGui", "Fehlermeldung");

    ControlDescription ist = stringBox(KARTENNUMMERIST, "KARTENNUMMERIST", 515, 287, 56);
    ist.accessibleName = QT_TRANSLATE_NOOP("trz4SteuerungGui", "Gelesene Kartennummer");

    ControlDescription hilfe =
        button(COMHILFE, "COMHILFE", 395, 100, 26, "?", "Callback_Main_Buttons");
    hilfe.accessibleName = QT_TRANSLATE_NOOP("trz4SteuerungGui", "Hilfe zum COM-Port");
    hilfe.height = 22; // the height of the ring beside it

    // Up to x 600, a little inside the group's frame.
    ControlDescription id = stringBox(ID, "ID", kComRingX, 171, 600 - kComRingX);
    id.label = QT_TRANSLATE_NOOP("trz4SteuerungGui", "ID");
    id.labelPlace = LabelPlace::Left;
    id.labelX = kComLabelX;
    id.labelY = 174;

    p.controls = {
        adresse,
        comport,
        hilfe,
        button(SCANN, "SCANN", 308, 146, 70, QT_TRANSLATE_NOOP("trz4SteuerungGui", "&Scann"),
               nullptr),
        button(IDLESEN, "IDLESEN", 386, 146, 84, QT_TRANSLATE_NOOP("trz4SteuerungGui", "&ID lesen"),
               nullptr),
        button(STATUSABFRAGE, "STATUSABFRAGE", 109, 347, 100,
               QT_TRANSLATE_NOOP("trz4SteuerungGui", "S&tatus lesen"), "Callback_Main_Buttons"),
        button(KARTENNUMMERLESEN, "KARTENNUMMERLESEN", 418, 286, 84,
               QT_TRANSLATE_NOOP("trz4SteuerungGui", "&Lesen"), "Callback_Main_Buttons"),
        button(KARTENNUMMERSCHREIBEN, "KARTENNUMMERSCHREIBEN", 418, 330, 84,
               QT_TRANSLATE_NOOP("trz4SteuerungGui", "&Einstellen"), "Callback_Main_Buttons"),
        soll,
        led(FEHLERLED, "FEHLERLED", 83, 438, QT_TRANSLATE_NOOP("trz4SteuerungGui", "Fehler"),
            LabelPlace::Left, 40, 440, 0, kRed),
        fehlerString,
        nummer,
        led(LED1, "LED1", 231, 151, "1", LabelPlace::Left, 218, 151, 0, kGreen),
        id,
        heading(MAINPANEL_TEXTMSG_2, "TEXTMSG_2", 72, 42,
                QT_TRANSLATE_NOOP("trz4SteuerungGui", "Com-Einstellungen")),
        heading(MAINPANEL_TEXTMSG_3, "TEXTMSG_3", 374, 250,
                QT_TRANSLATE_NOOP("trz4SteuerungGui", "Kartennummer")),
        heading(MAINPANEL_TEXTMSG, "TEXTMSG", 78, 249,
                QT_TRANSLATE_NOOP("trz4SteuerungGui", "Status")),
        // The upper status LED reads "Ungültige Kartennummer", the lower one "Nicht alle
        // Parameter eingestellt"; both are on in the resource until start-up clears them.
        led(STATUSLED10, "STATUSLED10", 106, 308,
            QT_TRANSLATE_NOOP("trz4SteuerungGui", "Nicht alle Parameter eingestellt"),
            LabelPlace::Right, 128, 308, 1, kAmber),
        ist,
        led(STATUSLED9, "STATUSLED9", 106, 281,
            QT_TRANSLATE_NOOP("trz4SteuerungGui", "Ungültige Kartennummer"), LabelPlace::Right, 128,
            281, 1, kAmber),
        led(COMAKTIVLED, "COMAKTIVLED", 83, 412, QT_TRANSLATE_NOOP("trz4SteuerungGui", "Com"),
            LabelPlace::Right, 105, 412, 0, kGreen),
        frame(DECORATION, "DECORATION", 63, 35, 612, 228),
        picture(MAINPANEL_PICTURE, 637, 35, 41, 42),
        frame(DECORATION_2, "DECORATION_2", 63, 241, 343, 392),
        frame(DECORATION_3, "DECORATION_3", 356, 241, 612, 392),
        text(SCANNTEXT, "SCANNTEXT", 233, 194, 300, 16,
             QT_TRANSLATE_NOOP("trz4SteuerungGui", "Suche Gerät ...")),
    };
    return p;
}

PanelDescription makeInfoPanel() {
    PanelDescription p{INFOPANEL, "INFOPANEL", QT_TRANSLATE_NOOP("trz4SteuerungGui", "Info"),
                       375,       275,         kPanelBackground};
    ControlDescription ok =
        button(OK, "OK", 150, 236, 75, QT_TRANSLATE_NOOP("trz4SteuerungGui", "&OK"),
               "Callback_Info_Button_Ok");
    ok.height = 26;
    p.controls = {
        picture(INFOPANEL_PICTURE, 20, 18, 69, 70),
        ok,
        text(INFOPANEL_TEXTMSG, "TEXTMSG", 20, 104, 335, 16, kMakerName, true),
        text(INFOPANEL_TEXTMSG_2, "TEXTMSG_2", 20, 122, 335, 96,
             QT_TRANSLATE_NOOP("trz4SteuerungGui", "Musterstraße 12\n"
                                                   "12345 Musterstadt\n"
                                                   "Telefon +49 (0)000 1234-0\n"
                                                   "Fax +49 (0)000 1234-99\n"
                                                   "E-Mail info@beispielwerk.example\n"
                                                   "www.beispielwerk.example")),
        text(VERSION, "VERSION", 110, 50, 240, 16, "Version"),
        text(DATUM, "DATUM", 110, 68, 240, 16, "Datum"),
        text(INFOPANEL_TEXTMSG_3, "TEXTMSG_3", 110, 24, 240, 18, "trz4-Steuerung", true),
    };
    return p;
}

} // namespace

const ResourceDescription &trz4SteuerungGuiResource() {
    static const PanelDescription kMain = makeMainPanel();
    static const PanelDescription kInfo = makeInfoPanel();
    static const ResourceDescription kResource{{&kInfo, &kMain}, "trz4SteuerungGui"};
    return kResource;
}

void registerTrz4SteuerungGui() {
    registerPanelResource(kTrz4GuiResource, &trz4SteuerungGuiResource());
}
