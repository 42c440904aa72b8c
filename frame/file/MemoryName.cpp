#include "frame/file/File.h"

#include <cinttypes>
#include <cstdio>
#include <mutex>
#include <set>

namespace kivotasuGameKit {
namespace {

struct LiveNames {
    std::mutex lock;
    std::multiset<std::string> names;
};

// Never destroyed: names held by static objects die after every other static.
LiveNames& Live()
{
    static LiveNames* live = new LiveNames;
    return *live;
}

} // namespace

CMemoryName::CMemoryName(const void* data, std::size_t size, std::string_view suffix)
{
    char name[64];
    std::snprintf(name, sizeof name, "!%" PRIxPTR ",%zx", reinterpret_cast<std::uintptr_t>(data), size);
    m_name = name;
    if (!suffix.empty()) m_name += "." + std::string(suffix);
    std::lock_guard<std::mutex> guard(Live().lock);
    Live().names.insert(m_name);
}

CMemoryName::~CMemoryName()
{
    std::lock_guard<std::mutex> guard(Live().lock);
    Live().names.erase(Live().names.find(m_name));
}

bool CMemoryName::IsLive(const std::string& name)
{
    std::lock_guard<std::mutex> guard(Live().lock);
    return Live().names.count(name) != 0;
}

} // namespace kivotasuGameKit
