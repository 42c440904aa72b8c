#include "platform/CursorFile.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

namespace platform {

namespace {

// A bounded view of the bytes; every read checks its range.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::size_t Size() const { return m_size; }
    bool Has(std::size_t at, std::size_t count) const { return at <= m_size && count <= m_size - at; }
    std::uint32_t U8(std::size_t at) const { return m_data[at]; }
    std::uint32_t U16(std::size_t at) const { return m_data[at] | m_data[at + 1] << 8; }
    std::uint32_t U32(std::size_t at) const { return U16(at) | U16(at + 2) << 16; }
    std::int32_t I32(std::size_t at) const { return std::int32_t(U32(at)); }
    bool Is(std::size_t at, std::string_view tag) const
    {
        return Has(at, tag.size()) && std::memcmp(m_data + at, tag.data(), tag.size()) == 0;
    }
    Bytes Part(std::size_t at, std::size_t count) const { return Bytes(m_data + at, count); }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
};

constexpr std::size_t DirectoryEntry = 16;
constexpr std::size_t InfoHeader = 40;

// The image of a directory entry: a device-independent bitmap whose height
// counts the colour rows and the AND mask below them.
std::optional<CursorImage> ReadImage(const Bytes& image)
{
    if (!image.Has(0, InfoHeader) || image.U32(0) < InfoHeader) return std::nullopt; // PNG entries among them
    const std::size_t header = image.U32(0);
    const std::int32_t width = image.I32(4), doubled = image.I32(8);
    const std::uint32_t planes = image.U16(12), bits = image.U16(14), compression = image.U32(16);
    if (width <= 0 || width > MaxCursorSide || doubled <= 0 || doubled % 2 != 0 || doubled / 2 > MaxCursorSide) return std::nullopt;
    if (planes != 1 || compression != 0) return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
    const int height = doubled / 2;

    std::size_t colours = 0;
    if (bits <= 8) {
        const std::uint32_t used = image.U32(32);
        colours = used == 0 || used > (1u << bits) ? std::size_t(1) << bits : used;
    }
    if (!image.Has(header, colours * 4)) return std::nullopt;
    const std::size_t colourRow = (std::size_t(width) * bits + 31) / 32 * 4;
    const std::size_t maskRow = (std::size_t(width) + 31) / 32 * 4;
    const std::size_t pixels = header + colours * 4;
    const std::size_t mask = pixels + colourRow * std::size_t(height);
    if (!image.Has(pixels, colourRow * std::size_t(height))) return std::nullopt;
    // Some writers leave the mask out of 32-bit images: their alpha serves.
    const bool hasMask = image.Has(mask, maskRow * std::size_t(height));
    if (!hasMask && bits != 32) return std::nullopt;

    CursorImage out;
    out.width = width;
    out.height = height;
    out.argb.resize(std::size_t(width) * std::size_t(height));
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const std::size_t row = pixels + colourRow * std::size_t(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            std::uint32_t colour = 0;
            if (bits == 32) {
                colour = image.U32(row + std::size_t(x) * 4);
                anyAlpha = anyAlpha || (colour >> 24) != 0;
            } else if (bits == 24) {
                const std::size_t at = row + std::size_t(x) * 3;
                colour = image.U8(at) | image.U8(at + 1) << 8 | image.U8(at + 2) << 16;
            } else {
                const std::size_t bit = std::size_t(x) * bits;
                const std::uint32_t index = (image.U8(row + bit / 8) >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                colour = index < colours ? image.U32(header + index * 4) & 0xFFFFFF : 0;
            }
            out.argb[std::size_t(y) * std::size_t(width) + std::size_t(x)] = colour;
        }
    }
    // Without an alpha channel the AND mask says which pixels are seen.
    for (int y = 0; y < height; ++y) {
        const std::size_t row = mask + maskRow * std::size_t(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            std::uint32_t& pixel = out.argb[std::size_t(y) * std::size_t(width) + std::size_t(x)];
            if (anyAlpha) continue;
            const bool transparent = hasMask && (image.U8(row + std::size_t(x) / 8) >> (7 - x % 8)) & 1;
            pixel = transparent ? 0 : (pixel & 0xFFFFFF) | 0xFF000000;
        }
    }
    return out;
}

// A .cur or .ico file: the entry with the most pixels, then the most bits.
std::optional<CursorImage> ReadIconFile(const Bytes& file)
{
    if (!file.Has(0, 6) || file.U16(0) != 0 || (file.U16(2) != 1 && file.U16(2) != 2)) return std::nullopt;
    const bool cursor = file.U16(2) == 2;
    const std::size_t count = file.U16(4);
    if (count == 0 || !file.Has(6, count * DirectoryEntry)) return std::nullopt;
    std::optional<CursorImage> best;
    for (std::size_t n = 0; n < count; ++n) {
        const std::size_t entry = 6 + n * DirectoryEntry;
        const std::size_t size = file.U32(entry + 8), offset = file.U32(entry + 12);
        if (!file.Has(offset, size)) continue;
        std::optional<CursorImage> image = ReadImage(file.Part(offset, size));
        if (!image) continue;
        // An icon's hotspot is its centre; a cursor's is in the entry.
        image->hotX = cursor ? int(file.U16(entry + 4)) : image->width / 2;
        image->hotY = cursor ? int(file.U16(entry + 6)) : image->height / 2;
        image->hotX = std::min(image->hotX, image->width - 1);
        image->hotY = std::min(image->hotY, image->height - 1);
        if (!best || std::size_t(image->width) * std::size_t(image->height) > best->argb.size()) best = std::move(image);
    }
    return best;
}

// The chunks of a RIFF list from at to end, each handed (id offset, data
// offset, data size); false when one overruns the list.
template <class Visit> bool ForEachChunk(const Bytes& file, std::size_t at, std::size_t end, Visit visit)
{
    while (at < end) {
        if (end - at < 8) return false;
        const std::size_t size = file.U32(at + 4);
        if (size > end - at - 8) return false;
        if (!visit(at, at + 8, size)) return false;
        at += 8 + size + (size & 1);
    }
    return true;
}

bool ReadAnimated(const Bytes& file, CursorAnimation& out)
{
    const std::size_t end = std::min<std::size_t>(file.Size(), std::size_t(file.U32(4)) + 8);
    std::uint32_t frames = 0, steps = 0, jiffies = 0;
    bool header = false;
    std::vector<std::uint32_t> rates, sequence;
    const bool whole = ForEachChunk(file, 12, end, [&](std::size_t id, std::size_t data, std::size_t size) {
        if (file.Is(id, "anih")) {
            if (size < 36) return false;
            frames = file.U32(data + 4), steps = file.U32(data + 8), jiffies = file.U32(data + 28);
            header = true;
            if (frames == 0 || frames > MaxCursorFrames || steps == 0 || steps > MaxCursorSteps) return false;
            // Frames given as raw bitmaps, not icon files, are not read.
            return (file.U32(data + 32) & 1) != 0;
        }
        if (file.Is(id, "rate") || file.Is(id, "seq ")) {
            if (!header || size < std::size_t(steps) * 4) return false;
            auto& list = file.Is(id, "rate") ? rates : sequence;
            list.clear();
            for (std::size_t step = 0; step < steps; ++step) list.push_back(file.U32(data + step * 4));
            return true;
        }
        if (file.Is(id, "LIST") && size >= 4 && file.Is(data, "fram")) {
            return ForEachChunk(file, data + 4, data + size, [&](std::size_t icon, std::size_t at, std::size_t length) {
                if (!file.Is(icon, "icon")) return true;
                if (out.frames.size() >= MaxCursorFrames) return false;
                std::optional<CursorImage> image = ReadIconFile(file.Part(at, length));
                if (!image) return false;
                out.frames.push_back(std::move(*image));
                return true;
            });
        }
        return true;
    });
    if (!whole || !header || out.frames.size() != frames) return false;
    // A second header can change the step count after a list was read.
    if ((!rates.empty() && rates.size() != steps) || (!sequence.empty() && sequence.size() != steps)) return false;
    for (std::uint32_t step = 0; step < steps; ++step) {
        const std::uint32_t frame = sequence.empty() ? step % frames : sequence[step];
        if (frame >= frames) return false;
        out.steps.push_back({frame, std::max<std::uint32_t>(1, rates.empty() ? jiffies : rates[step])});
    }
    return true;
}

} // namespace

bool ReadCursorFile(const std::uint8_t* data, std::size_t size, CursorAnimation& out)
{
    out = {};
    if (!data) return false;
    const Bytes file(data, size);
    bool read = false;
    if (file.Is(0, "RIFF") && file.Is(8, "ACON")) {
        read = ReadAnimated(file, out);
    } else if (std::optional<CursorImage> image = ReadIconFile(file)) {
        out.frames.push_back(std::move(*image));
        out.steps.push_back({0, 1});
        read = true;
    }
    if (!read) out = {};
    return read;
}

} // namespace platform
