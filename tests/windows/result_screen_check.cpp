// Checks a screenshot of the result screen: the caption, the nineteen
// figure lines, the reference machine's block with its processor, this
// machine's block with the brand string CPUID gives here, and the prompt,
// each where the screen draws it.  The figures themselves are not judged: under Wine they measure
// Wine.  Text is found by its ink: white on the black frame.
// Usage: result_screen_check SCREENSHOT.png   (exit 0 when it is the screen)
#include <cstdio>
#include <cstring>
#include <string>

#include "app/window_proc.h"
#include "render/picture.h"
#include "stages/result_screen.h"

namespace {

Picture shot{};

bool ink(int x, int y) {
    const std::uint32_t p = shot.pixels[y * shot.width + x];
    return (p & 0xFF) > 96 || (p >> 8 & 0xFF) > 96 || (p >> 16 & 0xFF) > 96;
}

// The first and last columns with ink in the 16-row text line at (x, y)
// up to column `right`; -1, -1 when there is none.
std::pair<int, int> inkExtent(int x, int y, int right) {
    int first = -1, last = -1;
    for (int c = x; c < right; ++c)
        for (int r = y; r < y + 16; ++r)
            if (ink(c, r)) {
                if (first < 0) first = c;
                last = c;
                break;
            }
    return {first, last};
}

int failures = 0;

// A line of `length` characters of 8 pixels at (x, y): its ink starts in
// its first character cells and ends in its last.
void expectLine(const char* what, int x, int y, int right, int minLength, int maxLength) {
    const auto [first, last] = inkExtent(x, y, right);
    const bool ok = first >= x && first < x + 24 && last >= x + 8 * (minLength - 1) && last < x + 8 * maxLength;
    std::printf("%s %s at (%d, %d): ink from %d to %d, a line of %d to %d characters ends at %d to %d\n",
                ok ? "ok:  " : "FAIL:", what, x, y, first, last, minLength, maxLength, x + 8 * (minLength - 1),
                x + 8 * maxLength - 1);
    failures += !ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: result_screen_check SCREENSHOT.png\n");
        return 2;
    }
    shot.load(argv[1]);
    if (shot.width != 1280 || shot.height != 720) {
        std::printf("FAIL: the screenshot is %d x %d, not 1280 x 720 (%s)\n", shot.width, shot.height, pngError);
        return 1;
    }
    expectLine("caption", 16, 32, 600, 12, 12);
    // "Calc ADD = 0.000000 times/S (0.000000％)" is the shortest figure line.
    for (int line = 0; line < kFrameRateLines + kFigureLines; ++line) {
        const std::string name = "figure line " + std::to_string(line + 1);
        expectLine(name.c_str(), 48, 64 + 32 * line, 640, 30, 74);
    }
    // Full-width brackets take two cells; their ink may stop in the first.
    expectLine("reference heading", 640, 64, 1280, 35, 37);
    const int reference = static_cast<int>(std::strlen(referenceProcessor));
    expectLine("reference processor", 640, 96, 1280, reference, reference);
    expectLine("reference graphics adapter", 640, 128, 1280, 20, 20);  // "VGA : GeForce GT 710"
    expectLine("this machine's heading", 640, 160, 1280, 17, 19);
    char brand[49];
    readBrandString(brand);
    // Blanks before and after it leave no ink.
    int leading = 0;
    while (brand[leading] == ' ') ++leading;
    int shown = static_cast<int>(std::strlen(brand));
    while (shown > leading && brand[shown - 1] == ' ') --shown;
    std::printf("brand string here: \"%s\"\n", brand);
    expectLine("this machine's processor", 640 + 8 * leading, 192, 1280, shown - leading, shown - leading);
    expectLine("prompt", 1032, 672, 1280, 27, 27);
    std::printf("%s\n", failures == 0 ? "the result screen is complete" : "the result screen is not as drawn");
    return failures == 0 ? 0 : 1;
}
