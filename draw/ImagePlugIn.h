#pragma once
// The C interface of image plug-ins: shared objects "SPI/if<suffix>.so" that
// decode one more picture format. A plug-in exports the four entries below
// with C linkage; it reads only the bytes it is given and hands out its
// answers in buffers that only its own FreeBuffer releases.

#include <stdint.h>

extern "C" {

// The start of what GetPictureInfo reports; further fields are not read.
struct ImagePlugInInfo {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
};

struct ImagePlugInBuffer {
    uint8_t* data;
    uint32_t size;
};

// Non-zero stops the decoding; the player passes no callback.
typedef int32_t (*ImagePlugInProgress)(int32_t done, int32_t total, intptr_t user);

// name is null and data holds the first 2048 bytes of the file; non-zero: the
// plug-in decodes it.
typedef int32_t (*ImagePlugInIsSupported)(const char* name, const uint8_t* data);
// flag 1: the data lies in memory. 0 on success.
typedef int32_t (*ImagePlugInGetPictureInfo)(const uint8_t* data, uint32_t size, uint32_t flag,
                                             ImagePlugInInfo* info);
// 0 on success, with a bitmap info header (and colour table) and the pixel
// rows of a bottom-up bitmap, as in a BMP file.
typedef int32_t (*ImagePlugInGetPicture)(const uint8_t* data, uint32_t size, uint32_t flag,
                                         ImagePlugInBuffer** info, ImagePlugInBuffer** bits,
                                         ImagePlugInProgress progress, intptr_t user);
typedef void (*ImagePlugInFreeBuffer)(ImagePlugInBuffer* buffer);

} // extern "C"

namespace kivotasuGameKit {

// The entry names a plug-in exports.
inline constexpr const char* ImagePlugInIsSupportedName = "IsSupported";
inline constexpr const char* ImagePlugInGetPictureInfoName = "GetPictureInfo";
inline constexpr const char* ImagePlugInGetPictureName = "GetPicture";
inline constexpr const char* ImagePlugInFreeBufferName = "FreeBuffer";

// Plug-ins see only files this long, and of those only the first bytes.
inline constexpr uint32_t ImagePlugInHeadSize = 2048;

} // namespace kivotasuGameKit
