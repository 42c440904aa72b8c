#pragma once

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

#include "frame/CriticalSection.h"

namespace kivotasuGameKit {

// 1 while SDK threads may run (from process start-up to its end): singletons
// are then created and released under their own lock.
inline std::atomic<std::uint8_t> MultiThreadFlag{0};

// A process-wide object made on first use and released at exit (in the reverse
// order of creation). T derives from CSingleton<T> and befriends it.
template <typename T>
class CSingleton {
public:
    static T* GetInstance()
    {
        T* instance = s_instance.load(std::memory_order_acquire);
        if (instance) return instance;
        if (!MultiThreadFlag.load(std::memory_order_acquire)) return Create();
        KTL::CCriticalLock lock(s_lock);
        instance = s_instance.load(std::memory_order_acquire);
        return instance ? instance : Create();
    }

    // The instance if there is one; never creates it.
    static T* Peek() { return s_instance.load(std::memory_order_acquire); }

    static void Release()
    {
        if (!MultiThreadFlag.load(std::memory_order_acquire)) return Destroy();
        KTL::CCriticalLock lock(s_lock);
        Destroy();
    }

protected:
    CSingleton() = default;
    ~CSingleton() = default;

private:
    static T* Create()
    {
        T* instance = new (std::nothrow) T;
        s_instance.store(instance, std::memory_order_release);
        if (instance && !s_releaseAtExit.exchange(true)) std::atexit(&CSingleton::Release);
        return instance;
    }

    static void Destroy()
    {
        delete s_instance.exchange(nullptr, std::memory_order_acq_rel);
    }

    static inline std::atomic<T*> s_instance{nullptr};
    static inline std::atomic<bool> s_releaseAtExit{false};
    // Constant-initialised, so it exists before any static constructor runs.
    static constinit inline KTL::CCriticalSection s_lock;
};

} // namespace kivotasuGameKit
