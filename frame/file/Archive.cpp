#include "frame/file/Archive.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "frame/TextString.h"
#include "frame/file/File.h"
#include "frame/file/Lzss.h"
#include "platform/CloseLatch.h"

namespace kivotasuGameKit {

namespace {

constexpr std::uint32_t EntriesPerRead = 64;

std::uint32_t ReadWord(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

std::size_t NameFieldSize(ArchiveFormat format) { return format == ArchiveFormat::PackDx ? 256 : 32; }

} // namespace

std::string FoldSeparators(std::string_view path, std::size_t from)
{
    std::string folded;
    folded.reserve(path.size());
    bool afterSeparator = false;
    for (std::size_t i = 0; i < path.size();) {
        const std::size_t length = CharLengthAt(path, i);
        const bool separator = length == 1 && (path[i] == '\\' || path[i] == '/');
        if (!separator) folded += path.substr(i, length);
        else if (!afterSeparator || i < from) folded += '\\';
        afterSeparator = separator;
        i += length;
    }
    return folded;
}

std::string CArchive::MemberKey(std::string_view name)
{
    std::string key = FoldSeparators(name);
    if (!key.empty() && key[0] == '\\') key.erase(0, 1);
    MakeLower(key);
    return key;
}

std::size_t CArchive::EntrySize(ArchiveFormat format)
{
    switch (format) {
    case ArchiveFormat::Pack: return 40;
    case ArchiveFormat::PackEx: return 44;
    case ArchiveFormat::PackDx: return 268;
    }
    return 0;
}

CArchive::OpenResult CArchive::Open(platform::IReadFile& file)
{
    std::optional<std::uint64_t> size = file.Size();
    std::uint8_t header[HeaderSize];
    if (!size || !file.Seek(0) || file.Read(header, sizeof header) != platform::ReadResult::Done)
        return OpenResult::NoArchive;
    if (std::memcmp(header, "kivopack", 8) == 0) m_format = ArchiveFormat::Pack;
    else if (std::memcmp(header, "kivopkEx", 8) == 0) m_format = ArchiveFormat::PackEx;
    else if (std::memcmp(header, "kivopkDx", 8) == 0) m_format = ArchiveFormat::PackDx;
    else return OpenResult::NoArchive;
    m_count = ReadWord(header + 8);
    if (HeaderSize + std::uint64_t(m_count) * EntrySize(m_format) > *size) return OpenResult::NoArchive;
    if (m_count > MostEntries) return OpenResult::TooManyEntries;
    m_file = &file;
    m_fileSize = *size;
    return OpenResult::Opened;
}

ArchiveEntry CArchive::DecodeEntry(const std::uint8_t* bytes) const
{
    ArchiveEntry entry;
    const std::size_t field = NameFieldSize(m_format);
    const void* end = std::memchr(bytes, 0, field);
    entry.name.assign(reinterpret_cast<const char*>(bytes),
                      end ? std::size_t(static_cast<const std::uint8_t*>(end) - bytes) : field);
    entry.offset = ReadWord(bytes + field);
    entry.size = ReadWord(bytes + field + 4);
    entry.storedSize = m_format == ArchiveFormat::Pack ? entry.size : ReadWord(bytes + field + 8);
    entry.compressed = m_format != ArchiveFormat::Pack && entry.storedSize != entry.size;
    return entry;
}

std::optional<ArchiveEntry> CArchive::ReadEntry(std::uint32_t index)
{
    if (!m_file || index >= m_count) return std::nullopt;
    const std::size_t entrySize = EntrySize(m_format);
    std::vector<std::uint8_t> bytes(entrySize);
    if (!m_file->Seek(HeaderSize + std::uint64_t(index) * entrySize) ||
        m_file->Read(bytes.data(), entrySize) != platform::ReadResult::Done)
        return std::nullopt;
    return DecodeEntry(bytes.data());
}

platform::ReadResult CArchive::Find(std::string_view member, ArchiveEntry& found)
{
    using platform::ReadResult;
    const std::string wanted = MemberKey(member);
    if (wanted.empty() || !m_file || !m_file->Seek(HeaderSize)) return ReadResult::Failed;
    const std::size_t entrySize = EntrySize(m_format);
    std::vector<std::uint8_t> chunk;
    for (std::uint32_t first = 0; first < m_count; first += EntriesPerRead) {
        if (platform::CloseAsked()) return ReadResult::Interrupted;
        const std::uint32_t n = std::min(EntriesPerRead, m_count - first);
        chunk.resize(n * entrySize);
        if (const ReadResult read = m_file->Read(chunk.data(), chunk.size()); read != ReadResult::Done) return read;
        for (std::uint32_t i = 0; i < n; ++i) {
            ArchiveEntry entry = DecodeEntry(chunk.data() + i * entrySize);
            if (MemberKey(entry.name) == wanted) {
                found = std::move(entry);
                return ReadResult::Done;
            }
        }
    }
    return ReadResult::Failed;
}

bool CArchive::IsUsable(const ArchiveEntry& entry) const
{
    if (std::uint64_t(entry.offset) + entry.storedSize > m_fileSize) return false;
    return !entry.compressed || entry.size <= CLZSS::MaxExpandedSize(entry.storedSize);
}

platform::ReadResult CArchive::ReadMember(const ArchiveEntry& entry, std::uint8_t* out)
{
    using platform::ReadResult;
    if (!m_file || !IsUsable(entry) || !m_file->Seek(entry.offset)) return ReadResult::Failed;
    if (!entry.compressed) return m_file->Read(out, entry.size);
    std::vector<std::uint8_t> stored(entry.storedSize);
    if (const ReadResult read = m_file->Read(stored.data(), stored.size()); read != ReadResult::Done) return read;
    auto codec = std::make_unique<CLZSS>();
    return codec->DecodeInto(stored.data(), entry.storedSize, out, entry.size) == 2 ? ReadResult::Failed : ReadResult::Done;
}

} // namespace kivotasuGameKit
