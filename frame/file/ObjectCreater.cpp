#include "frame/file/ObjectCreater.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "frame/ErrorLog.h"
#include "frame/file/File.h"
#include "platform/SharedLibrary.h"

namespace kivotasuGameKit {

namespace {

// Marks the plug-in being loaded for the registrations of its entry, and
// clears the mark on every way out of the load.
class CLoadingScope {
public:
    CLoadingScope(const CDllPlugInLoader*& loading, const CDllPlugInLoader* loader)
        : m_loading(loading), m_previous(loading)
    {
        m_loading = loader;
    }
    ~CLoadingScope() { m_loading = m_previous; }
    CLoadingScope(const CLoadingScope&) = delete;
    CLoadingScope& operator=(const CLoadingScope&) = delete;

private:
    const CDllPlugInLoader*& m_loading;
    const CDllPlugInLoader* m_previous;
};

} // namespace

CObjectCreater::~CObjectCreater() noexcept
{
    // No factory may outlive the library that holds its code; the libraries
    // go last loaded first, as a later one may use an earlier one.
    m_classes.clear();
    while (!m_plugIns.empty()) m_plugIns.pop_back();
}

void* CObjectCreater::Create(const char* className)
{
    if (!className) return nullptr;
    KTL::CCriticalLock lock(m_lock);
    for (const CClassEntry& entry : m_classes) {
        if (entry.className == className) return entry.factory->Create();
    }
    return nullptr;
}

void CObjectCreater::RegisterClass(const char* className, IObjectFactory* factory)
{
    std::unique_ptr<IObjectFactory> owned(factory);
    if (!className || !owned) return;
    KTL::CCriticalLock lock(m_lock);
    m_classes.push_back(CClassEntry{m_loading, className, std::move(owned)});
}

int CObjectCreater::LoadPlugIn(const char* fileName)
{
    const std::string name = CFile::NormalizePath(fileName ? fileName : "");
    KTL::CCriticalLock lock(m_lock);
    for (const auto& plugIn : m_plugIns) {
        if (plugIn->GetFileName() == name) {
            plugIn->AddLoad();
            return 0;
        }
    }
    auto loader = std::make_unique<CDllPlugInLoader>();
    CLoadingScope loading(m_loading, loader.get());
    if (loader->Load(name) != 0) return 0;
    auto entry = reinterpret_cast<KivoDllInitializerFunction>(
        platform::FindSharedLibrarySymbol(loader->GetModule(), "KivoDllInitializer"));
    if (!entry) return 0;
    try {
        entry(this);
    } catch (...) {
        RemoveClassesOf(loader.get());
        throw;
    }
    m_plugIns.push_back(std::move(loader));
    return 0;
}

int CObjectCreater::ReleasePlugIn(const char* fileName)
{
    const std::string name = CFile::NormalizePath(fileName ? fileName : "");
    KTL::CCriticalLock lock(m_lock);
    auto found = std::find_if(m_plugIns.begin(), m_plugIns.end(),
                              [&](const auto& plugIn) { return plugIn->GetFileName() == name; });
    if (found == m_plugIns.end()) {
        ErrorLog.Out("CObjectCreater::ReleasePlugIn 登録されていないPlugInの削除");
        return 0;
    }
    if ((*found)->DropLoad() == 0) {
        RemoveClassesOf(found->get());
        m_plugIns.erase(found);
    }
    return 0;
}

void CObjectCreater::RemoveClassesOf(const CDllPlugInLoader* owner)
{
    std::erase_if(m_classes, [owner](const CClassEntry& entry) { return entry.owner == owner; });
}

void* CObjectCreater::New(std::size_t size) { return ::operator new(size); }

void CObjectCreater::Delete(void* memory) { ::operator delete(memory); }

} // namespace kivotasuGameKit
