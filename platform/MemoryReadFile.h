#pragma once

#include <cstring>
#include <string_view>

#include "platform/FileSystem.h"

namespace platform {

// Bytes in memory read as a file (not owned): archives in tests and fuzzing.
class MemoryReadFile : public IReadFile {
public:
    explicit MemoryReadFile(std::string_view bytes) : m_bytes(bytes) {}

    std::optional<std::uint64_t> Size() override { return m_bytes.size(); }
    bool Seek(std::uint64_t offset) override
    {
        if (offset > m_bytes.size()) return false;
        m_position = std::size_t(offset);
        return true;
    }
    bool Close() override { return true; }

protected:
    ReadResult ReadChunk(void* buffer, std::size_t n) override
    {
        if (n > m_bytes.size() - m_position) return ReadResult::Failed;
        if (n > 0) std::memcpy(buffer, m_bytes.data() + m_position, n);
        m_position += n;
        return ReadResult::Done;
    }

private:
    std::string_view m_bytes;
    std::size_t m_position = 0;
};

} // namespace platform
