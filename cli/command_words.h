// The words after a command (`history`, `report`, `check`) and the numbers
// options take.
#pragma once

#include <string>
#include <utility>
#include <vector>

// "--name value", "--name=value" and bare words, in their order.
struct CommandWords {
    std::vector<std::pair<std::string, std::string>> options;
    std::vector<std::string> words;
    std::string error;  // one line naming the problem; "" when the words were understood
};

// Every word starting with "-" must be one of `valueOptions`, each of which
// takes a non-empty value.
CommandWords splitWords(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions);

// A plain decimal number ("5", "0.01", "2.5") within [low, high]: digits
// with at most one point, no sign, no exponent, nothing around it.
bool decimalNumber(const std::string& text, double low, double high, double& out);

// A rate of false findings for --alpha: a decimal number above 0 and below 1.
bool alphaNumber(const std::string& text, double& out);
