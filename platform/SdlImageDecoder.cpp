#include "platform/PictureDecoder.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>

namespace platform {

namespace {

struct SurfaceOwner {
    SDL_Surface* surface;
    ~SurfaceOwner()
    {
        if (surface)
            SDL_FreeSurface(surface);
    }
};

std::uint32_t Big32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

std::uint16_t Little16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }

// SDL_image allocates (and clears) the picture its header declares before it
// reads a pixel, so a few bytes could claim gigabytes: the size is checked first.
// SDL_image sizes a GIF by its first image, not by its screen.
bool DeclaresRefusedSize(const std::uint8_t* data, std::size_t size)
{
    static constexpr std::uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size >= 24 && std::memcmp(data, PngSignature, 8) == 0 && std::memcmp(data + 12, "IHDR", 4) == 0)
        return !IsAcceptedPictureSize(Big32(data + 16), Big32(data + 20));
    if (size < 13 || std::memcmp(data, "GIF", 3) != 0)
        return false;
    std::size_t at = 13;
    if (data[10] & 0x80)
        at += std::size_t(3) << ((data[10] & 7) + 1);
    while (at < size) {
        if (data[at] == 0x2C)
            return at + 9 <= size && !IsAcceptedPictureSize(Little16(data + at + 5), Little16(data + at + 7));
        if (data[at] != 0x21)
            return false;
        at += 2; // introducer and label, then sub-blocks up to an empty one
        while (at < size && data[at] != 0)
            at += data[at] + 1u;
        ++at;
    }
    return false;
}

} // namespace

bool DecodePngOrGif(const std::uint8_t* data, std::size_t size, DecodedPicture& out)
{
    if (size > std::size_t(INT32_MAX) || DeclaresRefusedSize(data, size))
        return false;
    SDL_RWops* stream = SDL_RWFromConstMem(data, static_cast<int>(size));
    if (!stream)
        return false;
    SDL_Surface* loaded = nullptr;
    if (IMG_isPNG(stream))
        loaded = IMG_LoadPNG_RW(stream);
    else if (IMG_isGIF(stream))
        loaded = IMG_LoadGIF_RW(stream);
    SDL_RWclose(stream);
    SurfaceOwner decoded{loaded};
    if (!loaded || !IsAcceptedPictureSize(loaded->w, loaded->h))
        return false;
    // Drawn into a 24-bit picture, as the system's picture object draws: alpha goes.
    SurfaceOwner rows{SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_BGR24, 0)};
    if (!rows.surface)
        return false;
    out.width = loaded->w;
    out.height = loaded->h;
    const std::size_t pitch = std::size_t(out.width) * 3;
    out.rows.resize(pitch * std::size_t(out.height));
    for (int y = 0; y < out.height; ++y)
        std::memcpy(out.rows.data() + pitch * y,
                    static_cast<const std::uint8_t*>(rows.surface->pixels) + std::ptrdiff_t(y) * rows.surface->pitch,
                    pitch);
    return true;
}

bool DecodePicture(const std::uint8_t* data, std::size_t size, DecodedPicture& out)
{
    return DecodeJpeg(data, size, out) || DecodePngOrGif(data, size, out);
}

} // namespace platform
