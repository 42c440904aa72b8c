#pragma once
// LOCK nesting: while the count is above zero the engine builds its state
// without composing or copying to the back plane; UNLOCK then runs the
// transition that DEFAULTLOCK chose.

#include <cstdint>

#include "script/lang/EffectChoice.h"

class CTagAttributes;
namespace kivotasuGameKit { class CTextFileWriter; }

namespace TAG {

class CLock {
public:
    virtual ~CLock() = default;

    std::int32_t Lock() { return ++m_count; }
    // 0 when a lock was lowered, 1 when none was held.
    int Unlock();
    bool IsLocked() const { return m_count > 0; }
    std::int32_t GetCount() const { return m_count; }

    void Reset();
    void ParseDefault(const CTagAttributes& record);
    void WriteDefault(kivotasuGameKit::CTextFileWriter& writer) const;
    const EffectChoice& GetEffect() const { return m_effect; }

private:
    std::int32_t m_count = 0;
    EffectChoice m_effect;
};

// Raises the count for one scope: drawing in it reaches the screen plane only.
class CLockScope {
public:
    explicit CLockScope(CLock& lock) : m_lock(lock) { m_lock.Lock(); }
    ~CLockScope() { m_lock.Unlock(); }
    CLockScope(const CLockScope&) = delete;
    CLockScope& operator=(const CLockScope&) = delete;

private:
    CLock& m_lock;
};

} // namespace TAG
