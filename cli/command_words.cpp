#include "cli/command_words.h"

CommandWords splitWords(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions) {
    CommandWords out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        if (name.empty() || name[0] != '-') {
            out.words.push_back(name);
            continue;
        }
        std::string value;
        bool hasValue = false;
        if (const std::size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        bool known = false;
        for (const std::string& v : valueOptions) known = known || v == name;
        if (!known) {
            out.error = "unknown option '" + args[i] + "' (see --help)";
            return out;
        }
        if (!hasValue) {
            if (i + 1 >= args.size()) {
                out.error = "option " + name + " needs a value";
                return out;
            }
            value = args[++i];
        }
        if (value.empty()) {
            out.error = "option " + name + " needs a value";
            return out;
        }
        out.options.emplace_back(name, value);
    }
    return out;
}

bool decimalNumber(const std::string& text, double low, double high, double& out) {
    if (text.empty() || text.size() > 12 || text.front() == '.' || text.back() == '.') return false;
    // Read digit by digit rather than with strtod, whose decimal point
    // follows the locale.
    double value = 0.0;
    double divisor = 1.0;  // a power of ten, exact for the digits allowed
    bool afterPoint = false;
    for (const char c : text) {
        if (c == '.' && !afterPoint) {
            afterPoint = true;
        } else if (c >= '0' && c <= '9') {
            if (afterPoint) divisor *= 10.0;
            value = value * 10.0 + (c - '0');
        } else {
            return false;
        }
    }
    value /= divisor;  // one rounding: "0.01" is the double nearest 0.01
    if (value < low || value > high) return false;
    out = value;
    return true;
}

bool alphaNumber(const std::string& text, double& out) {
    double value = 0.0;
    if (!decimalNumber(text, 0.0, 1.0, value) || value <= 0.0 || value >= 1.0) return false;
    out = value;
    return true;
}
