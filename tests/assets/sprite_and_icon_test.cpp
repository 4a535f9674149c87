#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>
#include <string>

#include "assets/png_decode.h"
#include "assets/title_layout.h"
#include "resources/resources.h"

namespace {
const ResourceEntry* findResource(int id, int type) {
    for (std::size_t i = 0; i < moduleResourceCount; ++i)
        if (moduleResources[i].id == id && moduleResources[i].type == type) return &moduleResources[i];
    return nullptr;
}

std::string toCodePage932(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    std::string in = utf8, out(utf8.size() * 2, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1)) return {};
    out.resize(out.size() - outLeft);
    return out;
}
}  // namespace

// The sprite blitters draw every pixel whose alpha is not 0 as opaque, so the
// sprite the stages use must be cut out with hard edges.
TEST(SpriteSheet, FirstCellIsAHardEdgedSprite) {
    DecodedPng sheet = decodePngFile(assetPath("sprite.png"));
    ASSERT_TRUE(sheet.ok());
    ASSERT_GE(sheet.width, kSpriteSize);
    ASSERT_GE(sheet.height, kSpriteSize);

    int clearOnBorder = 0, halfTransparent = 0;
    for (int i = 0; i < kSpriteSize; ++i) {
        clearOnBorder += sheet.alpha(i, 0) == 0;
        clearOnBorder += sheet.alpha(i, kSpriteSize - 1) == 0;
        clearOnBorder += sheet.alpha(0, i) == 0;
        clearOnBorder += sheet.alpha(kSpriteSize - 1, i) == 0;
    }
    for (int y = 0; y < kSpriteSize; ++y)
        for (int x = 0; x < kSpriteSize; ++x) halfTransparent += sheet.alpha(x, y) != 0 && sheet.alpha(x, y) != 255;
    EXPECT_GT(clearOnBorder, 0);
    EXPECT_EQ(halfTransparent, 0);
    for (int y = 12; y < 20; ++y)
        for (int x = 12; x < 20; ++x) EXPECT_EQ(sheet.alpha(x, y), 255) << x << "," << y;
}

TEST(Icon, IsAnEmbedded256PixelPngWithClearCorners) {
    const ResourceEntry* icon = findResource(102, RT_ICON_PNG);
    ASSERT_NE(icon, nullptr);
    DecodedPng png = decodePngMemory(icon->data, icon->size);
    ASSERT_TRUE(png.ok());
    EXPECT_EQ(png.width, 256);
    EXPECT_EQ(png.height, 256);
    EXPECT_EQ(png.alpha(0, 0), 0);
    EXPECT_EQ(png.alpha(255, 0), 0);
    EXPECT_EQ(png.alpha(0, 255), 0);
    EXPECT_EQ(png.alpha(255, 255), 0);
    EXPECT_EQ(png.alpha(128, 128), 255);
}

TEST(Menu, HoldsTheExitItemInCodePage932) {
    const ResourceEntry* entry = findResource(102, RT_MENU_DATA);
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(entry->size, sizeof(MenuResource));
    const auto* menu = reinterpret_cast<const MenuResource*>(entry->data);
    std::string popup = toCodePage932("ファイル(&F)"), item = toCodePage932("終了する(&X)");
    ASSERT_FALSE(popup.empty());
    EXPECT_STREQ(menu->popupText, popup.c_str());
    EXPECT_STREQ(menu->itemText, item.c_str());
    EXPECT_EQ(menu->itemCommand, 105);
    EXPECT_EQ(IDM_EXIT, 105);
}
