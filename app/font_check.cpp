#include "app/font_check.h"

#include "app/start_refusal.h"
#include "platform/win32.h"

std::string japaneseFontProblem() {
    if (japaneseFontAvailable()) return "";
    return "No Japanese font was found (a face with kana, such as IPAGothic), so Font Speed 1 and 2 would draw "
           "no text. Install the Debian package fonts-ipafont-gothic: sudo apt-get install fonts-ipafont-gothic";
}

void requireJapaneseFont() {
    const std::string problem = japaneseFontProblem();
    if (!problem.empty()) refuseToStart(problem);
}
