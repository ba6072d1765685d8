// What assistive technology (a screen reader through AT-SPI or UI Automation) learns about the
// panels beyond Qt's defaults. Not part of the runtime's interface.
//
// The runtime marks the widgets it makes with what they are; an accessibility factory gives
// the marked ones their interface:
//  - a panel's window has the window role (a child panel, such as a popup, the dialog role)
//    and is named by its title;
//  - a group frame has the grouping role and is named by the heading inside it; the controls
//    inside are its children;
//  - a ring is named by its label or accessible name on every system (Qt's own combo box takes
//    the current item's text as the name on Linux, so a ring without a label was announced as
//    its value only); the current item's text is its value, and the current item's
//    description (a COM port's device and adapter) its description; the current item's text is
//    also its text, where Orca looks for the value of a closed combo box;
//  - a number the operator cannot change (the error number) is a read-only text field;
//  - an LED is a text "<label>: <state>" ("Fehler: aus"), its state ("ein"/"aus") also its
//    description: a screen reader says the state in every reading mode. (Qt's indicator role
//    reaches AT-SPI as "unknown".)
//  - the children of a panel's canvas and of a group are the widgets inside that are not
//    hidden, so that a text that shows nothing on screen says nothing to a screen reader, and
//    that are not labels whose text another object carries as its name (an LED's label, a
//    group's heading), as with Qt's own check boxes and group boxes;
//  - a message that needs the operator's notice is a notification (see announceText).
#pragma once

#include <QString>

class QComboBox;
class QWidget;

namespace ui::detail {

enum class AccessibleKind { PanelWindow, Canvas, Group, Ring, ReadOnlyNumber, Announcer };

// Marks a widget for the factory; installs the factory the first time. Mark a widget before it
// can raise an accessibility event (before its first item, text or value): Qt keeps the first
// interface it made for a widget. LEDs need no mark.
void markAccessible(QWidget *widget, AccessibleKind kind);

// Leaves a label out of its container's children for assistive technology, because another
// object carries its text as its name.
void leaveOutNamingLabel(QWidget *label);

// Keeps a ring's own description equal to its current item's description
// (Qt::AccessibleDescriptionRole), and tells assistive technology when it changes; the item
// the operator chooses with the keys in the closed ring is selected and said as the focus.
void followCurrentItem(QComboBox *ring);

// `text` as a screen reader should say it: without its line breaks, which it would read as
// pauses or even aloud. A word divided at a line end ("Karten-" and "nummer") is joined again;
// every other break becomes a space.
QString withoutLineBreaks(const QString &text);

// Tells assistive technology that `widget` now shows the message `text`, to be said at once
// although the focus is elsewhere; an empty text withdraws the last one. The window of the
// widget holds a notification without pixels of its own (object name kAnnouncerName), shown
// anew with each message and hidden while there is none; it says the text without its line
// breaks: a screen reader on AT-SPI speaks a
// notification as it appears (Qt 6.4 passes neither alerts nor announcements on to AT-SPI).
void announceText(QWidget *widget, const QString &text);
inline constexpr const char *kAnnouncerName = "announcer";

} // namespace ui::detail
