#include "platform/PictureDecoder.h"

#include "platform/JpegErrors.h"

namespace platform {

namespace {

void Silence(j_common_ptr, int) {}

// Everything libjpeg touches lives here, so a longjmp out of it skips no
// destructor.
bool Decode(jpeg_decompress_struct& info, const std::uint8_t* data, std::size_t size, DecodedPicture& out)
{
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
    if (!IsAcceptedPictureSize(info.image_width, info.image_height))
        return false;
    // libjpeg-turbo writes blue, green, red itself: no pass over the rows after.
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    const std::size_t pitch = std::size_t(out.width) * 3;
    out.rows.resize(pitch * std::size_t(out.height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.rows.data() + pitch * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

bool DecodeJpeg(const std::uint8_t* data, std::size_t size, DecodedPicture& out)
{
    if (size < 3 || data[0] != 0xFF || data[1] != 0xD8 || data[2] != 0xFF)
        return false;
    jpeg_decompress_struct info;
    JpegErrors errors;
    info.err = UseJpegErrors(errors);
    errors.base.emit_message = Silence;
    if (setjmp(errors.escape)) {
        jpeg_destroy_decompress(&info);
        out = DecodedPicture();
        return false;
    }
    jpeg_create_decompress(&info);
    const bool decoded = Decode(info, data, size, out);
    jpeg_destroy_decompress(&info);
    if (!decoded)
        out = DecodedPicture();
    return decoded;
}

} // namespace platform
