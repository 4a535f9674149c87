#include <string>
#include <vector>

#include "platform/win32.h"

namespace {

// The program's paths are byte strings converted to UTF-16 as plain
// characters, so a folder goes out in a form of ASCII characters only where
// it has one: its short (8.3) name when the long one has other characters.
std::string narrowFolder(const std::wstring& folder) {
    std::wstring usable = folder;
    bool ascii = true;
    for (wchar_t c : usable) ascii = ascii && c < 0x80;
    if (!ascii) {
        std::vector<wchar_t> shortName(32768);
        const DWORD length = GetShortPathNameW(folder.c_str(), shortName.data(), static_cast<DWORD>(shortName.size()));
        if (length > 0 && length < shortName.size()) usable.assign(shortName.data(), length);
    }
    std::string out;
    for (wchar_t c : usable) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

}  // namespace

std::string executableFolder() {
    std::vector<wchar_t> path(32768);
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) return "";
    std::wstring folder(path.data(), length);
    const std::size_t slash = folder.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return "";
    folder.resize(slash);
    if (!folder.empty() && folder.back() == L':') folder += L'\\';  // a drive root keeps its backslash
    return narrowFolder(folder);
}

std::string workingFolder() {
    std::vector<wchar_t> path(32768);
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(path.size()), path.data());
    if (length == 0 || length >= path.size()) return "(the working directory)";
    return narrowFolder(std::wstring(path.data(), length));
}
