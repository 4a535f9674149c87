#include "cli/run/system_info.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

std::string trim(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t\n");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t\n") - first + 1);
}

std::string readFirstLine(const char* path) {
    std::ifstream in(path);
    std::string line;
    if (!in || !std::getline(in, line)) return "";
    return line;
}

}  // namespace

long long memInfoBytes(const std::string& key) {
    // Read line by line: some lines (HugePages_Total) have no unit.
    std::ifstream in("/proc/meminfo");
    std::string line;
    const std::string prefix = key + ":";
    while (std::getline(in, line)) {
        if (line.rfind(prefix, 0) != 0) continue;
        std::istringstream value(line.substr(prefix.size()));
        long long kib = 0;
        return value >> kib ? kib * 1024 : -1;
    }
    return -1;
}

std::string selectedChoice(const std::string& text) {
    const std::size_t open = text.find('[');
    const std::size_t close = text.find(']', open);
    if (open != std::string::npos && close != std::string::npos) return text.substr(open + 1, close - open - 1);
    return trim(text);
}

std::string machineArchitecture() {
    utsname u{};
    return uname(&u) == 0 ? u.machine : "";
}

SystemInfo readSystemInfo(const char* brand) {
    SystemInfo info;
    info.cpu = trim(brand ? brand : "");
    info.cores = static_cast<int>(sysconf(_SC_NPROCESSORS_ONLN));
    info.memoryBytes = std::max(memInfoBytes("MemTotal"), 0LL);
    utsname u{};
    if (uname(&u) == 0) {
        info.kernel = std::string(u.sysname) + " " + u.release + " " + u.machine;
        info.architecture = u.machine;
    }
    info.transparentHugePages = selectedChoice(readFirstLine("/sys/kernel/mm/transparent_hugepage/enabled"));
    info.governor = trim(readFirstLine("/sys/devices/system/cpu/cpu0/cpufreq/scaling_governor"));
    std::istringstream load(readFirstLine("/proc/loadavg"));
    double oneMinute = -1.0;
    if (load >> oneMinute) info.loadAverage = oneMinute;
    return info;
}

std::vector<std::string> measurementWarnings(const SystemInfo& info) {
    std::vector<std::string> warnings;
    if (!info.governor.empty() && info.governor != "performance")
        warnings.push_back("the CPU frequency governor is \"" + info.governor +
                           "\", not \"performance\": clock speeds may vary during the run");
    if (info.loadAverage >= 0.0 && info.cores > 0 && info.loadAverage > 0.5 * info.cores) {
        std::ostringstream s;
        s << "the load average was " << info.loadAverage << " on " << info.cores
          << " cores (above 0.5 per core): other work competes with the measurements";
        warnings.push_back(s.str());
    }
    if (info.video.driver == "offscreen")
        warnings.push_back(
            "SDL's offscreen driver shows nothing: the frame rates of Stages 1-6 measure software drawing only, "
            "without presenting to a display");
    return warnings;
}
