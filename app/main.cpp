// The process entry: the command line, then the runtime's start-up around the program.
#include "app/commandline.h"

int main(int argc, char *argv[]) {
    return runTrz4Steuerung(argc, argv);
}
