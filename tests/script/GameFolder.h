#pragma once
// A game folder in a fresh host folder: the player "quiltor" lives in it, so
// {KARUTEMI} is the folder, with data/ and system/ beside it.

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "frame/file/File.h"
#include "platform/FileSystem.h"
#include "platform/HostFileSystem.h"
#include "tests/kit/TempFolder.h"

class GameFolder : public TempFolder {
public:
    GameFolder() : m_savedDir(kivotasuGameKit::CFile::GetCurrentDir())
    {
        std::filesystem::create_directories(Host("data"));
        std::filesystem::create_directories(Host("system"));
        platform::InstallFileSystem(std::make_unique<Files>(Name("quiltor")));
    }
    ~GameFolder()
    {
        platform::InstallFileSystem(std::make_unique<platform::HostFileSystem>());
        kivotasuGameKit::CFile::SetCurrentDir(m_savedDir);
    }

    std::string Read(std::string_view name) const
    {
        std::ifstream in(Host(name), std::ios::binary);
        std::ostringstream bytes;
        if (in) bytes << in.rdbuf();
        return std::move(bytes).str();
    }
    bool Exists(std::string_view name) const { return std::filesystem::exists(Host(name)); }
    // {KARUTEMI} as the engine defines it.
    std::string Karutemi() const
    {
        std::string folder = Internal();
        for (char& ch : folder) if (ch == '\\') ch = '/';
        return folder + "/";
    }

private:
    class Files : public platform::HostFileSystem {
    public:
        explicit Files(std::string executable) : m_executable(std::move(executable)) {}
        std::string ExecutablePath() override { return m_executable; }

    private:
        std::string m_executable;
    };

    std::string m_savedDir;
};
