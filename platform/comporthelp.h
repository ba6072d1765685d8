// The help that the "?" beside the COM-port ring shows: how the card is connected and how its
// COM port is found, on the system the program was built for.
#pragma once

#include <functional>
#include <string>

// The help text, lines ended by line feeds. Its German wording is marked for the translation
// files under the context "ComHilfe"; `translate` turns it into the operator's language (the
// program passes the lookup, trText of text/texts.h; a function that answers the text unchanged
// keeps German). On Linux it names the device files and their COM numbers, the
// field "COM-Port (USB)", "trz4ctl ports", the port map (the directory in effect) and the
// group "dialout"; on Windows it is the text about the COM port that Windows assigns and the
// USB-to-RS232 driver.
std::string
comPortHelpText(const std::function<std::string(const char *context, const char *text)> &translate);
