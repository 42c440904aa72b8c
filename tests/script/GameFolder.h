#pragma once
// A game folder in a fresh host folder: the player "quiltor" lives in it, so
// {KARUTEMI} is the folder, with data/ and system/ beside it.

#include <fstream>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "frame/file/File.h"
#include "platform/FileSystem.h"
#include "platform/HostFileSystem.h"
#include "platform/HostNameResolver.h"
#include "tests/kit/TempFolder.h"

class GameFolder : public TempFolder {
public:
    GameFolder() : m_savedDir(kivotasuGameKit::CFile::GetCurrentDir())
    {
        std::filesystem::create_directories(Host("data"));
        std::filesystem::create_directories(Host("system"));
        auto files = std::make_unique<Files>(Name("quiltor"));
        m_files = files.get();
        platform::InstallFileSystem(std::move(files));
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
    // From now on (or, with false, no longer) every read of the file gives
    // up as a request to close cuts a long one short.
    void CutReads(std::string_view name, bool cut = true)
    {
        if (cut) m_files->cut.insert(Host(name).string());
        else m_files->cut.erase(Host(name).string());
    }
    // From now on a link is refused for this reason, as vfat and exFAT refuse
    // them (EPERM), or a bind mount across file systems (EXDEV); none: made.
    void RefuseLinks(std::optional<std::errc> why) { m_files->refusedLinks = why; }
    // {KARUTEMI} as the engine defines it.
    std::string Karutemi() const
    {
        std::string folder = Internal();
        for (char& ch : folder) if (ch == '\\') ch = '/';
        return folder + "/";
    }

private:
    class CutFile : public platform::IReadFile {
    public:
        explicit CutFile(std::unique_ptr<platform::IReadFile> inner) : m_inner(std::move(inner)) {}
        std::optional<std::uint64_t> Size() override { return m_inner->Size(); }
        bool Seek(std::uint64_t offset) override { return m_inner->Seek(offset); }
        bool Read(void*, std::size_t) override { return false; }
        bool Cut() const override { return true; }
        bool Close() override { return m_inner->Close(); }

    private:
        std::unique_ptr<platform::IReadFile> m_inner;
    };

    class Files : public platform::HostFileSystem {
    public:
        explicit Files(std::string executable) : m_executable(std::move(executable)) {}
        std::string ExecutablePath() override { return m_executable; }
        using HostFileSystem::OpenRead;
        std::unique_ptr<platform::IReadFile> OpenRead(std::string_view name, std::error_code& why) override
        {
            std::unique_ptr<platform::IReadFile> file = HostFileSystem::OpenRead(name, why);
            const std::optional<std::string> host = platform::ResolveHostPath(name);
            if (file && host && cut.contains(*host)) return std::make_unique<CutFile>(std::move(file));
            return file;
        }
        bool Link(std::string_view from, std::string_view to, std::error_code& why) override
        {
            if (!refusedLinks) return HostFileSystem::Link(from, to, why);
            why = std::make_error_code(*refusedLinks);
            return false;
        }

        std::set<std::string> cut;
        std::optional<std::errc> refusedLinks;

    private:
        std::string m_executable;
    };

    std::string m_savedDir;
    Files* m_files = nullptr;
};
