#include "platform/PictureEncoder.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdlib>

#include "platform/JpegErrors.h"

namespace platform {

namespace {

bool Valid(const DecodedPicture& picture)
{
    return IsAcceptedPictureSize(picture.width, picture.height)
           && picture.rows.size() >= std::size_t(picture.width) * 3 * std::size_t(picture.height);
}

} // namespace

bool EncodeJpeg(const DecodedPicture& picture, int quality, std::vector<std::uint8_t>& out)
{
    if (!Valid(picture))
        return false;
    jpeg_compress_struct info;
    JpegErrors errors;
    info.err = UseJpegErrors(errors);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(errors.escape)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(picture.width);
    info.image_height = JDIMENSION(picture.height);
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const std::size_t pitch = std::size_t(picture.width) * 3;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.rows.data() + pitch * info.next_scanline);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    out.assign(buffer, buffer + size);
    std::free(buffer);
    return true;
}

bool EncodePng(const DecodedPicture& picture, std::vector<std::uint8_t>& out)
{
    if (!Valid(picture))
        return false;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint8_t*>(picture.rows.data()), picture.width, picture.height, 24, picture.width * 3,
        SDL_PIXELFORMAT_BGR24);
    if (!surface)
        return false;
    // A growing memory stream: SDL's own needs its size up front.
    SDL_RWops* stream = SDL_AllocRW();
    bool written = false;
    if (stream) {
        stream->hidden.unknown.data1 = &out;
        stream->type = SDL_RWOPS_UNKNOWN;
        stream->size = [](SDL_RWops* rw) -> Sint64 {
            return Sint64(static_cast<std::vector<std::uint8_t>*>(rw->hidden.unknown.data1)->size());
        };
        stream->seek = [](SDL_RWops* rw, Sint64, int) -> Sint64 {
            return Sint64(static_cast<std::vector<std::uint8_t>*>(rw->hidden.unknown.data1)->size());
        };
        stream->read = [](SDL_RWops*, void*, size_t, size_t) -> size_t { return 0; };
        stream->write = [](SDL_RWops* rw, const void* data, size_t size, size_t count) -> size_t {
            auto* bytes = static_cast<std::vector<std::uint8_t>*>(rw->hidden.unknown.data1);
            const auto* from = static_cast<const std::uint8_t*>(data);
            bytes->insert(bytes->end(), from, from + size * count);
            return count;
        };
        stream->close = [](SDL_RWops* rw) -> int {
            SDL_FreeRW(rw);
            return 0;
        };
        out.clear();
        written = IMG_SavePNG_RW(surface, stream, 1) == 0;
    }
    SDL_FreeSurface(surface);
    return written;
}

} // namespace platform
