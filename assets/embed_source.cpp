#include "assets/embed_source.h"

#include <cstdio>

std::string embedAsSource(const std::string& symbol, const std::vector<unsigned char>& bytes) {
    std::string out = "// Written by generate_assets; do not edit.\n#include <cstddef>\n\n";
    out += "extern const unsigned char " + symbol + "[];\n";
    out += "extern const std::size_t " + symbol + "_size;\n\n";
    out += "const unsigned char " + symbol + "[] = {";
    char hex[8];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % 16 == 0) out += "\n   ";
        std::snprintf(hex, sizeof hex, " 0x%02x,", bytes[i]);
        out += hex;
    }
    out += "\n};\nconst std::size_t " + symbol + "_size = sizeof(" + symbol + ");\n";
    return out;
}
