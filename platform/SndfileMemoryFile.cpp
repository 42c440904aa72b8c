#include "platform/SndfileMemoryFile.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

SndfileMemoryFile& Of(void* user) { return *static_cast<SndfileMemoryFile*>(user); }

sf_count_t Length(void* user) { return sf_count_t(Of(user).head.size() + Of(user).bytes.size() + Of(user).tail.size()); }

sf_count_t Seek(sf_count_t offset, int whence, void* user)
{
    SndfileMemoryFile& file = Of(user);
    const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? file.position : Length(user);
    // Only a file being written may be sought past its end.
    if (base + offset < 0 || (!file.growing && base + offset > Length(user)))
        return -1;
    return file.position = base + offset;
}

sf_count_t Read(void* buffer, sf_count_t n, void* user)
{
    SndfileMemoryFile& file = Of(user);
    n = std::clamp<sf_count_t>(Length(user) - file.position, 0, n);
    auto* out = static_cast<std::uint8_t*>(buffer);
    sf_count_t start = 0;
    for (std::span<const std::uint8_t> piece : {file.head, file.bytes, file.tail}) {
        const sf_count_t end = start + sf_count_t(piece.size());
        const sf_count_t from = std::clamp(file.position, start, end);
        const sf_count_t to = std::clamp(file.position + n, start, end);
        if (to > from)
            std::memcpy(out + (from - file.position), piece.data() + (from - start), std::size_t(to - from));
        start = end;
    }
    file.position += n;
    return n;
}

sf_count_t Write(const void* buffer, sf_count_t n, void* user)
{
    SndfileMemoryFile& file = Of(user);
    if (!file.growing)
        return 0;
    std::vector<std::uint8_t>& bytes = *file.growing;
    if (bytes.size() < std::size_t(file.position + n))
        bytes.resize(std::size_t(file.position + n));
    std::memcpy(bytes.data() + file.position, buffer, std::size_t(n));
    file.bytes = bytes;
    file.position += n;
    return n;
}

sf_count_t Tell(void* user) { return Of(user).position; }

SF_VIRTUAL_IO MemoryIo{Length, Seek, Read, Write, Tell};

} // namespace

SNDFILE* SndfileMemoryFile::Open(int mode, SF_INFO& info)
{
    if (growing)
        bytes = *growing;
    return sf_open_virtual(&MemoryIo, mode, &info, this);
}

} // namespace platform
