// The words of a command line before and after the parser reads them: a
// value that is really the next option, the numbers options take (checked
// for their kind first, then for their range), and the nearest known word
// to a misspelt one.
#pragma once

#include <string>
#include <vector>

// An option as the words see it: one of its names, and whether it takes a value.
struct OptionWord {
    std::string name;  // "--label", "-b"
    bool takesValue = false;
};

// "" when every option's value is a value; else one line naming the fault:
// an option at the end without its value, "--name=" with nothing after it,
// "--flag=x" for an option that takes none, or a value that is the next
// option ("--label --no-save").  A value that starts with "-" may still be
// given as "--label=-x"; "-" alone and negative numbers are values.  Words
// after "--" are not options.
std::string valueWordsProblem(const std::vector<std::string>& words, const std::vector<OptionWord>& options);

// True when `word` is written as an option would be: "-x", "--name",
// "--name=value"; not "-", "--" or a negative number.
bool looksLikeOption(const std::string& word);

enum class NumberReading { Ok, NotANumber, OutOfRange };

// A whole decimal number ("12"; "-3" is a number, out of every range here)
// within [low, high].  Digits only after an optional minus sign.
NumberReading readWholeNumber(const std::string& text, long long low, long long high, long long& out);

// A plain decimal number ("5", "0.01", "2.5") within [low, high]: digits
// with at most one point, no exponent, read the same in every locale; a
// minus sign makes it out of range.
NumberReading readDecimal(const std::string& text, double low, double high, double& out);

// "OPTION: 'TEXT' is not KIND (RANGE)" or "OPTION: 'TEXT' is out of range
// (RANGE)"; "" for NumberReading::Ok.
std::string numberProblem(NumberReading reading, const std::string& option, const std::string& text,
                          const std::string& kind, const std::string& range);

// The known word nearest to `word` (a command or option name) when it is
// close enough to be a slip of the keys ("histroy", "--stroe"); "" when
// none is.
std::string nearestWord(const std::string& word, const std::vector<std::string>& known);
