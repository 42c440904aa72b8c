// Archive files: the bytes are the archive Z:\g\data.dat. Every entry of its
// table is read through the file layer as Z:\g\data\<name> and straight from
// the table; the data must match.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "frame/file/Archive.h"
#include "frame/file/File.h"
#include "platform/MemoryFileSystem.h"
#include "platform/MemoryReadFile.h"

using namespace kivotasuGameKit;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static platform::MemoryFileSystem& files = platform::MemoryFileSystem::Install();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    files.Put("Z:\\g\\data.dat", bytes);

    platform::MemoryReadFile archiveFile(bytes);
    CArchive archive;
    if (archive.Open(archiveFile) != CArchive::OpenResult::Opened) return 0;
    for (std::uint32_t i = 0; i < archive.GetCount() && i < 64; ++i) {
        std::optional<ArchiveEntry> entry = archive.ReadEntry(i);
        if (!entry) break;
        using platform::ReadResult;
        CFile file;
        const ReadResult result = file.Read("Z:\\g\\data\\" + entry->name, FileKind::Text);
        if (!archive.IsUsable(*entry) || entry->name.empty()) continue;
        auto member = std::make_unique<std::uint8_t[]>(std::size_t(entry->size) + 1);
        const ReadResult direct = archive.ReadMember(*entry, member.get());
        // An earlier entry whose name matches by the member rule may win.
        ArchiveEntry winner;
        if (archive.Find(entry->name, winner) != ReadResult::Done || winner.offset != entry->offset ||
            winner.size != entry->size || winner.storedSize != entry->storedSize || result != ReadResult::Done ||
            direct != ReadResult::Done)
            continue;
        const bool scrambled = entry->size >= 4 && std::memcmp(member.get(), "KPK1", 4) == 0;
        if (!scrambled && (file.GetSize() != entry->size || std::memcmp(file.GetMemory(), member.get(), entry->size) != 0))
            std::abort();
    }
    return 0;
}
