#include "platform/RiffWalker.h"

#include <algorithm>

namespace platform {

namespace {

constexpr std::uint32_t Riff = FourCC("RIFF");
constexpr std::uint32_t List = FourCC("LIST");

std::uint64_t PaddedEnd(const RiffChunk& chunk) { return chunk.dataOffset + chunk.size + (chunk.size & 1); }

} // namespace

RiffWalker::RiffWalker(IReadFile& file) : m_file(file), m_size(file.Size().value_or(0)) {}

bool RiffWalker::DescendRiff(std::uint32_t formType, RiffChunk& out)
{
    m_offset = 0;
    return FindFrom(m_size, Riff, formType, out);
}

bool RiffWalker::DescendChunk(std::uint32_t id, const RiffChunk& parent, RiffChunk& out)
{
    return FindFrom(std::min(parent.dataOffset + parent.size, m_size), id, 0, out);
}

void RiffWalker::Ascend(const RiffChunk& chunk) { m_offset = PaddedEnd(chunk); }

std::size_t RiffWalker::Read(void* buffer, std::size_t n)
{
    if (m_offset >= m_size)
        return 0;
    n = std::size_t(std::min<std::uint64_t>(n, m_size - m_offset));
    if (n == 0 || !m_file.Seek(m_offset) || m_file.Read(buffer, n) != ReadResult::Done)
        return 0;
    m_offset += n;
    return n;
}

bool RiffWalker::FindFrom(std::uint64_t end, std::uint32_t id, std::uint32_t formType, RiffChunk& out)
{
    const bool hasForm = id == Riff || id == List;
    while (m_offset < end && end - m_offset >= 8) {
        std::uint8_t header[12];
        const std::size_t headerSize = hasForm && end - m_offset >= 12 ? 12 : 8;
        if (!m_file.Seek(m_offset) || m_file.Read(header, headerSize) != ReadResult::Done)
            return false;
        RiffChunk chunk;
        chunk.id = LittleEndian32(header);
        chunk.size = LittleEndian32(header + 4);
        chunk.dataOffset = m_offset + 8;
        if (chunk.id == id && (!hasForm || headerSize == 12)) {
            chunk.formType = hasForm ? LittleEndian32(header + 8) : 0;
            if (!hasForm || chunk.formType == formType) {
                out = chunk;
                m_offset = chunk.dataOffset + (hasForm ? 4 : 0);
                return true;
            }
        }
        m_offset = PaddedEnd(chunk);
    }
    return false;
}

} // namespace platform
