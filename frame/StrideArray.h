#pragma once

#include <cstdint>

#include "frame/Exceptions.h"
#include "frame/SmartPtr.h"

namespace kivotasuGameKit {

// Elements of a counted array reached by the holder's element size, from a
// first index on.
template <typename T>
class CStrideArray {
public:
    CStrideArray(T* base, std::uint32_t first, const CSmartHolder* descriptor)
        : m_base(base), m_first(first), m_descriptor(descriptor)
    {
    }
    explicit CStrideArray(const CSmartPtr<T>& pointer)
        : CStrideArray(pointer.Get(), pointer.GetIndex(), pointer.GetHolder())
    {
    }

    // Null for a null base; the base itself without a descriptor.
    T* At(std::uint32_t i) const
    {
        if (!m_base) return nullptr;
        if (!m_descriptor) return m_base;
        auto* bytes = reinterpret_cast<std::uint8_t*>(m_base);
        return reinterpret_cast<T*>(bytes + static_cast<std::size_t>(m_first + i) * m_descriptor->GetElementSize());
    }

    // At with the base and the first index checked.
    T* CheckedAt(std::uint32_t i) const
    {
        if (!m_base) throw KTL::CNullPointerException();
        if (m_descriptor && m_first >= m_descriptor->GetElementCount()) throw KTL::CIndexOutOfBoundsException();
        return At(i);
    }

private:
    T* m_base;
    std::uint32_t m_first;
    const CSmartHolder* m_descriptor;
};

} // namespace kivotasuGameKit
