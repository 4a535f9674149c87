// What the program takes from Windows's own C runtime and from the real
// API: the rand sequence of Stages 1, 2, 5 and 6, the result screen's lines
// as the runtime's formatter writes them, the Japanese font, and the
// folders the pictures are looked for in.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/picture_folders.h"
#include "app/main_window.h"
#include "platform/win32.h"
#include "stages/result_screen.h"
#include "stages/stage_state.h"

namespace {

TEST(WindowsRuntime, RandIsTheRuntimesSequence) {
    // The same generator as the Linux build's: x = x * 214013 + 2531011,
    // (x >> 16) & 0x7FFF, from 1 when never seeded.
    crt_srand(1);
    EXPECT_EQ(crt_rand(), 41);
    EXPECT_EQ(crt_rand(), 18467);
    EXPECT_EQ(crt_rand(), 6334);
    crt_srand(1);
    std::uint32_t x = 1;
    for (int i = 0; i < 100000; ++i) {
        x = x * 214013u + 2531011u;
        ASSERT_EQ(crt_rand(), static_cast<int>((x >> 16) & 0x7FFF)) << "call " << i;
    }
}

TEST(WindowsRuntime, ResultLinesAreTheRuntimesBytes) {
    DrawSpriteSpeed = 167;
    _DrawSpriteSpeed = 1.0;
    EXPECT_STREQ(formatFrameRateLine(4), "Draw Sprite Speed = 167 fps (100.000000\x81\x93)");
    DrawSpriteAlphaSpeed = 121;
    _DrawSpriteAlphaSpeed = 1.0;
    const char* longest = formatFrameRateLine(5);
    EXPECT_STREQ(longest, "Draw Sprite Speed with Alpha = 121 fps (100.000000\x81\x93)");
    EXPECT_EQ(std::strlen(longest), 53u);
    read1 = 52798.950208;
    _read1 = 1.0;
    EXPECT_STREQ(formatFigureLine(0), "Read Memory  = 52798.950208 MB/S (100.000000\x81\x93)");
    calc_div = 123456789.0;
    _calc_div = 0.5;
    EXPECT_STREQ(formatFigureLine(12), "Calc DIV = 123456789.000000 times/S (50.000000\x81\x93)");
    FastBltSpeed = 663;
    _FastBltSpeed = 663 / 190.0;
    EXPECT_STREQ(formatFrameRateLine(2), "CG Draw Speed (BitBlt)= 663 fps (348.947368\x81\x93)");
}

TEST(WindowsRuntime, FormatterCutsAtItsBufferAndTerminates) {
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    crt_snprintf(buffer, sizeof buffer, "%s", "0123456789");
    EXPECT_STREQ(buffer, "0123456");
    crt_snprintf(buffer, sizeof buffer, "%d", 1234567);
    EXPECT_STREQ(buffer, "1234567");
}

TEST(WindowsFonts, AShiftJisFaceIsFoundAndChosenForTheProgramsFont) {
    ASSERT_TRUE(japaneseFontAvailable());
    HFONT font = CreateFontA(16, 8, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, kFaceName);
    ASSERT_NE(font, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    ASSERT_TRUE(GetTextMetricsA(dc, &metrics));
    EXPECT_EQ(metrics.tmCharSet, SHIFTJIS_CHARSET);
    // A double-byte character is one glyph, twice as wide as a half-width one.
    SIZE narrow{}, wide{};
    GetTextExtentPoint32A(dc, "A", 1, &narrow);
    GetTextExtentPoint32A(dc, "\x82\xA0", 2, &wide);
    EXPECT_EQ(wide.cx, 2 * narrow.cx);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(font);
}

TEST(WindowsFolders, PicturesAreLookedForInTheWorkingDirectoryThenBesideTheProgram) {
    const std::vector<PictureFolder> folders = pictureFolders();
    ASSERT_GE(folders.size(), 1u);
    EXPECT_EQ(folders[0].path, workingFolder());
    EXPECT_STREQ(folders[0].role, "the working directory");
    // The tests run in the build folder, the test program lies below it; its
    // data folder is its own folder, so it is listed once.
    ASSERT_EQ(folders.size(), 2u) << folders.back().path;
    EXPECT_EQ(folders[1].path, executableFolder());
    EXPECT_STREQ(folders[1].role, "the program's folder");
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(executableFolder()) / "test_windows.exe"));
}

}  // namespace
