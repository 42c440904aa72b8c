#pragma once

#include "frame/Thread.h"

#include <cstdint>

namespace kivotasuGameKit {

// The four arguments of the process entry, kept for the whole run.
struct WinMainArgs {
    std::uintptr_t instance = 0;
    std::uintptr_t previousInstance = 0;
    const char* commandLine = ""; // Shift-JIS
    int showCommand = 0;
};

// The record published by CProcessInit::Init; null before.
const WinMainArgs* GetWinMainArgs();

// Start-up and shut-down of the process around its SDK threads.
class CProcessInit {
public:
    // Fills and publishes the record, turns on MultiThreadFlag, enters the
    // calling thread with no thread object and runs the start list.
    static void Init(WinMainArgs& record, std::uintptr_t instance, std::uintptr_t previousInstance,
                     const char* commandLine, int showCommand);
    // Takes ownership of the thread and starts it: 0 when it runs, -1 when it
    // could not be created (the thread list then holds nothing for it).
    static int Run(KTL::CThread* thread);
    // Waits until every SDK thread has ended and been released, turns off
    // MultiThreadFlag and runs the exit list.
    static void Term();
};

} // namespace kivotasuGameKit
