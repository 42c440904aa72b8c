#include "app/StderrLog.h"

#include "platform/HostPath.h"

#include <cstdarg>
#include <cstdio>

void CStderrLogDevice::Out(const char* format, ...)
{
    char buffer[kivotasuGameKit::CErrorLog::BufferSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    // One call per line, so lines of different threads do not mix. Files
    // are named by the host paths an author can open.
    const std::string line = platform::ShownText(buffer) + "\n";
    std::fputs(line.c_str(), stderr);
}
