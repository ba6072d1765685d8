// trz4ctl: the card link of trz4-Steuerung from the command line.
#include "tools/trz4ctl/trz4ctl.h"

#include <iostream>

int main(int argc, char **argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return runTrz4ctl(args, std::cout, std::cerr);
}
