// Every example command line in the README and docs/, the manual pages (as man
// renders them, so that quoting lost in the rendering shows) and the
// desktop entry is one pelorin-cli understands.  Only parsed: running them
// all would take too long.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

#include "cli/options.h"

#ifndef PELORIN_SOURCE_DIR
#error "PELORIN_SOURCE_DIR must name the source folder"
#endif

namespace {

std::string sourceFile(const std::string& path) {
    std::ifstream in(std::string(PELORIN_SOURCE_DIR) + "/" + path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The words of a shell command line: blanks separate them, quotes and
// backslashes keep what they hold, '#' at a word's start begins a comment.
std::vector<std::string> shellWords(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quote != 0) {
            if (c == quote) {
                quote = 0;
            } else if (c == '\\' && quote == '"' && i + 1 < line.size()) {
                word += line[++i];
            } else {
                word += c;
            }
        } else if (c == '\'' || c == '"') {
            quote = c;
            inWord = true;
        } else if (c == '\\' && i + 1 < line.size()) {
            word += line[++i];
            inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else if (c == '#' && !inWord) {
            break;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

// The arguments of the first pelorin-cli the line starts, up to the end of
// its command; none (and false) when it starts none.
bool pelorinCliArguments(const std::string& line, std::vector<std::string>& args) {
    const std::vector<std::string> words = shellWords(line);
    std::size_t k = 0;
    while (k < words.size() && words[k] != "pelorin-cli" &&
           !(words[k].size() > 12 && words[k].compare(words[k].size() - 12, 12, "/pelorin-cli") == 0))
        ++k;
    if (k == words.size()) return false;
    args.clear();
    for (++k; k < words.size(); ++k) {
        const std::string& w = words[k];
        if (w == "|" || w == "&&" || w == "||" || w == ";" || w[0] == '>' || w[0] == '<' || w.rfind("2>", 0) == 0) break;
        if (w.back() == ';') {
            args.push_back(w.substr(0, w.size() - 1));
            break;
        }
        args.push_back(w);
    }
    return true;
}

void expectUnderstood(const std::string& where, const std::string& line, int& count) {
    std::vector<std::string> args;
    if (!pelorinCliArguments(line, args)) return;
    ++count;
    const CommandLine parsed = parseCommandLine(args);
    EXPECT_TRUE(parsed.ok) << where << ": " << line << "\n  " << parsed.error;
}

// A manual page as `man` shows it, wide enough for every line to stay whole.
std::string renderedManual(const std::string& page) {
    const std::string command = "MANWIDTH=1000 man --no-hyphenation --no-justification -l '" +
                                std::string(PELORIN_SOURCE_DIR) + "/packaging/man/" + page + "' 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    std::string text;
    if (pipe == nullptr) return text;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) text.append(chunk, n);
    pclose(pipe);
    return text;
}

// The examples of a Markdown file: each line of its code blocks, and each
// command with options quoted in its text.
int expectMarkdownUnderstood(const std::string& path) {
    const std::string markdown = sourceFile(path);
    EXPECT_FALSE(markdown.empty()) << path;
    int count = 0;
    bool inCode = false;
    std::istringstream lines(markdown);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("```", 0) == 0) {
            inCode = !inCode;
            continue;
        }
        if (inCode) {
            expectUnderstood(path, line, count);
            continue;
        }
        // In the text, a command with options is an example; a bare name
        // (`pelorin-cli check`) names the command.
        static const std::regex span("`([^`]* -[^`]*)`");
        for (std::sregex_iterator m(line.begin(), line.end(), span), end; m != end; ++m)
            expectUnderstood(path, (*m)[1].str(), count);
    }
    return count;
}

TEST(Examples, EveryExampleInTheReadmeAndTheDocsIsUnderstood) {
    EXPECT_GT(expectMarkdownUnderstood("README.md"), 10);
    int docs = 0;
    for (const char* path : {"docs/pelorin-cli.md", "docs/testing.md", "docs/files-and-stores.md", "docs/packaging.md",
                             "docs/arm64.md", "docs/windows.md"})
        docs += expectMarkdownUnderstood(path);
    EXPECT_GT(docs, 20);
}

TEST(Examples, EveryExampleInTheManualPagesIsUnderstoodAsManShowsIt) {
    int count = 0;
    for (const char* page : {"pelorin-cli.1", "pelorin.1"}) {
        const std::string text = renderedManual(page);
        ASSERT_FALSE(text.empty()) << page;
        const std::size_t examples = text.find("\nEXAMPLES\n");
        if (examples == std::string::npos) continue;
        std::istringstream lines(text.substr(examples));
        for (std::string line; std::getline(lines, line);)
            if (line.rfind("       pelorin", 0) == 0) expectUnderstood(page, line, count);
    }
    EXPECT_GT(count, 10);
}

TEST(Examples, TheDesktopActionsCommandIsUnderstood) {
    const std::string entry = sourceFile("packaging/org.pelorin.Benchmark.desktop");
    const std::size_t action = entry.find("[Desktop Action keep-results]");
    ASSERT_NE(action, std::string::npos);
    const std::size_t exec = entry.find("\nExec=", action);
    ASSERT_NE(exec, std::string::npos);
    std::string value = entry.substr(exec + 6, entry.find('\n', exec + 6) - exec - 6);
    // The entry's own escapes first ("\\" for a backslash), then the shell's.
    value = std::regex_replace(value, std::regex(R"(\\\\)"), "\\");
    const std::vector<std::string> words = shellWords(value);
    ASSERT_EQ(words.size(), 3u) << value;
    EXPECT_EQ(words[0], "sh");
    int count = 0;
    expectUnderstood("the desktop action", words[2], count);
    EXPECT_EQ(count, 1) << words[2];
}

}  // namespace
