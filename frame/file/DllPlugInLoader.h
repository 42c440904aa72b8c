#pragma once

#include <cstdint>
#include <string>

namespace kivotasuGameKit {

// One loaded plug-in library and how many loads it is holding.
class CDllPlugInLoader {
public:
    CDllPlugInLoader() = default;
    CDllPlugInLoader(const CDllPlugInLoader&) = delete;
    CDllPlugInLoader& operator=(const CDllPlugInLoader&) = delete;
    // Frees the library.
    virtual ~CDllPlugInLoader();

    // 1 (and a line in the error log) when the library cannot be loaded.
    virtual int Load(const std::string& fileName);
    // 1 when the system refuses to free it.
    virtual int Release();
    virtual std::string GetFileName() const;
    virtual void* GetModule() const;

    std::uint32_t AddLoad() { return ++m_loadCount; }
    std::uint32_t DropLoad() { return --m_loadCount; }

private:
    void* m_module = nullptr;
    std::string m_fileName;
    std::uint32_t m_loadCount = 1;
};

} // namespace kivotasuGameKit
