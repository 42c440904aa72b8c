#include "frame/CriticalSection.h"

#include <exception>

#include "frame/Exceptions.h"
#include "platform/Thread.h"

namespace kivotasuGameKit::KTL {

CCriticalSection::~CCriticalSection() noexcept(false)
{
    if (m_count == 0) return;
    if (m_owner.load(std::memory_order_relaxed) == platform::CurrentThreadId()) m_mutex.unlock();
    // Throwing while another exception unwinds would end the process.
    if (std::uncaught_exceptions() == 0) {
        throw CRuntimeException("CCriticalSectionをEnterした回数だけLeaveしないまま終了している");
    }
}

void CCriticalSection::Enter()
{
    std::uint32_t self = platform::CurrentThreadId();
    if (m_owner.load(std::memory_order_relaxed) != self) {
        m_mutex.lock();
        m_owner.store(self, std::memory_order_relaxed);
    }
    ++m_count;
}

void CCriticalSection::Leave()
{
    // Only the owner may leave; anyone else would release a lock it never held.
    if (m_owner.load(std::memory_order_relaxed) != platform::CurrentThreadId() || m_count == 0) {
        throw CRuntimeException("CCriticalSectionをEnterしていないのにLeaveしている");
    }
    if (--m_count == 0) {
        m_owner.store(NoOwner, std::memory_order_relaxed);
        m_mutex.unlock();
    }
}

bool CCriticalSection::IsLockedByCurrentThread() const
{
    return m_owner.load(std::memory_order_relaxed) == platform::CurrentThreadId();
}

std::int32_t CCriticalSection::LeaveAll()
{
    if (!IsLockedByCurrentThread()) return 0;
    std::int32_t count = m_count;
    m_count = 0;
    m_owner.store(NoOwner, std::memory_order_relaxed);
    m_mutex.unlock();
    return count;
}

void CCriticalSection::Reenter(std::int32_t count)
{
    if (count <= 0) return;
    Enter();
    m_count = count;
}

CCriticalLock::CCriticalLock(CCriticalSection& section) : m_section(&section), m_count(1)
{
    m_section->Enter();
}

CCriticalLock::~CCriticalLock() noexcept(false)
{
    for (; m_count > 0; --m_count) m_section->Leave();
}

void CCriticalLock::Enter()
{
    m_section->Enter();
    ++m_count;
}

void CCriticalLock::Leave()
{
    if (m_count == 0) return;
    --m_count;
    m_section->Leave();
}

} // namespace kivotasuGameKit::KTL
