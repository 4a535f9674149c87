// The words of each command's --help around its options.
#pragma once

#include <string>
#include <vector>

#include "cli/options.h"

// One line of the option list: "-b N, --stage N" and what it does.
struct HelpOption {
    std::string names;
    std::string text;
};

// The whole --help of `command`: its usage, what it does, `options` in
// two columns wrapped to 80, and what follows them (the exit statuses; for
// a run, the other commands too).
std::string commandHelp(Command command, const std::vector<HelpOption>& options);
