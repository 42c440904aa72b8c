#pragma once

#include <atomic>
#include <memory>

namespace platform {

// One process-wide service with an install point. Readers take the installed
// object through an atomic pointer, so a thread never sees a half-installed
// one; installing nothing puts the default back.
template <class Service, class Default>
class ServiceSlot {
public:
    ServiceSlot() : m_owned(std::make_unique<Default>()), m_current(m_owned.get()) {}

    Service& Get() const { return *m_current.load(std::memory_order_acquire); }

    void Install(std::unique_ptr<Service> service)
    {
        if (!service)
            service = std::make_unique<Default>();
        m_current.store(service.get(), std::memory_order_release);
        m_owned = std::move(service);
    }

private:
    std::unique_ptr<Service> m_owned;
    std::atomic<Service*> m_current;
};

} // namespace platform
