#include "cli/command_words.h"

#include <algorithm>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

const OptionWord* findOption(const std::vector<OptionWord>& options, const std::string& name) {
    for (const OptionWord& o : options)
        if (o.name == name) return &o;
    return nullptr;
}

// Edits that turn one word into the other: insertions, deletions,
// substitutions and swaps of two neighbours ("histroy").
std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

}  // namespace

bool looksLikeOption(const std::string& word) {
    if (word.size() < 2 || word[0] != '-' || word == "--") return false;
    return !isDigit(word[1]);
}

std::string valueWordsProblem(const std::vector<std::string>& words, const std::vector<OptionWord>& options) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--") return "";
        if (!looksLikeOption(word)) continue;
        const std::size_t eq = word.find('=');
        if (word.rfind("--", 0) == 0 && eq != std::string::npos) {
            const std::string name = word.substr(0, eq);
            const OptionWord* o = findOption(options, name);
            if (o != nullptr && !o->takesValue) return "option " + name + " takes no value";
            if (o != nullptr && eq + 1 == word.size()) return "option " + name + " needs a value";
            continue;
        }
        const OptionWord* o = findOption(options, word);
        if (o == nullptr || !o->takesValue) continue;
        if (i + 1 == words.size()) return "option " + word + " needs a value";
        const std::string& next = words[i + 1];
        if (looksLikeOption(next) || next == "--")
            return "option " + word + " needs a value, and '" + next + "' is an option (write " + word +
                   "=VALUE for a value that starts with '-')";
        ++i;
    }
    return "";
}

NumberReading readWholeNumber(const std::string& text, long long low, long long high, long long& out) {
    const bool negative = !text.empty() && text[0] == '-';
    const std::string digits = negative ? text.substr(1) : text;
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), isDigit)) return NumberReading::NotANumber;
    if (negative) return NumberReading::OutOfRange;  // no option here takes one
    // Any number of more digits than this is beyond every range asked for.
    const std::size_t first = std::min(digits.find_first_not_of('0'), digits.size());
    if (digits.size() - first > 15) return NumberReading::OutOfRange;
    long long n = 0;
    for (std::size_t k = first; k < digits.size(); ++k) n = n * 10 + (digits[k] - '0');
    if (n < low || n > high) return NumberReading::OutOfRange;
    out = n;
    return NumberReading::Ok;
}

NumberReading readDecimal(const std::string& text, double low, double high, double& out) {
    const bool negative = !text.empty() && text[0] == '-';
    const std::string digits = negative ? text.substr(1) : text;
    if (digits.empty() || digits.front() == '.' || digits.back() == '.') return NumberReading::NotANumber;
    if (std::count(digits.begin(), digits.end(), '.') > 1) return NumberReading::NotANumber;
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return isDigit(c) || c == '.'; }))
        return NumberReading::NotANumber;
    if (digits.size() > 16) return NumberReading::OutOfRange;
    // Read digit by digit rather than with strtod, whose decimal point
    // follows the locale.
    double value = 0.0;
    double divisor = 1.0;  // a power of ten, exact for the digits allowed
    bool afterPoint = false;
    for (const char c : digits) {
        if (c == '.') {
            afterPoint = true;
            continue;
        }
        if (afterPoint) divisor *= 10.0;
        value = value * 10.0 + (c - '0');
    }
    value /= divisor;  // one rounding: "0.01" is the double nearest 0.01
    if (negative) return NumberReading::OutOfRange;  // no option here takes one
    if (value < low || value > high) return NumberReading::OutOfRange;
    out = value;
    return NumberReading::Ok;
}

std::string numberProblem(NumberReading reading, const std::string& option, const std::string& text,
                          const std::string& kind, const std::string& range) {
    switch (reading) {
        case NumberReading::Ok: return "";
        case NumberReading::NotANumber: return option + ": '" + text + "' is not " + kind + " (" + range + ")";
        case NumberReading::OutOfRange: break;
    }
    return option + ": '" + text + "' is out of range (" + range + ")";
}

std::string nearestWord(const std::string& word, const std::vector<std::string>& known) {
    // The leading dashes are the same for every option; only the name counts.
    const auto bare = [](const std::string& w) { return w.substr(std::min(w.find_first_not_of('-'), w.size())); };
    const std::string typed = bare(word);
    if (typed.empty()) return "";
    std::string best;
    std::size_t bestDistance = 0;
    for (const std::string& candidate : known) {
        const std::size_t distance = editDistance(typed, bare(candidate));
        if (best.empty() || distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    // One slip in a short name, about one in three in a longer one.
    const std::size_t allowed = std::max<std::size_t>(1, typed.size() / 3);
    return bestDistance <= allowed ? best : "";
}
