#pragma once

#include <fstream>
#include <string>

// Resident memory of this process in kB, from /proc/self/status.
inline long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}
