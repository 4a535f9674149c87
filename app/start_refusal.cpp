#include "app/start_refusal.h"

#include <cstdlib>

#include "platform/win32.h"

void refuseToStart(const std::string& text) {
    MessageBoxA(nullptr, text.c_str(), "Pelorin Benchmark", MB_OK | MB_ICONERROR);
    std::exit(2);
}
