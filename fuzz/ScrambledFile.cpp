// Data files that may be scrambled: the bytes are the file Z:\f.txt, read
// through the file layer, served as lines and quoted texts, then scrambled
// again, which must give back a scrambled file of the same data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "frame/file/File.h"
#include "frame/file/Scramble.h"
#include "platform/MemoryFileSystem.h"

using namespace kivotasuGameKit;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static platform::MemoryFileSystem& files = platform::MemoryFileSystem::Install();
    files.Put("Z:\\f.txt", std::string_view(reinterpret_cast<const char*>(data), size));

    CFile file;
    if (file.Read("Z:\\f.txt", FileKind::Text) != platform::ReadResult::Done) std::abort();
    const std::string plain(reinterpret_cast<const char*>(file.GetMemory()), file.GetSize());

    std::string line;
    while (file.ReadLine(line) == 0) {
    }
    file.Rewind();
    std::vector<char> quoted(plain.size() + 1);
    while (file.ReadQuotedText(quoted.data(), 256) == 0) {
    }
    file.Rewind();
    char buffer[7];
    while (file.ReadLineToBuffer(buffer, sizeof buffer) != 1) {
    }

    if (file.Encode() != 0) {
        if (!HasScrambleMagic(reinterpret_cast<const std::uint8_t*>(plain.data()), plain.size()) &&
            !HasScrambleMagic(data, size))
            std::abort();
        return 0;
    }
    std::string again(reinterpret_cast<const char*>(file.GetMemory()), file.GetSize());
    if (again.size() != plain.size() + 4 || again.compare(0, 4, "KPK1") != 0) std::abort();
    Unscramble(reinterpret_cast<std::uint8_t*>(again.data()) + 4, plain.size());
    if (again.compare(4, std::string::npos, plain) != 0) std::abort();
    return 0;
}
