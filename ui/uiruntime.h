// The user-interface runtime: panels, controls, popups and the event loop on Qt 6 Widgets.
//
// Panels are built from panel descriptions kept as data (ui/paneldescription.h) that the
// program registers under a resource file name, and are looked up by that name and the panel
// number. Panels and controls are addressed by int handles and control constants, callbacks
// are plain C-style functions bound by name.
//
// Threading: every function here is for the one user-interface thread only; nothing is locked.
// A QApplication must exist (see runUserInterfaceProgram) before any panel is loaded.
//
// Results: 0 (or a handle >= 0) for success, a negative kUi... code for failure. No function
// throws and none aborts on a caller's mistake (unknown handle, wrong value type).
#pragma once

#include <string>
#include <vector>

class QAction;
class QWidget;

namespace ui {
struct ResourceDescription;
}

// ---------------------------------------------------------------------------------------------
// Events that reach the callbacks.
inline constexpr int EVENT_COMMIT = 1;     // a button was operated, a ring item was chosen
inline constexpr int EVENT_LEFT_CLICK = 3; // left mouse press on a control, before it reacts;
                                           // eventData1 = y, eventData2 = x (control-local)
inline constexpr int EVENT_KEYPRESS = 7;   // key press on the focused control, before it reacts;
                                           // eventData1 = Qt key code, eventData2 = modifiers
inline constexpr int EVENT_CLOSE = 11;     // the operator closes the panel's window (its
                                           // close box; Escape on a panel shown as popup)

// Control callback: a result other than 0 from EVENT_LEFT_CLICK or EVENT_KEYPRESS swallows the
// click or key; the program's own callbacks always answer 0.
typedef int (*CtrlCallbackPtr)(int panel, int control, int event, void *callbackData,
                               int eventData1, int eventData2);
typedef int (*PanelCallbackPtr)(int panel, int event, void *callbackData, int eventData1,
                                int eventData2);
typedef void (*MenuCallbackPtr)(int menuBar, int menuItem, void *callbackData, int panel);

// ---------------------------------------------------------------------------------------------
// Attributes.
inline constexpr int ATTR_ON_COLOR = 920;                // LED on-colour, int 0xRRGGBB
inline constexpr int ATTR_HAS_TASKBAR_BUTTON = 618;      // panel: own taskbar button (0/1)
inline constexpr int ATTR_TASKBAR_BUTTON_VISIBLE = 1420; // system: app-wide taskbar button

// Button numbers of GenericMessagePopup (active control, Enter and Escape buttons).
inline constexpr int kPopupNoCtrl = 0;
inline constexpr int kPopupBtn1 = 1;
inline constexpr int kPopupBtn2 = 2;
inline constexpr int kPopupBtn3 = 3;
inline constexpr int kPopupInputString = 4; // active control only: the input field

// Failure codes.
inline constexpr int kUiErrNoApplication = -1;    // no QApplication exists
inline constexpr int kUiErrResourceNotFound = -2; // unknown resource file or panel number
inline constexpr int kUiErrBadPanel = -3;         // no panel with this handle
inline constexpr int kUiErrBadControl = -4;       // no control with this constant on the panel
inline constexpr int kUiErrWrongType = -5;        // value type does not suit the control kind
inline constexpr int kUiErrBadAttribute = -6;     // attribute unknown or not for this control
inline constexpr int kUiErrIndexOutOfRange = -7;  // ring index outside the list
inline constexpr int kUiErrBadArgument = -8;      // null pointer or invalid number
inline constexpr int kUiErrSystem = -9;           // the operating system refused a request

// ---------------------------------------------------------------------------------------------
// Start-up.

// Non-zero when the runtime is ready (a QApplication exists), 0 otherwise. Installs the
// "Assert" popup of the utility library. Both pointers are ignored.
int InitRuntimeEngine(void *instance, char *argv[], void *reserved);

// The runtime's process start-up around the program's main function: refuses to start
// without a display (neither displayAvailable() nor Qt's -platform option; one line in the
// process's language on stderr, result -1 as for a runtime that is not ready, programMain not
// called), creates the QApplication (which takes Qt's own options such as -platform out of argv),
// arms the termination watch (see below), calls programMain(argc, argv), discards what panels are
// left and returns programMain's result. A start-up hook set with setStartupHook runs right before
// programMain. When Qt cannot bring up its platform while the QApplication is made (a display
// that is named but cannot be reached, a platform plugin that does not load), the process
// ends there with exit status 255, the status of a result of -1, and one line in the process's
// language on stderr after Qt's own warnings, instead of Qt's abort.
int runUserInterfaceProgram(int argc, char *argv[], int (*programMain)(int, char *[]));

// Sets the function that runUserInterfaceProgram calls once the QApplication exists, before
// the program's main function; null (the value at start) calls none. Developer builds of the
// program arm their hooks with it (ui/devhooks.h); the program itself sets none.
void setStartupHook(void (*hook)());

// True when a display is available or the platform is chosen explicitly: on Linux DISPLAY,
// WAYLAND_DISPLAY or QT_QPA_PLATFORM set and not empty; always on Windows
// (graphicalDisplayAvailable(), platform/process.h).
bool displayAvailable();

// ---------------------------------------------------------------------------------------------
// Termination requests: the system asking the process to end (a kill, the system shutting
// down, the terminal or the session going away, Ctrl-C) and the end of the desktop session
// (the session manager asking the program to commit its data, or the platform sending the
// application QEvent::Quit) end the program as "Beenden" does, on this thread and never
// inside a signal handler:
//  - the first request calls QuitUserInterface(0): RunUserInterface returns once the callback
//    that runs has returned, so a card exchange in progress finishes first; a request before
//    the loop runs (during a start-up popup, say) ends the next loop at once;
//  - from then on no popup waits for an operator, who may be gone: a MessagePopup or
//    GenericMessagePopup box that is open is closed, and each one opened later returns at
//    once without being shown, each answered as by Escape (GenericMessagePopup: its Escape
//    button, or its last button when it has none; an input field gives the empty text).
//    "<title>: <text>" of each such box goes to stderr, so that a failure reported while the
//    program ends is not lost;
//  - later requests change nothing: a second Ctrl-C cannot cut the ending short.
// Panels shown by InstallPopup are left to the program, which discards them after the loop.

// Arms the watch; runUserInterfaceProgram does so before it calls the program's main. Arming
// again changes nothing. Answers 0; kUiErrNoApplication without a QApplication; kUiErrSystem
// when the system refuses (signals then keep their default effect).
int watchTerminationRequests();
// True once a termination request has been taken up.
bool terminationRequested();
// Disarms the watch and forgets a request taken up, for tests that run the program more than
// once in one process (a quit it marked for a loop that never ran is forgotten too).
void unwatchTerminationRequests();

// ---------------------------------------------------------------------------------------------
// Callback binding by name. Panels bind the callbacks their description names when they are
// loaded; a name without a registered function is left unbound. Register before LoadPanel.
// Registering a name again replaces the function; a null function removes it.
void registerCallback(const char *name, CtrlCallbackPtr function);
void registerCallback(const char *name, PanelCallbackPtr function);
void registerCallback(const char *name, MenuCallbackPtr function);

// ---------------------------------------------------------------------------------------------
// Panel resources. The runtime knows no panel of its own: a program registers the description
// of each panel resource under its file name before it loads a panel from it.

// Makes the panels of *resource loadable by LoadPanel under the name resourceFile (compared
// byte for byte). The description is not copied and must stay valid while it is registered.
// Registering a name again replaces its description; a null resource removes the name.
// Answers 0, or kUiErrBadArgument for a null resourceFile. Panels loaded before keep working.
int registerPanelResource(const char *resourceFile, const ui::ResourceDescription *resource);

// ---------------------------------------------------------------------------------------------
// Panels and the event loop.

// Loads panel number panelResourceId of the registered resourceFile as a new hidden panel with
// its controls, its menu bar and the callbacks named in the description: its texts as the
// installed translation of the resource's context has them, its layout scaled to the panel
// font, its groups, names and Tab order for keyboard and assistive technology
// (ui/paneldescription.h). parentPanel 0 makes a top-level panel; a parent's handle makes a
// child window that is discarded with its parent. A top-level panel without a panel callback
// has no close box.
// Answers the handle (>= 1) or a negative code (kUiErrResourceNotFound for a name that is not
// registered or a panel number that its resource lacks).
int LoadPanel(int parentPanel, const char *resourceFile, int panelResourceId);
int DisplayPanel(int panel);
int HidePanel(int panel);
// Destroys the panel, its controls, its menu bar and its child panels.
int DiscardPanel(int panel);

// Dispatches events to the callbacks until QuitUserInterface is called; answers the value
// given to QuitUserInterface. A quit asked for before the loop runs ends the next loop at once.
int RunUserInterface();
// Marks the loop to end; it returns once the calling callback has returned (popups that the
// callback still opens keep working).
int QuitUserInterface(int returnCode);

// Shows a loaded panel as a modal popup and returns at once: while it is shown, no other panel
// takes input. RemovePopup closes (hides) it; the panel stays loaded. Escape and the window's
// close box report EVENT_CLOSE to the panel's callback; a popup without a panel callback is
// closed by them as by RemovePopup, like every message box.
int InstallPopup(int panel);
int RemovePopup(int panel);

// Modal message box with a title, a text (line feeds break lines) and one "OK" button;
// returns 0 when the operator has dismissed it (Enter, Escape, the button or the close box).
int MessagePopup(const char *title, const char *message);

// Modal box with up to three buttons; a null or empty label means no such button. A non-null
// responseBuffer adds a one-line input field whose text is copied into the buffer on return
// (at most responseBufferSize bytes including the terminating zero, cut at a whole UTF-8
// character). buttonArrangement is accepted and ignored (buttons sit in a row). activeControl
// is the button (kPopupBtn1..3) or the input field (kPopupInputString) that has the focus at
// the start, its focus ring showing. Enter chooses enterButton and Escape (or the close box)
// escapeButton, whichever widget has the focus; kPopupNoCtrl disables the key. The Enter
// button carries the platform's default-button mark. Space or a click chooses a button
// itself. Answers the chosen button's number, 1 to 3, or kUiErrBadArgument when no button
// exists.
int GenericMessagePopup(const char *title, const char *message, const char *button1Label,
                        const char *button2Label, const char *button3Label, char *responseBuffer,
                        int responseBufferSize, int buttonArrangement, int activeControl,
                        int enterButton, int escapeButton);

// ---------------------------------------------------------------------------------------------
// Control values. The value type must suit the control:
//   int          LED (0 off, other on), int ring (selects the first item with the value),
//                numeric;
//   char         character ring (selects the first item with the value);
//   const char * string control, text message (UTF-8; null is the empty text), and the label
//                of a command button.
// Setting a value repaints the control at once, so that it shows even while a callback keeps
// the event loop blocked. A ring value that no item has leaves the ring unchanged and answers
// kUiErrBadArgument.
int SetCtrlVal(int panel, int control, int value);
int SetCtrlVal(int panel, int control, char value);
int SetCtrlVal(int panel, int control, const char *value);
int SetCtrlVal(int panel, int control, const std::string &value);

// Reading: int for LEDs (0/1), int rings (value of the selected item) and numerics; char for
// the selected item of a character ring; the text for string controls, text messages and
// button labels. A ring without a selected item answers kUiErrIndexOutOfRange.
int GetCtrlVal(int panel, int control, int *value);
int GetCtrlVal(int panel, int control, char *value);
int GetCtrlVal(int panel, int control, std::string *value);

// ATTR_ON_COLOR on an LED (0xRRGGBB). Other attributes answer kUiErrBadAttribute.
int SetCtrlAttribute(int panel, int control, int attribute, int value);
int GetCtrlAttribute(int panel, int control, int attribute, int *value);
// ATTR_HAS_TASKBAR_BUTTON: 1 gives the panel's window a taskbar entry of its own (a normal
// top-level window), 0 makes it a tool window without one.
int SetPanelAttribute(int panel, int attribute, int value);
// ATTR_TASKBAR_BUTTON_VISIBLE: accepted; on Linux every top-level window has its own entry,
// so there is no application-wide button to hide.
int SetSystemAttribute(int attribute, int value);

// Binds function (with callbackData) to the control, replacing the description's binding.
// A null function unbinds.
int InstallCtrlCallback(int panel, int control, CtrlCallbackPtr function, void *callbackData);

// Rings: empty the list; insert an item at index (-1 or the item count: append) with a label
// and a value (int for int rings, char for character rings); find the first item with a value
// (*index = -1 and result 0 when there is none).
int ClearListCtrl(int panel, int control);
int InsertListItem(int panel, int control, int index, const char *label, int value);
int InsertListItem(int panel, int control, int index, const char *label, char value);
int GetIndexFromValue(int panel, int control, int *index, int value);
int GetIndexFromValue(int panel, int control, int *index, char value);
int GetNumListItems(int panel, int control, int *count);
int GetLabelFromIndex(int panel, int control, int index, std::string *label);
// The device text of ring item `index` (the COM-port ring's port device and adapter): the
// item's tooltip, and its description for assistive technology, which is also the ring's own
// description while the item is chosen. Null or empty removes it.
int setRingItemTooltip(int panel, int control, int index, const char *tooltip);

// ---------------------------------------------------------------------------------------------
// Assistive technology.

// Says `text` to the operator through assistive technology at once, wherever the focus is: a
// screen reader speaks it as a notification of the panel's window. Nothing shows on screen.
// Each call is said anew, also the same text twice; an empty or null text says nothing.
// Answers 0, or the panel lookup's code.
int announceToScreenReader(int panel, const char *text);

// The name assistive technology reads for a control in place of its text or label, for a
// control whose text alone says too little (a version number without the word "Version").
// Null or empty gives the control its own name back.
int setCtrlAccessibleName(int panel, int control, const char *name);

// The words assistive technology says for an LED's two states in place of "ein" and "aus"
// ("gefunden" / "nicht gefunden"); null keeps that state's word. Answers kUiErrWrongType for
// a control that is not an LED.
int setLedStateTexts(int panel, int control, const char *onText, const char *offText);

// ---------------------------------------------------------------------------------------------
// Descriptor callbacks: the program hears of a system descriptor (an inotify watch, a pipe)
// turning readable on the user-interface thread, like any other event.

typedef void (*DescriptorCallbackPtr)(int descriptor, void *callbackData);

// Calls function(descriptor, callbackData) whenever descriptor is readable. Like the control
// callbacks it never runs while another callback of the program runs (an exchange, a popup): it
// waits until that one has returned. The function must read what is pending, or it is called
// again. Answers a watch handle >= 1, kUiErrNoApplication without a QApplication, or
// kUiErrBadArgument for a negative descriptor or a null function.
int installDescriptorCallback(int descriptor, DescriptorCallbackPtr function, void *callbackData);

// Ends the watch; the function is not called again. Answers 0, or kUiErrBadArgument for an
// unknown handle.
int removeDescriptorCallback(int watch);

// ---------------------------------------------------------------------------------------------
// Wait cursor: set on construction, restored on destruction; nests. Popups opened meanwhile
// show the normal pointer.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// A blocking exchange with a device, for its whole length. Callbacks still run one at a time
// and the exchange keeps its order of steps, yet the window stays alive while the exchange
// waits. Scopes nest; the outermost one counts. While one exists on the user-interface thread:
//  - the wait cursor shows; popups opened meanwhile show the normal pointer and work as
//    always;
//  - whenever the serial layer waits for the device on this thread (a byte, room to write,
//    output to leave; platform/rs232.h), the runtime handles the window system's events at
//    least every kSerialWaitSliceMs: the panels repaint and show what was set so far;
//  - mouse clicks, key presses, wheel turns and shortcuts that reach any window meanwhile are
//    dropped, never replayed: those handled inside a wait at once, those that arrive while no
//    wait runs when the outermost scope ends;
//  - no callback starts inside such a wait. A click on a panel's close box is deferred, not
//    dropped: the panel's callback gets the close event once the callback that runs the
//    exchange has returned (outside any callback: when the outermost scope ends);
//  - a termination request is taken up at once and, as always, ends the loop only after the
//    callback that runs has returned.
// Without a QApplication, or on another thread, the scope does nothing.
class ExchangeScope {
public:
    ExchangeScope();
    ~ExchangeScope();
    ExchangeScope(const ExchangeScope &) = delete;
    ExchangeScope &operator=(const ExchangeScope &) = delete;

private:
    bool active;
};
// True while an ExchangeScope exists on the user-interface thread.
bool exchangeRunning();

// ---------------------------------------------------------------------------------------------
// Stale values. A control whose value an earlier answer set and a later failure made doubtful
// is shown as stale: greyed (in italics for a text; an LED's lamp and label greyed), with
// `note` as its tooltip. The value itself is kept. A null or empty note shows the control as
// current again. Setting a new value leaves the mark as it is. LEDs and string controls only:
// other kinds answer kUiErrWrongType.
int setCtrlStale(int panel, int control, const char *note);
// The note of a stale control into *note, or the empty text for a current one. 0, or a
// lookup failure (kUiErrBadPanel, kUiErrBadControl, kUiErrBadArgument for a null note).
int getCtrlStale(int panel, int control, std::string *note);

// ---------------------------------------------------------------------------------------------
// Access to the widgets, for tests and the developer hooks. Null for unknown handles.
QWidget *panelWidget(int panel);
// The panel's area below its menu bar, where the controls sit; the layout's coordinates are
// relative to it (a control inside a group frame is a child of that frame).
QWidget *panelCanvas(int panel);
QWidget *controlWidget(int panel, int control);
// The label widget of a control (LED, ring, string, numeric with a label), or null.
QWidget *controlLabelWidget(int panel, int control);
// The action of a menu item of the panel's menu bar.
QAction *menuItemAction(int panel, int menuItem);
// True while the panel is shown as a popup by InstallPopup.
bool isPopupInstalled(int panel);
// Number of loaded panels (for leak checks in tests) and their handles in loading order.
int loadedPanelCount();
std::vector<int> loadedPanels();
// True while RunUserInterface's loop runs.
bool userInterfaceRunning();
