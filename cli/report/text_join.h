// Text put together from pieces in one step, and numbers as text.  (Chains of `"literal" +
// std::string` also trip a false -Wrestrict in GCC 12.)
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

inline std::string concat(std::initializer_list<std::string_view> parts) {
    std::size_t size = 0;
    for (const std::string_view p : parts) size += p.size();
    std::string text;
    text.reserve(size);
    for (const std::string_view p : parts) text.append(p);
    return text;
}

// One number through a printf pattern with one conversion.  Room for any
// double in %f form: a figure from someone else's file may be huge, and a
// cut-off number would be a wrong one.
inline std::string formatNumber(const char* pattern, double value) {
    char text[400];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}
