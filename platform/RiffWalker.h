#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/FileSystem.h"

namespace platform {

constexpr std::uint32_t FourCC(const char (&code)[5])
{
    return std::uint32_t(std::uint8_t(code[0])) | std::uint32_t(std::uint8_t(code[1])) << 8
           | std::uint32_t(std::uint8_t(code[2])) << 16 | std::uint32_t(std::uint8_t(code[3])) << 24;
}

constexpr std::uint32_t LittleEndian32(const std::uint8_t* bytes)
{
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16
           | std::uint32_t(bytes[3]) << 24;
}

// One chunk found by the walker. dataOffset is the file offset behind the size
// field (a RIFF or LIST chunk's form type is the first thing there).
struct RiffChunk {
    std::uint32_t id = 0;
    std::uint32_t size = 0;
    std::uint32_t formType = 0;
    std::uint64_t dataOffset = 0;
};

// Walks the chunks of a RIFF file in the manner of the multimedia file
// functions: searches only go forward from the current offset, a chunk of odd
// size is followed by one pad byte, and no read goes past the file's end,
// whatever a chunk's size says.
class RiffWalker {
public:
    // The file must stay open and know its size while the walker is used.
    explicit RiffWalker(IReadFile& file);

    // From the start of the file: the first "RIFF" chunk of that form type;
    // the walker then stands behind the form type.
    bool DescendRiff(std::uint32_t formType, RiffChunk& out);
    // From the current offset to the parent's end: the first chunk of that id;
    // the walker then stands at its data.
    bool DescendChunk(std::uint32_t id, const RiffChunk& parent, RiffChunk& out);
    // Behind the chunk and its pad byte.
    void Ascend(const RiffChunk& chunk);
    // Up to n bytes from the current offset, fewer at the end of the file.
    std::size_t Read(void* buffer, std::size_t n);

    std::uint64_t Offset() const { return m_offset; }
    std::uint64_t FileSize() const { return m_size; }

private:
    bool FindFrom(std::uint64_t end, std::uint32_t id, std::uint32_t formType, RiffChunk& out);

    IReadFile& m_file;
    std::uint64_t m_size = 0;
    std::uint64_t m_offset = 0;
};

} // namespace platform
