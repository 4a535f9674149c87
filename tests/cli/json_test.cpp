#include <gtest/gtest.h>

#include "cli/json.h"

namespace {

TEST(Json, WrittenDocumentsReadBackUnchanged) {
    Json doc = Json::object();
    doc.set("text", Json::of("quote \" backslash \\ tab \t newline \n bell \x07 \xE3\x81\x82"));
    Json numbers = Json::array();
    for (const double n : {0.0, -1.5, 52798.950208, 806451612.0, 1e-9, 0.1 + 0.2}) numbers.add(Json::of(n));
    doc.set("numbers", numbers);
    Json flags = Json::array();
    flags.add(Json::of(true));
    flags.add(Json::of(false));
    flags.add(Json::null());
    doc.set("flags", flags);
    doc.set("nested", Json::object()).set("empty", Json::object());

    Json back;
    std::string error;
    ASSERT_TRUE(parseJson(writeJson(doc), back, error)) << error;
    EXPECT_EQ(back.find("text")->text, doc.find("text")->text);
    ASSERT_EQ(back.find("numbers")->items.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(back.find("numbers")->items[i].number, doc.find("numbers")->items[i].number);  // exact
    EXPECT_TRUE(back.find("flags")->items[0].boolean);
    EXPECT_EQ(back.find("flags")->items[2].type, Json::Type::Null);
    EXPECT_TRUE(back.find("nested")->find("empty")->isObject());
}

TEST(Json, NonFiniteNumbersBecomeNull) {
    EXPECT_EQ(Json::of(1.0 / 0.0 * 0.0).type, Json::Type::Null);
}

TEST(Json, EscapesAndSurrogatesDecode) {
    Json v;
    std::string error;
    ASSERT_TRUE(parseJson(R"("a\u00e9\ud83d\ude00\/")", v, error)) << error;
    EXPECT_EQ(v.text, "a\xC3\xA9\xF0\x9F\x98\x80/");
}

TEST(Json, MalformedTextIsRefusedWithItsPlace) {
    for (const char* bad : {"", "{", "[1,]", "{\"a\" 1}", "{\"a\":1,}", "tru", "01x", "\"open", "[1] 2", "nan",
                            "{\"a\":\"\x01\"}", "\"\\q\""}) {
        Json v;
        std::string error;
        EXPECT_FALSE(parseJson(bad, v, error)) << bad;
        EXPECT_NE(error.find("at byte"), std::string::npos) << bad;
    }
}

TEST(Json, DeepNestingIsRefusedNotOverflowed) {
    Json v;
    std::string error;
    EXPECT_FALSE(parseJson(std::string(100000, '['), v, error));
}

}  // namespace
