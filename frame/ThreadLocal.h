#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <map>

#include "frame/CriticalSection.h"
#include "frame/Singleton.h"
#include "platform/Thread.h"

namespace kivotasuGameKit {

// What the registry knows of every per-thread map.
class CThreadLocalBase {
public:
    CThreadLocalBase(const CThreadLocalBase&) = delete;
    CThreadLocalBase& operator=(const CThreadLocalBase&) = delete;

    virtual void DropCurrentThread() = 0;
    virtual void Clear() = 0;
    // Once set, the map no longer calls the registry when it is destroyed.
    virtual void SetUnregistered(bool unregistered) { m_unregistered.store(unregistered, std::memory_order_release); }
    virtual ~CThreadLocalBase();

protected:
    CThreadLocalBase();

    KTL::CCriticalSection m_lock;

private:
    std::atomic<bool> m_unregistered{false};
};

// Every live per-thread map. At process end (the exit list) the maps are
// detached, since maps with static storage may outlive the registry.
class CThreadLocalRegistry : public CSingleton<CThreadLocalRegistry> {
public:
    void Add(CThreadLocalBase* map);
    void Remove(CThreadLocalBase* map);
    void DetachAll();

private:
    friend class CSingleton<CThreadLocalRegistry>;
    CThreadLocalRegistry();

    KTL::CCriticalSection m_lock;
    std::list<CThreadLocalBase*> m_maps;
};

// One value of T per thread, found by the calling thread's id.
template <typename T>
class CThreadLocal : public CThreadLocalBase {
public:
    CThreadLocal() = default;
    ~CThreadLocal() override { Clear(); }

    // The calling thread's value; an entry with T{} is made when it has none.
    T Get()
    {
        KTL::CCriticalLock lock(m_lock);
        return m_values[platform::CurrentThreadId()];
    }

    // The calling thread's value without making an entry.
    T Find()
    {
        KTL::CCriticalLock lock(m_lock);
        auto found = m_values.find(platform::CurrentThreadId());
        return found == m_values.end() ? T{} : found->second;
    }

    void Set(const T& value)
    {
        KTL::CCriticalLock lock(m_lock);
        m_values[platform::CurrentThreadId()] = value;
    }

    // The calling thread's own cell (made when missing); only that thread
    // touches it, and it stays in place until the thread's entry is dropped.
    T& GetMyEntry()
    {
        KTL::CCriticalLock lock(m_lock);
        return m_values[platform::CurrentThreadId()];
    }

    bool IsMissing()
    {
        KTL::CCriticalLock lock(m_lock);
        return m_values.find(platform::CurrentThreadId()) == m_values.end();
    }

    void DropCurrentThread() override
    {
        KTL::CCriticalLock lock(m_lock);
        m_values.erase(platform::CurrentThreadId());
    }

    void Clear() override
    {
        KTL::CCriticalLock lock(m_lock);
        m_values.clear();
    }

private:
    std::map<std::uint32_t, T> m_values;
};

} // namespace kivotasuGameKit
