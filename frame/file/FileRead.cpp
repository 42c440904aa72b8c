#include <cinttypes>
#include <cstdio>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <set>
#include <string>

#include "frame/file/Archive.h"
#include "frame/file/File.h"
#include "frame/file/Scramble.h"
#include "platform/FileSystem.h"

namespace kivotasuGameKit {

using platform::ReadResult;

namespace {

ReadResult Failed(ReadFailure* failure, ReadFailure why)
{
    if (failure) *failure = why;
    return ReadResult::Failed;
}

// Said once a run for each archive, as every look-up passes by it.
void SayTooManyEntries(const std::string& archiveName, std::uint32_t count)
{
    static std::mutex guard;
    static std::set<std::string> said;
    {
        const std::lock_guard lock(guard);
        if (!said.insert(archiveName).second) return;
    }
    SayRefusal(CTextString("アーカイブの目録が大きすぎて使えません: " + archiveName + " は " + std::to_string(count) +
                           " 件あり、上限の " + std::to_string(CArchive::MostEntries) + " 件を超えています。"));
}

// The archive of the nearest enclosing folder that holds path as a member:
// for Z:\g\data\bg\a.bmp first Z:\g\data\bg.dat (a.bmp), then Z:\g\data.dat
// (bg\a.bmp), then Z:\g.dat (data\bg\a.bmp); none at the drive root. An
// archive that cannot be opened, read or searched counts as absent: Failed
// when none holds it.
struct FoundMember {
    std::unique_ptr<platform::IReadFile> file;
    CArchive archive;
    ArchiveEntry entry;
};

ReadResult FindMember(const std::string& name, FoundMember& found)
{
    // The walk goes through the folders that the member rule sees, with a
    // doubled separator as one (a network path keeps its two in front).
    const std::string path = FoldSeparators(name, 2);
    std::string dir = path;
    if (CFile::ToParentFolder(dir) != 0) return ReadResult::Failed;
    for (;;) {
        std::string up = dir;
        if (CFile::ToParentFolder(up) != 0 || up == dir) return ReadResult::Failed;
        if (dir.size() > path.size() || path.compare(0, dir.size(), dir) != 0) return ReadResult::Failed;
        const std::string member = path.substr(dir.size());
        const std::string archiveName = dir.substr(0, dir.size() - 1) + ".dat";
        found.file = platform::FileSystem().OpenRead(archiveName);
        const CArchive::OpenResult opened = found.file ? found.archive.Open(*found.file) : CArchive::OpenResult::NoArchive;
        if (opened == CArchive::OpenResult::TooManyEntries) SayTooManyEntries(archiveName, found.archive.GetCount());
        if (opened == CArchive::OpenResult::Opened) {
            const ReadResult sought = found.archive.Find(member, found.entry);
            if (sought == ReadResult::Interrupted) return sought;
            if (sought == ReadResult::Done && found.archive.IsUsable(found.entry)) return sought;
        }
        dir = std::move(up);
    }
}

// The bytes of a scrambled file behind its magic, unscrambled as they are read.
class UnscrambledReadFile : public platform::IReadFile {
public:
    explicit UnscrambledReadFile(std::unique_ptr<platform::IReadFile> stored) : m_stored(std::move(stored)) {}

    std::optional<std::uint64_t> Size() override
    {
        const std::optional<std::uint64_t> size = m_stored->Size();
        return size ? std::optional(*size - ScrambleMagicSize) : std::nullopt;
    }
    bool Seek(std::uint64_t offset) override { return m_stored->Seek(offset + ScrambleMagicSize); }
    bool Close() override { return m_stored->Close(); }

protected:
    ReadResult ReadChunk(void* buffer, std::size_t n) override
    {
        const ReadResult read = m_stored->Read(buffer, n);
        if (read == ReadResult::Done) Unscramble(static_cast<std::uint8_t*>(buffer), n);
        return read;
    }

private:
    std::unique_ptr<platform::IReadFile> m_stored;
};

} // namespace

std::unique_ptr<platform::IReadFile> CFile::OpenOnDisk(const std::string& name)
{
    std::unique_ptr<platform::IReadFile> file = platform::FileSystem().OpenRead(NormalizePath(name));
    if (!file) return nullptr;
    // The magic is looked for through the open that serves the bytes.
    std::uint8_t start[ScrambleMagicSize];
    if (file->Read(start, sizeof start) == ReadResult::Done && HasScrambleMagic(start, sizeof start))
        return std::make_unique<UnscrambledReadFile>(std::move(file));
    return file->Seek(0) ? std::move(file) : nullptr;
}

ReadResult CFile::Find(const std::string& name)
{
    if (name.empty()) return ReadResult::Failed;
    if (name[0] == '!' && CMemoryName::IsLive(name)) return ReadResult::Done;
    const std::string path = NormalizePath(name);
    if (platform::FileSystem().Exists(path)) return ReadResult::Done;
    FoundMember member;
    return FindMember(path, member);
}

ReadResult CFile::InnerRead(CFile& file, const std::string& name, std::uint64_t mostBytes, std::uint64_t* sizeFound,
                            ReadFailure* failure)
{
    if (name.empty()) return Failed(failure, ReadFailure::NoName);
    file.CloseAll();

    if (name[0] == '!' && CMemoryName::IsLive(name)) {
        std::uintptr_t address = 0;
        std::uint32_t size = 0;
        if (std::sscanf(name.c_str(), "!%" SCNxPTR ",%" SCNx32, &address, &size) != 2) return Failed(failure, ReadFailure::BadMemoryName);
        if (sizeFound) *sizeFound = size;
        if (size > mostBytes) return Failed(failure, ReadFailure::OverBound);
        file.m_name = name;
        file.m_data = reinterpret_cast<std::uint8_t*>(address);
        file.m_size = size;
        file.m_pos = file.m_data;
        file.m_borrowed = true;
        return ReadResult::Done;
    }

    const std::string path = NormalizePath(name);
    std::unique_ptr<platform::IReadFile> plain = platform::FileSystem().OpenRead(path);
    if (plain) return file.ReadOpened(name, *plain, nullptr, nullptr, mostBytes, sizeFound, failure);
    FoundMember member;
    if (const ReadResult found = FindMember(path, member); found != ReadResult::Done)
        return found == ReadResult::Failed ? Failed(failure, ReadFailure::NotFound) : found;
    return file.ReadOpened(name, *member.file, &member.archive, &member.entry, mostBytes, sizeFound, failure);
}

ReadResult CFile::ReadOnDisk(const std::string& name, std::uint64_t mostBytes, std::uint64_t& size,
                             std::error_code& why, ReadFailure* failure)
{
    CloseAll();
    if (name.empty()) return Failed(failure, ReadFailure::NoName);
    std::unique_ptr<platform::IReadFile> in = platform::FileSystem().OpenRead(NormalizePath(name), why);
    if (!in) return Failed(failure, ReadFailure::NotFound);
    const ReadResult read = ReadOpened(name, *in, nullptr, nullptr, mostBytes, &size, failure, true);
    if (read == ReadResult::Interrupted) m_unread = std::move(in);
    return read;
}

ReadResult CFile::ReadOpened(const std::string& name, platform::IReadFile& in, CArchive* archive,
                             const ArchiveEntry* member, std::uint64_t mostBytes, std::uint64_t* sizeFound,
                             ReadFailure* failure, bool keepInterrupted)
{
    std::uint64_t size = 0;
    if (member) {
        size = member->size;
    } else {
        const std::optional<std::uint64_t> fileSize = in.Size();
        if (!fileSize) return Failed(failure, ReadFailure::SizeUnknown);
        size = *fileSize;
    }
    if (sizeFound) *sizeFound = size;
    if (size > mostBytes) return Failed(failure, ReadFailure::OverBound);
    if (size >= UINT32_MAX) return Failed(failure, ReadFailure::SizeUnknown);

    std::unique_ptr<std::uint8_t[]> block(new (std::nothrow) std::uint8_t[std::size_t(size) + 1]);
    if (!block) return Failed(failure, ReadFailure::NoMemory);
    block[size] = 0;
    std::size_t done = 0;
    const ReadResult read = member ? archive->ReadMember(*member, block.get()) : in.Read(block.get(), size, &done);
    if (read == ReadResult::Failed) return Failed(failure, ReadFailure::Unreadable);
    if (read == ReadResult::Interrupted && keepInterrupted) {
        m_name = name;
        m_data = block.release();
        m_size = std::uint32_t(done);
        m_pos = m_data;
    }
    if (read != ReadResult::Done) return read;
    if (!in.Close()) return Failed(failure, ReadFailure::CloseFailed);

    m_name = name;
    m_data = block.release();
    m_size = std::uint32_t(size);
    m_fromArchive = member != nullptr;
    if (HasScrambleMagic(m_data, size)) {
        Unscramble(m_data + ScrambleMagicSize, size - ScrambleMagicSize);
        m_scrambled = true;
    }
    m_pos = GetMemory();
    return ReadResult::Done;
}

} // namespace kivotasuGameKit
