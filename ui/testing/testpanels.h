// A panel resource of the tests' own, so that the runtime and the pieces above it are tested
// without the program's panels: a test panel with one or more controls of every kind that the
// program uses, and a child panel. Register it before loading:
//
//     ui::testing::registerTestPanels();
//     int panel = LoadPanel(0, kTestPanelsResource, TESTPANEL);
//
// Callback names bound at load: the test panel's "Test_Panel", BOUNDBUTTON's "Test_Button",
// the first menu's "Test_Menu_First" and the second's "Test_Menu_Second". The other controls
// bind none. Texts are German, as the program's panels are written; the resource names no
// translation context, so they show as written.
#pragma once

namespace ui::testing {

// Registers the resource under kTestPanelsResource; calling it again changes nothing.
void registerTestPanels();

} // namespace ui::testing

inline constexpr const char *kTestPanelsResource = "testpanels.ui";
inline constexpr int TESTPANEL = 1;
inline constexpr int CHILDPANEL = 2;

// Controls of TESTPANEL.
inline constexpr int CHARRING = 2;    // character ring, one item "1"
inline constexpr int INTRING = 3;     // int ring, one item "nicht geöffnet" (0)
inline constexpr int DIGITRING = 4;   // character ring "1" ... "9", "a" ... "f"
inline constexpr int BOUNDBUTTON = 5; // command button bound to "Test_Button"
inline constexpr int BUTTON = 6;      // command buttons bound to nothing
inline constexpr int BUTTON2 = 7;
inline constexpr int LED = 8;          // LED with the label "1" on its left
inline constexpr int LED2 = 9;         // LED without label
inline constexpr int LABELLEDLED = 10; // LED with a long label on its right, on at load
inline constexpr int STRING = 11;      // display-only string with the label "ID"
inline constexpr int STRING2 = 12;     // display-only string without label
inline constexpr int TEXT = 13;        // text message
// An error row as the error display registers it: LED, announced string, display-only number.
inline constexpr int ERRORLED = 14;
inline constexpr int ERRORTEXT = 15;
inline constexpr int ERRORNUMBER = 16;

// Menu bar of TESTPANEL: two menus of one item each.
inline constexpr int TESTMENUBAR = 1;
inline constexpr int FIRSTMENU = 2;
inline constexpr int QUITITEM = 3;
inline constexpr int SECONDMENU = 4;
inline constexpr int INFOITEM = 5;

// Controls of CHILDPANEL.
inline constexpr int CHILDTEXT = 2;
inline constexpr int CHILDOK = 3;
