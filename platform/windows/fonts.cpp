#include "platform/win32.h"

namespace {

int CALLBACK noteFace(const LOGFONTA* /*font*/, const TEXTMETRICA* /*metrics*/, DWORD /*type*/, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;  // one is enough
}

}  // namespace

// The font mapper gives CreateFontA's "ＭＳ ゴシック" with SHIFTJIS_CHARSET a
// face of that character set when one is installed; without any, it falls
// back to a face that draws no Japanese character.
bool japaneseFontAvailable() {
    LOGFONTA wanted{};
    wanted.lfCharSet = SHIFTJIS_CHARSET;
    wanted.lfFaceName[0] = '\0';  // every family
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &wanted, noteFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

const FontAdvice kJapaneseFontAdvice = {
    "a face with the Shift_JIS character set, such as MS Gothic",
    "On Windows 10 and 11, add \"Japanese Supplemental Fonts\" under Settings > Apps > Optional features",
};
