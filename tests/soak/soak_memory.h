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

// AddressSanitizer keeps freed memory in quarantine, so resident memory grows
// under it whatever the program does: the memory check only means something
// in a build without it.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kMemoryIsMeaningful = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kMemoryIsMeaningful = false;
#else
inline constexpr bool kMemoryIsMeaningful = true;
#endif
#else
inline constexpr bool kMemoryIsMeaningful = true;
#endif
