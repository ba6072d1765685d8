// Panel descriptions: the panels of a panel resource kept as plain data. The program registers
// its resources with the runtime (registerPanelResource), and LoadPanel builds the widgets from
// them; the descriptions themselves never change at run time.
//
// Coordinates and sizes are pixels of the design font, the runtime's panel font at 12 pixels.
// LoadPanel scales them by the panel font's size relative to that (never below 1), so that a
// larger font gets room in proportion and the design font gets the layout pixel for pixel.
//
// Texts (titles, labels, button texts, ring item labels, accessible names) are UTF-8 in the
// program's source language. When the resource names a translation context, LoadPanel shows
// each text as the translation installed for that context (QCoreApplication::translate), or as
// written when there is none. A '&' in a command button's text or in the label of a control
// that takes the focus marks the next letter as its keyboard shortcut (Alt+letter); "&&" is a
// '&' of its own.
//
// Frames are groups: the controls whose rectangle lies inside a frame's rectangle belong to it
// (for assistive technology they are its children), and a group is named after the heading
// text message inside it. The Tab key visits the controls that take the focus in reading order:
// groups and the controls outside any group from top left to bottom right, and inside a group
// its controls row by row, each row from left to right. Display-only strings and numerics are
// left out of the Tab order; a click still focuses them (to select and copy their text), and
// assistive technology reads them as any other control.
#pragma once

#include <vector>

namespace ui {

enum class ControlKind { CommandButton, Led, Ring, String, Numeric, TextMessage, Frame, Picture };

// Where a control's label sits relative to the control.
enum class LabelPlace { None, Left, Right, Above };

// The logos the runtime can draw (pictures are our own drawings, not image files).
enum class PictureKind { None, MakerLogo };

struct RingItem {
    const char *label;
    int value; // the character's code for character rings
};

struct ControlDescription {
    int id;
    const char *constantName; // e.g. "COMPORT", used as the widget's object name
    ControlKind kind;
    int x, y, width, height; // of the control itself, in panel pixels
    const char *label = "";  // label, or the text of buttons and text messages
    LabelPlace labelPlace = LabelPlace::None;
    int labelX = 0, labelY = 0; // label position (Left/Above: label's top left)
    const char *callbackName = nullptr;
    // Rings: value type and items; the first item is selected at load.
    bool charValues = false;
    std::vector<RingItem> items = {};
    // LEDs and numerics: the value at load. LEDs: the on-colour.
    int initialValue = 0;
    int onColour = 0x00C000;
    // Strings and numerics: true when the operator cannot edit them (display only).
    bool indicator = false;
    // Strings: each new text is announced to assistive technology at once, as a person looking
    // at the panel would notice it; an empty text withdraws it. (The program's error row does
    // not: each operation announces its whole outcome instead, announceToScreenReader.)
    bool announce = false;
    // Text messages: bold text; a group heading in the heading colour.
    bool bold = false;
    bool heading = false;
    PictureKind picture = PictureKind::None;
    // Name read out by assistive technology when the control has no visible label.
    const char *accessibleName = nullptr;
};

struct MenuItemDescription {
    int id;
    const char *constantName;
    const char *label; // may carry one '&' for the keyboard shortcut
    const char *callbackName;
};

struct MenuDescription {
    int id;
    const char *constantName;
    const char *label;
    std::vector<MenuItemDescription> items;
};

struct MenuBarDescription {
    int id;
    std::vector<MenuDescription> menus;
};

struct PanelDescription {
    int resourceId;
    const char *constantName;
    const char *title;
    int width, height; // client area, menu bar excluded
    int backgroundColour;
    const char *callbackName = nullptr;
    const MenuBarDescription *menuBar = nullptr;
    std::vector<ControlDescription> controls = {};
};

// The panels of one panel resource, as the program registers it with registerPanelResource
// (ui/uiruntime.h). A panel is found by its resourceId.
struct ResourceDescription {
    std::vector<const PanelDescription *> panels;
    // The context of the panels' texts in the translation files; null shows them
    // as written.
    const char *translationContext = nullptr;
};

} // namespace ui
