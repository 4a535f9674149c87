#include "app/font_check.h"

#include "app/start_refusal.h"
#include "platform/win32.h"

std::string japaneseFontProblem() {
    if (japaneseFontAvailable()) return "";
    return std::string("No Japanese font was found (") + kJapaneseFontAdvice.missing +
           "), so Font Speed 1 and 2 would draw no text. " + kJapaneseFontAdvice.remedy;
}

void requireJapaneseFont() {
    const std::string problem = japaneseFontProblem();
    if (!problem.empty()) refuseToStart(problem);
}
