#pragma once

#include <memory>
#include <vector>

#include "frame/CriticalSection.h"
#include "frame/Singleton.h"
#include "frame/file/DllPlugInLoader.h"
#include "frame/file/ObjectCreaterInterface.h"

namespace kivotasuGameKit {

// The process's factory of objects by class name, extended by plug-in
// libraries. Plug-ins are counted by normalised file name; a class belongs
// to the plug-in that was loading when it was registered and goes with it.
class CObjectCreater : public IObjectCreater, public CSingleton<CObjectCreater> {
public:
    static void ReleaseInstance() { Release(); }

    void* Create(const std::string& className) override { return Create(className.c_str()); }
    void* Create(const char* className) override;
    void RegisterClass(const std::string& className, IObjectFactory* factory) override
    {
        RegisterClass(className.c_str(), factory);
    }
    void RegisterClass(const char* className, IObjectFactory* factory) override;
    // 0 always; failures go to the error log. An exception from the
    // plug-in's entry passes through after the plug-in is undone.
    int LoadPlugIn(const std::string& fileName) override { return LoadPlugIn(fileName.c_str()); }
    int LoadPlugIn(const char* fileName) override;
    // 0 always; the last release removes the plug-in's classes, then unloads it.
    int ReleasePlugIn(const std::string& fileName) override { return ReleasePlugIn(fileName.c_str()); }
    int ReleasePlugIn(const char* fileName) override;
    void* New(std::size_t size) override;
    void Delete(void* memory) override;

private:
    friend class CSingleton<CObjectCreater>;
    CObjectCreater() = default;
    ~CObjectCreater() noexcept override;

    struct CClassEntry {
        const CDllPlugInLoader* owner;
        std::string className;
        std::unique_ptr<IObjectFactory> factory;
    };

    void RemoveClassesOf(const CDllPlugInLoader* owner);

    std::vector<std::unique_ptr<CDllPlugInLoader>> m_plugIns;
    std::vector<CClassEntry> m_classes;
    KTL::CCriticalSection m_lock;
    const CDllPlugInLoader* m_loading = nullptr;
};

} // namespace kivotasuGameKit
