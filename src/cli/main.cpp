// korvel-cli: the oscilloscope's capture, files, measurements and pictures
// without its window.
#include "cli/CliMain.h"

int main(int argc, char* argv[]) {
    return korvel::cli::RunCli(argc, argv);
}
