#pragma once

#include <cstdint>
#include <list>

namespace kivotasuGameKit {

// Callbacks called in list order; the list never owns them. Arguments are
// pointer-sized (a plane, a drawing context).
class CCallbackList {
public:
    class ICallback {
    public:
        virtual void OnFirst(std::uintptr_t argument) = 0;
        virtual void OnSecond(std::uintptr_t argument) = 0;
        virtual ~ICallback() = default;

        bool IsEnabled() const { return m_enabled; }
        void SetEnabled(bool enabled) { m_enabled = enabled; }

    private:
        bool m_enabled = true;
    };

    virtual void Add(ICallback* callback) { m_callbacks.push_back(callback); }
    // Removes every node holding the callback.
    virtual void Remove(ICallback* callback) { m_callbacks.remove(callback); }
    virtual void Clear() { m_callbacks.clear(); }
    virtual bool IsEmpty() const { return m_callbacks.empty(); }
    virtual void CallFirst(std::uintptr_t argument) { Call(&ICallback::OnFirst, argument); }
    virtual void CallSecond(std::uintptr_t argument) { Call(&ICallback::OnSecond, argument); }
    virtual ~CCallbackList() = default;

private:
    void Call(void (ICallback::*operation)(std::uintptr_t), std::uintptr_t argument)
    {
        for (ICallback* callback : m_callbacks) {
            if (callback->IsEnabled()) (callback->*operation)(argument);
        }
    }

    std::list<ICallback*> m_callbacks;
};

} // namespace kivotasuGameKit
