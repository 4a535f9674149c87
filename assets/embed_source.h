#pragma once

#include <string>
#include <vector>

// C++ source that defines `symbol` as the given bytes and `symbol`_size as their count.
std::string embedAsSource(const std::string& symbol, const std::vector<unsigned char>& bytes);
