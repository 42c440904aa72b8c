#pragma once
// The system's picture decoding: JPEG through libjpeg-turbo, PNG and GIF
// through SDL2_image, each straight into 24-bit rows.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// The largest picture the player accepts: no longer side, no more pixels.
inline constexpr int MaxPictureSide = 16384;
inline constexpr std::int64_t MaxPicturePixels = std::int64_t(1) << 24;

constexpr bool IsAcceptedPictureSize(std::int64_t width, std::int64_t height)
{
    return width > 0 && height > 0 && width <= MaxPictureSide && height <= MaxPictureSide
           && width * height <= MaxPicturePixels;
}

// Rows of width x 3 bytes (blue, green, red), top row first.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rows;
};

// False when no decoder reads the data (out is then empty).
bool DecodePicture(const std::uint8_t* data, std::size_t size, DecodedPicture& out);

bool DecodeJpeg(const std::uint8_t* data, std::size_t size, DecodedPicture& out);
bool DecodePngOrGif(const std::uint8_t* data, std::size_t size, DecodedPicture& out);

} // namespace platform
