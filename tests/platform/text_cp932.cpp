#include <gtest/gtest.h>

#include "platform/linux/cp932.h"
#include "tests/platform/text_surface.h"

TEST(Cp932, DecodesTheProgramsOwnCharacters) {
    EXPECT_EQ(cp932::toUnicode(0x8193), U'％');
    EXPECT_EQ(cp932::toUnicode(0x8179), U'【');
    EXPECT_EQ(cp932::toUnicode(0x817A), U'】');
    const char32_t kana[] = {U'あ', U'い', U'う', U'え', U'お'};
    for (unsigned i = 0; i < 5; ++i) EXPECT_EQ(cp932::toUnicode(0x82A0 + 2 * i), kana[i]) << i;
    EXPECT_EQ(cp932::toUtf8(kGothicFace, sizeof kGothicFace - 1), "ＭＳ ゴシック");
}

TEST(Cp932, KeepsAsciiAndTheWindowsExtensions) {
    EXPECT_EQ(cp932::toUnicode('\\'), U'\\');
    EXPECT_EQ(cp932::toUnicode('~'), U'~');
    EXPECT_EQ(cp932::toUnicode('A'), U'A');
    EXPECT_EQ(cp932::toUnicode(0xB1), U'ｱ');     // half-width katakana is a single byte
    EXPECT_EQ(cp932::toUnicode(0x8740), U'①');  // NEC row 13
    EXPECT_EQ(cp932::toUnicode(0x815F), U'＼');
}

TEST(Cp932, UndefinedCodesAreNoCharacter) {
    EXPECT_EQ(cp932::toUnicode(0x82FF), 0u);
    EXPECT_EQ(cp932::toUnicode(0x4142), 0u);  // 'A' is no lead byte
    EXPECT_EQ(cp932::toUnicode(0x82A0), U'あ');  // a miss does not disturb later lookups
}

TEST(Cp932, SlotsAreDistinctAndInRange) {
    std::vector<bool> used(cp932::kCodeSlots, false);
    auto take = [&](unsigned code) {
        const int s = cp932::slotOf(code);
        ASSERT_GE(s, 0);
        ASSERT_LT(s, cp932::kCodeSlots);
        EXPECT_FALSE(used[static_cast<std::size_t>(s)]) << std::hex << code;
        used[static_cast<std::size_t>(s)] = true;
    };
    for (unsigned b = 0; b < 256; ++b) take(b);
    for (unsigned lead = 0; lead < 256; ++lead) {
        if (!cp932::isLeadByte(static_cast<std::uint8_t>(lead))) continue;
        for (unsigned trail = 0; trail < 256; ++trail) take(lead << 8 | trail);
    }
}

TEST(Cp932, Utf8OfMixedText) {
    const char line[] = "(100.000000\x81\x93)\\";
    EXPECT_EQ(cp932::toUtf8(line, sizeof line - 1), "(100.000000％)\\");
    const char dangling[] = "A\x82";
    EXPECT_EQ(cp932::toUtf8(dangling, 2), "A");
}
