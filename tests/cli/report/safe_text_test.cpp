// Stored text on its way to a terminal, a CSV cell, a Markdown cell and
// HTML: whatever it holds, it arrives as text.
#include <gtest/gtest.h>

#include "cli/report/safe_text.h"

namespace {

TEST(SafeText, TerminalShowsEveryControlVisiblyOnOneLine) {
    struct Case {
        std::string in, out;
    };
    const Case cases[] = {
        {"plain \xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80", "plain \xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80"},
        {"a\x1b[31mred\x1b]0;title\x07", "a\\x1b[31mred\\x1b]0;title\\x07"},
        {"line\r\nnext\tcol\bx", "line\\x0d\\x0anext\\x09col\\x08x"},
        {std::string("nul\0del\x7f", 8), "nul\\x00del\\x7f"},
        {"c1 \xC2\x9B" "31m \xC2\x85", "c1 \\u009b31m \\u0085"},                // CSI and NEL as characters
        {"rlo \xE2\x80\xAEtxt.exe \xE2\x80\xA8 \xE2\x81\xA6", "rlo \\u202etxt.exe \\u2028 \\u2066"},
        {"stray \x9B" "31m", "stray \xEF\xBF\xBD" "31m"},                        // a lone byte a terminal may take for CSI
        {"overlong \xC0\xAF, surrogate \xED\xA0\x80, cut \xE2\x82", "overlong \xEF\xBF\xBD\xEF\xBF\xBD, surrogate "
                                                                      "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD, cut \xEF\xBF\xBD\xEF\xBF\xBD"},
        {"beyond \xF4\x90\x80\x80 \xFF", "beyond \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD \xEF\xBF\xBD"},
    };
    for (const Case& c : cases) EXPECT_EQ(terminalText(c.in), c.out) << c.in;

    // Columns as a terminal shows them: wide characters take two, marks none.
    EXPECT_EQ(terminalColumns("e\xCC\x81t\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80"), 11u);
    EXPECT_EQ(fittedText("abcdefgh", 8), "abcdefgh");
    EXPECT_EQ(fittedText("abcdefghi", 8), "abcdefg\xE2\x80\xA6");
    EXPECT_EQ(fittedText("abc", 5), "abc  ");
    EXPECT_EQ(fittedText("\xE6\x97\xA5\xE6\x9C\xAC", 5), "\xE6\x97\xA5\xE6\x9C\xAC ");  // columns, not bytes
    EXPECT_EQ(fittedText("\xE6\x97\xA5\xE6\x9C\xAC", 3), "\xE6\x97\xA5\xE2\x80\xA6");
    // Never half a character, never past the width: a wide one that
    // would stick out leaves a blank instead.
    EXPECT_EQ(fittedText("abcd\xE6\x97\xA5\xE6\x9C\xAC\xE6\x97\xA5\xE6\x9C\xAC", 8), "abcd\xE6\x97\xA5\xE2\x80\xA6 ");
    EXPECT_EQ(cutText("abcdefghi", 4), "abc\xE2\x80\xA6");
}

TEST(SafeText, CsvFieldsStayOneFieldAndNeverAFormula) {
    EXPECT_EQ(csvText("Intel(R) Core(TM) i5"), "Intel(R) Core(TM) i5");
    EXPECT_EQ(csvText("a,b"), "\"a,b\"");
    EXPECT_EQ(csvText("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(csvText("two\nlines\r"), "\"two\nlines\r\"");
    EXPECT_EQ(csvText("=cmd|' /C calc'!A0"), "'=cmd|' /C calc'!A0");
    EXPECT_EQ(csvText("=HYPERLINK(\"http://x\",\"y\")"), "\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\"");
    for (const char* formula : {"+1", "-1", "@SUM(A1)", "\tx"}) EXPECT_EQ(csvText(formula), std::string("'") + formula);
    EXPECT_EQ(csvText("\r=1"), "\"'\r=1\"");
    EXPECT_EQ(csvText(""), "");
}

TEST(SafeText, MarkdownCellIsOneCellOfPlainText) {
    EXPECT_EQ(markdownText("Calc ADD"), "Calc ADD");
    EXPECT_EQ(markdownText("a|b\\c"), "a\\|b\\\\c");
    EXPECT_EQ(markdownText("row\n| forged | row |"), "row\\\\x0a\\| forged \\| row \\|");
    EXPECT_EQ(markdownText("<img src=x onerror=alert(1)> & co"), "&lt;img src=x onerror=alert(1)&gt; &amp; co");
    EXPECT_EQ(markdownText("[click](javascript:x) *b* _i_ `c` ~s~"),
              "\\[click\\](javascript:x) \\*b\\* \\_i\\_ \\`c\\` \\~s\\~");
}

TEST(SafeText, HtmlEscapesTextAndAttributeValues) {
    EXPECT_EQ(htmlText("<script>alert('x')</script> & \"q\""),
              "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;q&quot;");
}

}  // namespace
