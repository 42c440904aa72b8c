#pragma once

#include <cstdint>

#include "platform/FileSystem.h"

// Another file read through, counting the bytes asked of it: what a look-up
// costs, whatever the clock says.
class CountingReadFile : public platform::IReadFile {
public:
    explicit CountingReadFile(platform::IReadFile& inner) : m_inner(inner) {}

    std::optional<std::uint64_t> Size() override { return m_inner.Size(); }
    bool Seek(std::uint64_t offset) override { return m_inner.Seek(offset); }
    bool Close() override { return m_inner.Close(); }

    std::uint64_t bytes = 0;

protected:
    platform::ReadResult ReadChunk(void* buffer, std::size_t n) override
    {
        bytes += n;
        return m_inner.Read(buffer, n);
    }

private:
    platform::IReadFile& m_inner;
};
