#pragma once

#include <atomic>
#include <cstdint>
#include <type_traits>

#include "frame/Exceptions.h"

namespace kivotasuGameKit {

// The count shared by every pointer to one object. A holder that owns the
// object destroys it when the last pointer lets go; a caller may supply its own
// holder to destroy the object its own way.
class CSmartHolder {
public:
    virtual ~CSmartHolder() = default;
    virtual void DestroyObject() = 0;

    void AddRef() { m_count.fetch_add(1, std::memory_order_relaxed); }
    // True when this was the last pointer; the acquire makes every earlier
    // write through the other pointers visible to the destroying thread.
    bool DropRef() { return m_count.fetch_sub(1, std::memory_order_acq_rel) == 1; }
    std::uint32_t GetCount() const { return m_count.load(std::memory_order_acquire); }

    void Setup(bool owns, std::uint32_t elementSize, std::uint32_t elementCount)
    {
        m_count.store(1, std::memory_order_relaxed);
        m_owns = owns;
        m_elementSize = elementSize;
        m_elementCount = elementCount;
    }
    bool Owns() const { return m_owns; }
    std::uint32_t GetElementSize() const { return m_elementSize; }
    std::uint32_t GetElementCount() const { return m_elementCount; }

private:
    std::atomic<std::uint32_t> m_count{0};
    bool m_owns = false;
    std::uint32_t m_elementSize = 0;
    std::uint32_t m_elementCount = 0;
};

namespace detail {

template <typename T>
class CScalarHolder : public CSmartHolder {
public:
    explicit CScalarHolder(T* object) : m_object(object) {}
    void DestroyObject() override { delete m_object; }

private:
    T* m_object;
};

template <typename T>
class CArrayHolder : public CSmartHolder {
public:
    explicit CArrayHolder(T* objects) : m_objects(objects) {}
    void DestroyObject() override { delete[] m_objects; }

private:
    T* m_objects;
};

} // namespace detail

// The counted pointer of the frame, the screen and the sound code: one object,
// or one element of an array of them (object + index). Access is checked.
template <typename T>
class CSmartPtr {
public:
    CSmartPtr() = default;
    explicit CSmartPtr(T* object, bool owns = true)
    {
        if (object) Reset(object, owns);
    }
    CSmartPtr(const CSmartPtr& other) : m_object(other.m_object), m_index(other.m_index), m_holder(other.m_holder)
    {
        if (m_holder) m_holder->AddRef();
    }
    // Shares the holder of a pointer to a derived class.
    template <typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    CSmartPtr(const CSmartPtr<U>& other)
        : m_object(other.Get()), m_index(other.GetIndex()), m_holder(other.GetHolder())
    {
        if (m_holder) m_holder->AddRef();
    }
    ~CSmartPtr() { Release(); }

    CSmartPtr& operator=(const CSmartPtr& other)
    {
        if (this == &other) return *this;
        if (other.m_holder) other.m_holder->AddRef();
        Release();
        m_object = other.m_object;
        m_index = other.m_index;
        m_holder = other.m_holder;
        return *this;
    }

    void Release()
    {
        CSmartHolder* holder = m_holder;
        m_holder = nullptr;
        m_object = nullptr;
        if (holder && holder->DropRef()) {
            if (holder->Owns()) holder->DestroyObject();
            delete holder;
        }
    }

    // Takes the object under a new holder (the caller's own deleter holder
    // when given, which only an owning pointer may have).
    void Reset(T* object, bool owns = true, std::uint32_t elementCount = 1, bool array = false,
               CSmartHolder* deleter = nullptr)
    {
        Release();
        m_object = object;
        m_index = 0;
        if (elementCount == 0) return;
        if (deleter && !owns) {
            m_object = nullptr;
            delete deleter;
            throw KTL::CSyntaxException("所有権が無いのに解体オブジェクトが指定されている");
        }
        CSmartHolder* holder = deleter;
        if (!holder) {
            if (array) holder = new detail::CArrayHolder<T>(object);
            else holder = new detail::CScalarHolder<T>(object);
        }
        holder->Setup(owns, sizeof(T), elementCount);
        m_holder = holder;
    }

    void AllocArray(std::uint32_t count)
    {
        Release();
        if (count > 0) Reset(new T[count], true, count, true);
    }

    void Take(T* object)
    {
        Release();
        if (object) Reset(object);
    }

    T* operator->() const { return &Checked(); }
    T& operator*() const { return Checked(); }

    T* Get() const { return m_object; }
    bool IsNull() const { return m_object == nullptr; }
    explicit operator bool() const { return m_object != nullptr; }
    std::uint32_t GetIndex() const { return m_index; }
    void SetIndex(std::uint32_t index) { m_index = index; }
    CSmartHolder* GetHolder() const { return m_holder; }

private:
    T& Checked() const
    {
        if (!m_object) throw KTL::CNullPointerException();
        if (!m_holder || m_index >= m_holder->GetElementCount()) throw KTL::CIndexOutOfBoundsException();
        auto* bytes = reinterpret_cast<std::uint8_t*>(m_object);
        return *reinterpret_cast<T*>(bytes + static_cast<std::size_t>(m_index) * m_holder->GetElementSize());
    }

    T* m_object = nullptr;
    std::uint32_t m_index = 0;
    CSmartHolder* m_holder = nullptr;
};

} // namespace kivotasuGameKit
