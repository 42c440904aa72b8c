#include "frame/file/DllPlugInLoader.h"

#include "frame/ErrorLog.h"
#include "platform/SharedLibrary.h"

namespace kivotasuGameKit {

CDllPlugInLoader::~CDllPlugInLoader() { Release(); }

int CDllPlugInLoader::Load(const std::string& fileName)
{
    Release();
    m_fileName = fileName;
    m_module = platform::LoadSharedLibrary(fileName);
    if (m_module) return 0;
    ErrorLog.Out("CDllPlugInLoader::Load \"%s\"のロードに失敗", fileName.c_str());
    return 1;
}

int CDllPlugInLoader::Release()
{
    if (!m_module) return 0;
    void* module = m_module;
    m_module = nullptr;
    return platform::FreeSharedLibrary(module) ? 0 : 1;
}

std::string CDllPlugInLoader::GetFileName() const { return m_fileName; }

void* CDllPlugInLoader::GetModule() const { return m_module; }

} // namespace kivotasuGameKit
