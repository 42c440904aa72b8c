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

// path with "/" turned to "\" and each run of separators from from on made one;
// the second byte of a two-byte character is never a separator.
std::string FoldSeparators(std::string_view path, std::size_t from = 0);

// The entry table of an archive file ("kivopack", "kivopkEx", "kivopkDx").
// Nothing is trusted: the table must lie within the file, a name ends at its
// field even without a zero, and an entry is usable only when its data lie
// within the file and could expand to its size.
class CArchive {
public:
    static constexpr std::size_t HeaderSize = 12;
    // A look-up of a member the archive lacks walks the whole table: no game
    // packs this many files into one archive, and a table that claims more
    // (a file of holes, a damaged count) would hold every look-up for seconds.
    static constexpr std::uint32_t MostEntries = std::uint32_t{1} << 20;

    enum class OpenResult { Opened, NoArchive, TooManyEntries };
    // NoArchive also when the table does not fit in the file; TooManyEntries
    // when it lists more than MostEntries (GetCount tells how many).
    OpenResult Open(platform::IReadFile& file);

    ArchiveFormat GetFormat() const { return m_format; }
    std::uint32_t GetCount() const { return m_count; }
    static std::size_t EntrySize(ArchiveFormat format);

    // How a member name is matched, by the table and by the file layer's walk
    // alike: "/" and "\" are one separator, a run of separators is one, those
    // in front of the first name are dropped, and ASCII letters match in either
    // case (the second byte of a two-byte character is neither). A name that
    // keeps nothing matches no member.
    static std::string MemberKey(std::string_view name);
    // Walks the table for the first entry whose key is member's key, into
    // found: Done; Failed when none is or the table cannot be read;
    // Interrupted when the close stopped the walk.
    platform::ReadResult Find(std::string_view member, ArchiveEntry& found);
    // Entry index; nothing when it cannot be read.
    std::optional<ArchiveEntry> ReadEntry(std::uint32_t index);
    bool IsUsable(const ArchiveEntry& entry) const;

    // The member's size bytes into out (expanding LZSS): Failed when a read
    // fails or the stream ends early.
    platform::ReadResult ReadMember(const ArchiveEntry& entry, std::uint8_t* out);

private:
    ArchiveEntry DecodeEntry(const std::uint8_t* bytes) const;

    platform::IReadFile* m_file = nullptr;
    std::uint64_t m_fileSize = 0;
    ArchiveFormat m_format = ArchiveFormat::Pack;
    std::uint32_t m_count = 0;
};

} // namespace kivotasuGameKit
