#pragma once

#include <memory>

#include "platform/FileSystem.h"
#include "platform/HostFileSystem.h"

// The host file system with writes that break on purpose: a full disk (Write
// fails) or a crash before the file is put in place (Commit never happens).
// Installed for the life of the object.
class FaultyFileSystem : public platform::HostFileSystem {
public:
    enum class Fault { None, Write, Commit };

    explicit FaultyFileSystem(Fault* fault) : m_fault(fault) {}

    static Fault& Install()
    {
        static Fault fault;
        fault = Fault::None;
        platform::InstallFileSystem(std::make_unique<FaultyFileSystem>(&fault));
        return fault;
    }
    static void Uninstall() { platform::InstallFileSystem(nullptr); }

    using HostFileSystem::CreateWrite;
    std::unique_ptr<platform::IWriteFile> CreateWrite(std::string_view name, std::error_code& why) override
    {
        std::unique_ptr<platform::IWriteFile> inner = HostFileSystem::CreateWrite(name, why);
        if (!inner) return nullptr;
        return std::make_unique<FaultyWrite>(std::move(inner), m_fault);
    }

private:
    class FaultyWrite : public platform::IWriteFile {
    public:
        FaultyWrite(std::unique_ptr<platform::IWriteFile> inner, Fault* fault) : m_inner(std::move(inner)), m_fault(fault) {}
        bool Write(const void* buffer, std::size_t n) override
        {
            return *m_fault != Fault::Write && m_inner->Write(buffer, n);
        }
        bool Commit() override { return *m_fault != Fault::Commit && m_inner->Commit(); }
        std::error_code Failure() const override
        {
            return *m_fault == Fault::None ? m_inner->Failure() : std::make_error_code(std::errc::io_error);
        }

    private:
        std::unique_ptr<platform::IWriteFile> m_inner;
        Fault* m_fault;
    };

    Fault* m_fault;
};
