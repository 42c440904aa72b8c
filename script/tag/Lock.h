#pragma once
// LOCK nesting: while the count is above zero the scene changes unseen (what
// the window shows holds it, CShownScreen); UNLOCK then runs the transition
// that DEFAULTLOCK chose.

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
    // Every LOCK ends at once; the effect stays.
    void Release() { m_count = 0; }
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

} // namespace TAG
