#pragma once
// Pictures written by the player's own tools (the demo game's art) and tests:
// 24-bit rows (blue, green, red; top row first) into JPEG or PNG files.

#include <cstdint>
#include <vector>

#include "platform/PictureDecoder.h"

namespace platform {

bool EncodeJpeg(const DecodedPicture& picture, int quality, std::vector<std::uint8_t>& out);
bool EncodePng(const DecodedPicture& picture, std::vector<std::uint8_t>& out);

} // namespace platform
