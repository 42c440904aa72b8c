#include "tests/kit/RecordingErrorLog.h"

#include <cstdarg>
#include <cstdio>

namespace testkit {

void CRecordingErrorLog::Out(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    std::lock_guard<std::mutex> lock(m_lock);
    m_messages.push_back(std::move(text));
}

std::vector<std::string> CRecordingErrorLog::Messages() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_messages;
}

bool CRecordingErrorLog::Contains(const std::string& part) const
{
    std::lock_guard<std::mutex> lock(m_lock);
    for (const std::string& message : m_messages) {
        if (message.find(part) != std::string::npos) return true;
    }
    return false;
}

void CRecordingErrorLog::Clear()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_messages.clear();
}

ScopedErrorLogRecorder::ScopedErrorLogRecorder() : m_device(new CRecordingErrorLog)
{
    kivotasuGameKit::ErrorLog.SetDevice(kivotasuGameKit::CSmartPtr<kivotasuGameKit::IErrorLog>(m_device));
}

ScopedErrorLogRecorder::~ScopedErrorLogRecorder()
{
    kivotasuGameKit::ErrorLog.SetDevice(
        kivotasuGameKit::CSmartPtr<kivotasuGameKit::IErrorLog>(new kivotasuGameKit::CNullErrorLogDevice));
}

} // namespace testkit
