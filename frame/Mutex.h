#pragma once

#include "frame/TextString.h"
#include "platform/NamedLock.h"

namespace kivotasuGameKit::KTL {

// A mutex shared between processes by name, taken when opened if it is free.
class CMutex {
public:
    CMutex() = default;
    CMutex(const CMutex&) = delete;
    CMutex& operator=(const CMutex&) = delete;

    // 0 created (and taken), 1 another holder had it already, 2 it could not
    // be made. The mutex stays open in every case.
    virtual int Open(const CTextString& name);
    // Waits until it is ours.
    virtual void Wait();
    virtual void Release();
    virtual ~CMutex() { Release(); }

private:
    platform::NamedLock m_lock;
};

} // namespace kivotasuGameKit::KTL
