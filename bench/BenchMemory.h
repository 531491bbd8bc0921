#pragma once

#include <cstring>
#include <fstream>
#include <string>

namespace tavlo::bench {

// kB from a line of /proc/self/status ("VmRSS", "VmHWM"); -1 when missing.
inline long statusKb(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const size_t len = std::strlen(field);
    while (std::getline(in, line)) {
        if (line.compare(0, len, field) == 0 && line.size() > len && line[len] == ':')
            return std::stol(line.substr(len + 1));
    }
    return -1;
}

// Lets VmHWM start again from the current size (Linux 4.0 and later).
inline bool resetPeakRss()
{
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace tavlo::bench
