#include "platform/MemoryFileSystem.h"

#include <algorithm>

#include "platform/MemoryReadFile.h"

namespace platform {
namespace {

// Keeps the bytes alive while the file is read, whatever replaces them.
class SharedReadFile : public IReadFile {
public:
    explicit SharedReadFile(std::shared_ptr<const std::string> bytes) : m_bytes(std::move(bytes)), m_file(*m_bytes) {}

    std::optional<std::uint64_t> Size() override { return m_file.Size(); }
    bool Seek(std::uint64_t offset) override { return m_file.Seek(offset); }
    bool Close() override { return m_file.Close(); }

protected:
    ReadResult ReadChunk(void* buffer, std::size_t n) override { return m_file.Read(buffer, n); }

private:
    std::shared_ptr<const std::string> m_bytes;
    MemoryReadFile m_file;
};

} // namespace

class MemoryFileSystem::WriteFile : public IWriteFile {
public:
    WriteFile(MemoryFileSystem& files, std::string key) : m_files(files), m_key(std::move(key)) {}

    bool Write(const void* buffer, std::size_t n) override
    {
        if (!m_failure && n > m_files.m_capacity - std::min(m_files.m_capacity, m_files.StoredBytes() + m_bytes.size()))
            m_failure = std::make_error_code(std::errc::no_space_on_device);
        if (m_failure) return false;
        m_bytes.append(static_cast<const char*>(buffer), n);
        return true;
    }
    bool Commit() override
    {
        if (m_failure || m_committed) return false;
        m_failure = m_files.Store(m_key, std::move(m_bytes));
        m_committed = !m_failure;
        return m_committed;
    }
    std::error_code Failure() const override { return m_failure; }

private:
    MemoryFileSystem& m_files;
    std::string m_key;
    std::string m_bytes;
    std::error_code m_failure;
    bool m_committed = false;
};

MemoryFileSystem::MemoryFileSystem()
{
    m_folders.insert(Key("Z:"));
}

MemoryFileSystem& MemoryFileSystem::Install()
{
    auto files = std::make_unique<MemoryFileSystem>();
    MemoryFileSystem& installed = *files;
    InstallFileSystem(std::move(files));
    return installed;
}

std::string MemoryFileSystem::Key(std::string_view name)
{
    std::string key = name.size() >= 2 && name[1] == ':' ? std::string(name) : "Z:\\" + std::string(name);
    for (char& c : key) {
        if (c == '/') c = '\\';
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    }
    while (key.size() > 2 && key.back() == '\\') key.pop_back();
    return key;
}

std::string MemoryFileSystem::FolderOf(const std::string& key)
{
    const std::size_t slash = key.rfind('\\');
    return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

std::size_t MemoryFileSystem::StoredBytes() const
{
    std::size_t total = 0;
    for (const auto& [key, file] : m_files) total += file.bytes->size();
    return total;
}

std::error_code MemoryFileSystem::Refusal(const std::string& key) const
{
    if (m_readOnly) return std::make_error_code(std::errc::read_only_file_system);
    if (!HasFolder(FolderOf(key))) return std::make_error_code(std::errc::no_such_file_or_directory);
    if (HasFolder(key)) return std::make_error_code(std::errc::is_a_directory);
    return {};
}

std::error_code MemoryFileSystem::Store(const std::string& key, std::string bytes)
{
    if (const std::error_code refused = Refusal(key)) return refused;
    m_files[key] = File{std::make_shared<const std::string>(std::move(bytes)), m_now};
    return {};
}

void MemoryFileSystem::Put(std::string_view name, std::string_view bytes)
{
    const std::string key = Key(name);
    for (std::string folder = FolderOf(key); !folder.empty() && m_folders.insert(folder).second;) folder = FolderOf(folder);
    m_files[key] = File{std::make_shared<const std::string>(bytes), m_now};
}

std::string MemoryFileSystem::Get(std::string_view name) const
{
    auto found = m_files.find(Key(name));
    return found == m_files.end() ? std::string() : *found->second.bytes;
}

std::unique_ptr<IReadFile> MemoryFileSystem::OpenRead(std::string_view name, std::error_code& why)
{
    const std::string key = Key(name);
    auto found = m_files.find(key);
    if (found == m_files.end()) {
        why = std::make_error_code(HasFolder(key) ? std::errc::is_a_directory : std::errc::no_such_file_or_directory);
        return nullptr;
    }
    return std::make_unique<SharedReadFile>(found->second.bytes);
}

std::unique_ptr<IWriteFile> MemoryFileSystem::CreateWrite(std::string_view name, std::error_code& why)
{
    std::string key = Key(name);
    why = Refusal(key);
    if (why) return nullptr;
    return std::make_unique<WriteFile>(*this, std::move(key));
}

std::FILE* MemoryFileSystem::OpenStream(std::string_view, std::string_view)
{
    return nullptr;
}

bool MemoryFileSystem::Delete(std::string_view name)
{
    return !m_readOnly && m_files.erase(Key(name)) != 0;
}

bool MemoryFileSystem::Rename(std::string_view from, std::string_view to)
{
    auto found = m_files.find(Key(from));
    const std::string target = Key(to);
    if (m_readOnly || found == m_files.end() || !HasFolder(FolderOf(target)) || HasFolder(target)) return false;
    File file = std::move(found->second);
    m_files.erase(found);
    m_files[target] = std::move(file);
    return true;
}

bool MemoryFileSystem::CreateFolder(std::string_view name)
{
    const std::string key = Key(name);
    if (m_readOnly || !HasFolder(FolderOf(key)) || m_files.count(key) != 0) return false;
    return m_folders.insert(key).second;
}

std::optional<LocalTime> MemoryFileSystem::LastWriteTime(std::string_view name)
{
    auto found = m_files.find(Key(name));
    if (found == m_files.end()) return std::nullopt;
    return found->second.written;
}

bool MemoryFileSystem::Exists(std::string_view name)
{
    const std::string key = Key(name);
    return m_files.count(key) != 0 || HasFolder(key);
}

} // namespace platform
