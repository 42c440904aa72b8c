#include "frame/file/FileBounds.h"

#include <string>
#include <utility>

#include "frame/ErrorLog.h"
#include "platform/HostPath.h"
#include "platform/StderrLines.h"

namespace kivotasuGameKit {

namespace {

std::function<void(const CTextString&)>& Sink()
{
    static std::function<void(const CTextString&)> sink;
    return sink;
}

} // namespace

CTextString OverBoundText(const CTextString& lead, const std::string& path, std::uint64_t size, std::uint64_t bound)
{
    return CTextString(lead.GetStr() + path + " は " + std::to_string(size) + " バイトあり、上限の " + std::to_string(bound) +
                       " バイトを超えています。");
}

void SayOverBound(const CTextString& lead, const std::string& path, std::uint64_t size, std::uint64_t bound)
{
    SayRefusal(OverBoundText(lead, path, size, bound));
}

void SayRefusal(const CTextString& message)
{
    if (Sink()) {
        Sink()(message);
        return;
    }
    ErrorLog.OutString(message);
    platform::Stderr().Say("quiltor: " + platform::ShownText(message.GetStr()));
}

void SetOverBoundSink(std::function<void(const CTextString&)> sink) { Sink() = std::move(sink); }

} // namespace kivotasuGameKit
