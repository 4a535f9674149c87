// Text put together from pieces in one step.  (Chains of `"literal" +
// std::string` also trip a false -Wrestrict in GCC 12.)
#pragma once

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
