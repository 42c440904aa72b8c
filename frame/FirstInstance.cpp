#include "frame/FirstInstance.h"

#include "platform/FileSystem.h"

#include <algorithm>

namespace kivotasuGameKit {

namespace {

constexpr std::size_t MaxPath = 260;

} // namespace

CTextString DefaultInstanceName()
{
    std::string name = platform::FileSystem().ExecutablePath();
    if (name.size() > MaxPath)
        name.resize(MaxPath);
    // Byte by byte, as the name is only a key.
    std::replace(name.begin(), name.end(), '\\', '?');
    return CTextString(std::move(name));
}

bool IsFirstInstance(KTL::CMutex& mutex, const CTextString& name)
{
    return mutex.Open(name.IsEmpty() ? DefaultInstanceName() : name) == 0;
}

} // namespace kivotasuGameKit
