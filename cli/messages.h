// The lines pelorin-cli prints about itself on standard error.  They quote
// file names, text from results files and stores, and reasons a parser or
// SQLite gave, so each goes through the terminal sanitiser and stays one
// line.
#pragma once

#include <string>

#include "cli/runner.h"

// "pelorin-cli: MESSAGE"
void printError(const CliStreams& streams, const std::string& message);
// "pelorin-cli: warning: MESSAGE"
void printWarning(const CliStreams& streams, const std::string& message);
// printError, then the exit status of bad usage (2).
int usageError(const CliStreams& streams, const std::string& message);
