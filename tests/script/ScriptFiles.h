#pragma once
// Script files for the reader tests, in a fresh host folder per test, named in
// the program's internal path form.

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/HostPath.h"

class ScriptFiles {
public:
    ScriptFiles()
    {
        static std::atomic<int> serial{0};
        m_folder = std::filesystem::temp_directory_path() /
                   ("quiltor-script-" + std::to_string(std::random_device()()) + "-" + std::to_string(serial++));
        std::filesystem::create_directories(m_folder);
    }
    ~ScriptFiles() { std::filesystem::remove_all(m_folder); }

    // Writes the file and gives its internal name.
    std::string Add(const std::string& name, const std::string& text) const
    {
        std::ofstream(m_folder / name, std::ios::binary) << text;
        return Name(name);
    }
    std::string Name(const std::string& name) const { return platform::ToInternalPath((m_folder / name).string()); }
    // The folder's internal name with "/" separators and a closing "/", as DEFAULTJUMP keeps it.
    std::string Folder() const
    {
        std::string folder = platform::ToInternalPath(m_folder.string());
        for (char& ch : folder) if (ch == '\\') ch = '/';
        return folder + "/";
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream in(m_folder / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path m_folder;
};
