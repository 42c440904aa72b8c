#pragma once
// A game folder in a fresh host folder: the player "quiltor" lives in it, so
// {KARUTEMI} is the folder, with data/ and system/ beside it.

#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "frame/file/File.h"
#include "platform/FileSystem.h"
#include "platform/HostFileSystem.h"
#include "platform/HostNameResolver.h"
#include "tests/kit/SteppedReadFile.h"
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
    // From now on (or, with an empty step, no longer) each chunk read of the
    // file takes the step first.
    void OnChunkRead(std::string_view name, SteppedReadFile::Step step) { m_files->steps[Host(name).string()] = std::move(step); }
    // From now on (or, with false, no longer) every read of the file is one
    // the close interrupts.
    void InterruptReads(std::string_view name, bool interrupt = true)
    {
        OnChunkRead(name, interrupt ? [](std::size_t) { return platform::ReadResult::Interrupted; } : SteppedReadFile::Step());
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
    class Files : public platform::HostFileSystem {
    public:
        explicit Files(std::string executable) : m_executable(std::move(executable)) {}
        std::string ExecutablePath() override { return m_executable; }
        using HostFileSystem::OpenRead;
        std::unique_ptr<platform::IReadFile> OpenRead(std::string_view name, std::error_code& why) override
        {
            std::unique_ptr<platform::IReadFile> file = HostFileSystem::OpenRead(name, why);
            const std::optional<std::string> host = platform::ResolveHostPath(name);
            if (!file || !host) return file;
            return std::make_unique<OpenFile>(std::move(file), *this, *host);
        }

        std::map<std::string, SteppedReadFile::Step> steps;
        std::optional<std::errc> refusedLinks;

    private:
        // The step the file has when a chunk is read, and the links refused
        // when one is made, as a disk or a close acts on an open file too.
        class OpenFile : public SteppedReadFile {
        public:
            OpenFile(std::unique_ptr<platform::IReadFile> file, const Files& files, std::string path)
                : SteppedReadFile(std::move(file), [&files, path = std::move(path)](std::size_t bytes) {
                      const auto step = files.steps.find(path);
                      return step != files.steps.end() && step->second ? step->second(bytes) : platform::ReadResult::Done;
                  }),
                  m_files(files)
            {
            }
            bool Link(std::string_view to, std::error_code& why) override
            {
                if (!m_files.refusedLinks) return SteppedReadFile::Link(to, why);
                why = std::make_error_code(*m_files.refusedLinks);
                return false;
            }

        private:
            const Files& m_files;
        };

        std::string m_executable;
    };

    std::string m_savedDir;
    Files* m_files = nullptr;
};
