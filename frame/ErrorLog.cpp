#include "frame/ErrorLog.h"

#include <cstdarg>
#include <cstdio>

namespace kivotasuGameKit {

CErrorLog ErrorLog;

CErrorLog::CErrorLog() : m_device(new CNullErrorLogDevice) {}

CSmartPtr<IErrorLog> CErrorLog::Device()
{
    std::lock_guard<std::mutex> lock(m_deviceLock);
    return m_device;
}

void CErrorLog::OutString(const CTextString& text) { Device()->OutString(text); }

void CErrorLog::OutNumber(int number) { Device()->OutNumber(number); }

void CErrorLog::Out(const char* format, ...)
{
    char buffer[BufferSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    Device()->Out("%s", buffer);
}

void CErrorLog::SetDevice(const CSmartPtr<IErrorLog>& device)
{
    CSmartPtr<IErrorLog> old;
    {
        std::lock_guard<std::mutex> lock(m_deviceLock);
        if (device.Get() == m_device.Get()) return;
        old = m_device;
        m_device = device;
    }
    // The old device goes outside the lock, as its destructor may report.
}

} // namespace kivotasuGameKit
