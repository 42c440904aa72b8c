#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

namespace kivotasuGameKit::KTL {

// A recursive lock that knows its owner. Leaving it without owning it, or
// destroying it while entered, is a programming error and throws.
class CCriticalSection {
public:
    static constexpr std::uint32_t NoOwner = 0xFFFFFFFFu;

    constexpr CCriticalSection() = default;
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;
    virtual ~CCriticalSection() noexcept(false);

    virtual void Enter();
    virtual void Leave();
    virtual bool IsLockedByCurrentThread() const;

    // Lets go of every level the calling thread holds (none when it holds
    // none) and returns how many, so that Reenter can take them again.
    std::int32_t LeaveAll();
    void Reenter(std::int32_t count);

private:
    std::mutex m_mutex;
    // Written by the owner only; read by any thread to learn whether it owns.
    std::atomic<std::uint32_t> m_owner{NoOwner};
    std::int32_t m_count = 0;
};

// Enters on construction and leaves as often as it entered on destruction;
// Leave lets go early, for a sleep or a join.
class CCriticalLock {
public:
    explicit CCriticalLock(CCriticalSection& section);
    explicit CCriticalLock(CCriticalSection* section) : CCriticalLock(*section) {}
    CCriticalLock(const CCriticalLock&) = delete;
    CCriticalLock& operator=(const CCriticalLock&) = delete;
    ~CCriticalLock() noexcept(false);

    void Enter();
    void Leave();

private:
    CCriticalSection* m_section;
    std::int32_t m_count;
};

} // namespace kivotasuGameKit::KTL
