#pragma once

#include <cstdint>

namespace platform {

// A native thread; 0 stands for none.
using ThreadHandle = std::uintptr_t;

// The calling thread's id: unique among live threads, never 0xFFFFFFFF.
std::uint32_t CurrentThreadId();

// Runs entry(argument) on a new thread with the given stack size (0: the
// default). 0 when the thread could not be created.
ThreadHandle StartThread(void (*entry)(void*), void* argument, std::uint32_t stackSize);
// Waits without limit for the thread's end and frees it; false when that failed.
bool JoinThread(ThreadHandle thread);

// Test hook: while set, StartThread fails.
void SetThreadStartFailure(bool fail);

} // namespace platform
