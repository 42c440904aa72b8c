#include "frame/COMInitializer.h"

#include "frame/CriticalSection.h"
#include "frame/ErrorLog.h"
#include "platform/Com.h"

namespace kivotasuGameKit {
namespace {

constinit KTL::CCriticalSection g_comLock;

CCOMThreadMap& ComThreadMap()
{
    static CCOMThreadMap map;
    return map;
}

} // namespace

void CCOMInitializer::Init()
{
    KTL::CCriticalLock lock(g_comLock);
    std::int32_t& count = ComThreadMap().GetMyEntry();
    if (count <= 0) {
        count = 0;
        if (platform::ComInitialize() != 0) {
            ErrorLog.Out("CoInitializeに失敗...");
            return;
        }
    }
    ++count;
}

void CCOMInitializer::Release()
{
    KTL::CCriticalLock lock(g_comLock);
    CCOMThreadMap& map = ComThreadMap();
    if (map.IsMissing()) return;
    std::int32_t& count = map.GetMyEntry();
    // A failed Init left the count at 0: nothing to undo.
    if (count <= 0) return;
    if (--count == 0) platform::ComUninitialize();
}

} // namespace kivotasuGameKit
