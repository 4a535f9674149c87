#include "app/start_refusal.h"

#include <cstdio>
#include <cstdlib>

#include "platform/win32.h"

void refuseToStart(const std::string& text) {
#if defined(_WIN32)
    // Windows's message box says it nowhere else: a console or log that
    // started the program gets the line too (our Linux box writes it itself).
    std::fprintf(stderr, "pelorin: %s\n", text.c_str());
    std::fflush(stderr);
#endif
    MessageBoxA(nullptr, text.c_str(), "Pelorin Benchmark", MB_OK | MB_ICONERROR);
    std::exit(2);
}
