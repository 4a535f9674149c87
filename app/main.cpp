// What the runtime's start-up code does: hand wWinMain the module (with the
// resources linked into the executable) and the show command.  Arguments are
// ignored: the program has no options.
#include "app/main_window.h"
#include "resources/resources.h"

int main() {
    HINSTANCE instance = CreateModuleHandle(moduleResources, moduleResourceCount);
    return wWinMain(instance, nullptr, nullptr, SW_SHOWDEFAULT);
}
