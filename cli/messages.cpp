#include "cli/messages.h"

#include <cstdio>

#include "cli/report/safe_text.h"

void printError(const CliStreams& streams, const std::string& message) {
    std::fprintf(streams.err, "pelorin-cli: %s\n", terminalText(message).c_str());
}

void printWarning(const CliStreams& streams, const std::string& message) {
    std::fprintf(streams.err, "pelorin-cli: warning: %s\n", terminalText(message).c_str());
}

int usageError(const CliStreams& streams, const std::string& message) {
    printError(streams, message);
    return 2;
}
