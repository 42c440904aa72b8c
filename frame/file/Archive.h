#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace kivotasuGameKit {

enum class ArchiveFormat { Pack, PackEx, PackDx };

// One member as its entry describes it. A member of the two later formats
// whose sizes differ is an LZSS stream.
struct ArchiveEntry {
    std::string name;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
    std::uint32_t storedSize = 0;
    bool compressed = false;
};

// The entry table of an archive file ("kivopack", "kivopkEx", "kivopkDx").
// Nothing is trusted: the table must lie within the file, a name ends at its
// field even without a zero, and an entry is usable only when its data lie
// within the file and could expand to its size.
class CArchive {
public:
    static constexpr std::size_t HeaderSize = 12;

    // False when the file is no archive or its table does not fit in it.
    bool Open(platform::IReadFile& file);

    ArchiveFormat GetFormat() const { return m_format; }
    std::uint32_t GetCount() const { return m_count; }
    static std::size_t EntrySize(ArchiveFormat format);

    // Walks the table for the first entry whose lower-cased name equals
    // memberLower; nothing when none does or the table cannot be read.
    std::optional<ArchiveEntry> Find(std::string_view memberLower);
    // Entry index; nothing when it cannot be read.
    std::optional<ArchiveEntry> ReadEntry(std::uint32_t index);
    bool IsUsable(const ArchiveEntry& entry) const;

    // The member's size bytes into out (expanding LZSS): 0, or 4 when a read
    // fails or the stream is cut short.
    int ReadMember(const ArchiveEntry& entry, std::uint8_t* out);

private:
    ArchiveEntry DecodeEntry(const std::uint8_t* bytes) const;

    platform::IReadFile* m_file = nullptr;
    std::uint64_t m_fileSize = 0;
    ArchiveFormat m_format = ArchiveFormat::Pack;
    std::uint32_t m_count = 0;
};

} // namespace kivotasuGameKit
