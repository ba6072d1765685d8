// trz4ctl: the card link of trz4-Steuerung from the command line.
#include "tools/trz4ctl/trz4ctl.h"

#include "platform/process.h"
#include "platform/rs232.h"

#include <iostream>

int main(int argc, char **argv) {
    useUtf8Console();
    // A run stopped by kill, a closed terminal or Ctrl-C gives its port back as it found it.
    releasePortsOnTerminationSignals();
    return runTrz4ctl(programArguments(argc, argv), std::cout, std::cerr);
}
