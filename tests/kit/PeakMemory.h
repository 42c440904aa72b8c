#pragma once
// The process's peak resident memory (the kernel's high-water mark), which a
// test lowers to the present before a step and reads after it: the height
// the step reached, whatever it freed before returning.

#include <cstdint>
#include <fstream>
#include <string>

namespace testkit {

// False where the kernel does not let the mark be lowered, and under
// ThreadSanitizer, whose shadow of every byte touched is resident too: the
// mark then tells four times what the step held.
inline bool RestartPeakMemory()
{
#if defined(__SANITIZE_THREAD__)
    return false;
#endif
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return clear.good();
}

// Bytes; 0 where the kernel does not tell.
inline std::uint64_t PeakMemory()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmHWM:")) return std::stoull(line.substr(6)) * 1024;
    return 0;
}

} // namespace testkit
