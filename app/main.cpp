// The process start-up of the runtime around the program's main function.
#include "app/trz4Steuerung_Main.h"
#include "ui/uiruntime.h"

int main(int argc, char *argv[]) {
    return runUserInterfaceProgram(argc, argv, trz4SteuerungMain);
}
