#include "app/StderrLog.h"

#include "platform/HostPath.h"
#include "platform/StderrLines.h"

#include <cstdarg>
#include <cstdio>

void CStderrLogDevice::Out(const char* format, ...)
{
    char buffer[kivotasuGameKit::CErrorLog::BufferSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    // Files are named by the host paths an author can open.
    platform::Stderr().Say(platform::ShownText(buffer));
}
