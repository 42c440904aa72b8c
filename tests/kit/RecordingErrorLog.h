#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "frame/ErrorLog.h"

namespace testkit {

// An error-log device that keeps every message (Shift-JIS bytes as received).
class CRecordingErrorLog : public kivotasuGameKit::IErrorLog {
public:
    void Out(const char* format, ...) override __attribute__((format(printf, 2, 3)));

    std::vector<std::string> Messages() const;
    // True when some message contains the bytes of part.
    bool Contains(const std::string& part) const;
    void Clear();

private:
    mutable std::mutex m_lock;
    std::vector<std::string> m_messages;
};

// Installs a recording device in ErrorLog for its lifetime, then the silent one.
class ScopedErrorLogRecorder {
public:
    ScopedErrorLogRecorder();
    ~ScopedErrorLogRecorder();
    ScopedErrorLogRecorder(const ScopedErrorLogRecorder&) = delete;
    ScopedErrorLogRecorder& operator=(const ScopedErrorLogRecorder&) = delete;

    CRecordingErrorLog& operator*() const { return *m_device; }
    CRecordingErrorLog* operator->() const { return m_device.Get(); }

private:
    kivotasuGameKit::CSmartPtr<CRecordingErrorLog> m_device;
};

} // namespace testkit
