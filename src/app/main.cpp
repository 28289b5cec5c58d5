// Start-up: the command line decides between the windows and a run without
// them (app/CommandLine).
#include "app/CommandLine.h"

int main(int argc, char** argv) {
    return RunProgram(argc, argv);
}
