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

} // namespace

bool DecodePngOrGif(const std::uint8_t* data, std::size_t size, DecodedPicture& out)
{
    if (size > std::size_t(INT32_MAX))
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
