// The benchmark without interaction: see runner.h and --help.
#include <unistd.h>

#include <string>
#include <vector>

#include "cli/output_writing.h"
#include "cli/runner.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    CliStreams streams;
    streams.out = openStandardOutput();
    streams.errIsTerminal = isatty(STDERR_FILENO) != 0;
    streams.in = STDIN_FILENO;
    streams.inIsTerminal = isatty(STDIN_FILENO) != 0;
    return finishStandardOutput(runCli(args, streams), streams);
}
