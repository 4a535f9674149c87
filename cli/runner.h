// pelorin-cli from its arguments to its exit status: checks the options,
// runs the real program's frame loop through the selected stages, and
// reports.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

struct CliStreams {
    std::FILE* out = stdout;        // the report (or the document an option writes to '-')
    std::FILE* err = stderr;        // errors, warnings and progress
    bool errIsTerminal = false;     // draw a live status line on err
    int in = -1;                    // standard input, where a --window run hears Enter; -1 for none
    bool inIsTerminal = false;      // a person may press Enter there
};

// Runs after the runner's own work before every frame; a test moves its
// virtual clock here.  Real runs pass none.
using FramePacer = std::function<void()>;

// Exit status: 0 after a run, 1 when the run could not be completed or a
// file or the store could not be written, 2 for bad usage (found before
// anything is measured) or what is to be read that cannot be; with check
// or --fail-on-regression also 3 when a figure is worse (before 1) and 4
// when not one figure could be judged.
int runCli(const std::vector<std::string>& args, const CliStreams& streams, const FramePacer& pacer = {});
