// The machine a run is measured on, as far as Linux lets an ordinary
// process read it, and the conditions that make its figures less
// trustworthy.
#pragma once

#include <string>
#include <vector>

#include "platform/linux/video_info.h"

struct SystemInfo {
    std::string cpu;              // the brand string, blanks around it removed
    int cores = 0;                // logical processors online
    long long memoryBytes = 0;    // 0 when unknown
    std::string kernel;           // "Linux 6.1.0-18-amd64 x86_64"
    std::string architecture;     // the machine uname() names: "x86_64", "aarch64"; "" when unknown
    std::string transparentHugePages;  // "always", "madvise", "never"; "" when unknown
    std::string governor;         // cpu0's frequency governor; "" when unreadable
    double loadAverage = -1.0;    // one-minute load average; negative when unknown
    VideoInfo video;
};

// Everything but the video, which exists only once the window does.
SystemInfo readSystemInfo(const char* brand);

// The machine as uname() names it ("x86_64", "aarch64"); "" when unknown.
std::string machineArchitecture();

// The value in brackets of a sysfs choice list: "always [madvise] never"
// gives "madvise"; a plain value is returned trimmed.
std::string selectedChoice(const std::string& text);

// A value of /proc/meminfo ("MemTotal", "MemAvailable") in bytes; -1 when
// it cannot be read.
long long memInfoBytes(const std::string& key);

// One line per condition that may bend the figures.
std::vector<std::string> measurementWarnings(const SystemInfo& info);
