#pragma once

// A file system of fixed files in memory for the fuzz targets: the fuzzed
// bytes are served as a file without touching the disk.
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/MemoryReadFile.h"

class MemoryFiles : public platform::IFileSystem {
public:
    // Installs a fresh one as the process's file system.
    static MemoryFiles& Install()
    {
        auto files = std::make_unique<MemoryFiles>();
        MemoryFiles& installed = *files;
        platform::InstallFileSystem(std::move(files));
        return installed;
    }

    void Put(const std::string& name, std::string_view bytes) { m_files[name] = bytes; }

    std::unique_ptr<platform::IReadFile> OpenRead(std::string_view name) override
    {
        auto found = m_files.find(std::string(name));
        if (found == m_files.end()) return nullptr;
        return std::make_unique<platform::MemoryReadFile>(found->second);
    }
    std::unique_ptr<platform::IWriteFile> CreateWrite(std::string_view) override { return nullptr; }
    std::FILE* OpenStream(std::string_view, std::string_view) override { return nullptr; }
    bool Delete(std::string_view) override { return false; }
    bool Exists(std::string_view name) override { return m_files.count(std::string(name)) != 0; }
    std::string MakeTemporaryFile() override { return {}; }
    std::string CurrentDirectory() override { return "Z:\\"; }
    std::string ExecutablePath() override { return "Z:\\quiltor"; }

private:
    std::map<std::string, std::string_view> m_files;
};
