#pragma once

#include <mutex>

#include "frame/SmartPtr.h"
#include "frame/TextString.h"

namespace kivotasuGameKit {

// An output device of the error log. Out receives printf-style arguments; the
// log itself always hands its devices finished text as Out("%s", text).
class IErrorLog {
public:
    virtual ~IErrorLog() = default;
    virtual void OutString(const CTextString& text) { Out("%s", text.c_str()); }
    virtual void OutNumber(int number) { Out("%d", number); }
    virtual void Out(const char* format, ...) __attribute__((format(printf, 2, 3))) = 0;
};

// Drops everything: the device a run has unless another one is installed.
class CNullErrorLogDevice : public IErrorLog {
public:
    void OutString(const CTextString&) override {}
    void OutNumber(int) override {}
    void Out(const char*, ...) override {}
};

// Formats a report (at most 511 bytes) on the caller's stack and hands it to
// the device. The device may be replaced while other threads report.
class CErrorLog : public IErrorLog {
public:
    static constexpr int BufferSize = 512;

    CErrorLog();

    void OutString(const CTextString& text) override;
    void OutNumber(int number) override;
    void Out(const char* format, ...) override __attribute__((format(printf, 2, 3)));
    void SetDevice(const CSmartPtr<IErrorLog>& device);

private:
    CSmartPtr<IErrorLog> Device();

    std::mutex m_deviceLock;
    CSmartPtr<IErrorLog> m_device;
};

extern CErrorLog ErrorLog;

} // namespace kivotasuGameKit
