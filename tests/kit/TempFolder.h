#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

#include "platform/HostPath.h"

// A fresh host folder for one test, removed with everything in it afterwards.
// Names given to it are host names relative to it (UTF-8).
class TempFolder {
public:
    TempFolder()
    {
        std::random_device random;
        m_path = std::filesystem::temp_directory_path() / ("quiltor-test-" + std::to_string(random()));
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::filesystem::path Host(std::string_view name = {}) const { return name.empty() ? m_path : m_path / name; }
    // The internal name (Shift-JIS, "Z:\...") of a host name inside.
    std::string Internal(std::string_view name = {}) const { return platform::ToInternalPath(Host(name).string()); }
    // An internal name inside: relative is Shift-JIS with either separator.
    std::string Name(std::string_view relative) const { return Internal() + "\\" + std::string(relative); }

    void Put(std::string_view name, std::string_view bytes) const
    {
        std::filesystem::path path = Host(name);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }
    std::string Get(std::string_view name) const
    {
        std::ifstream in(Host(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool Has(std::string_view name) const { return std::filesystem::exists(Host(name)); }
    std::size_t CountEntries() const
    {
        std::size_t n = 0;
        for (auto it = std::filesystem::recursive_directory_iterator(m_path); it != decltype(it)(); ++it) ++n;
        return n;
    }

private:
    std::filesystem::path m_path;
};
