#pragma once
// libjpeg's fatal errors for the decoder and the encoder: error_exit must not
// return, so it jumps back to the setjmp of the call in progress.

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace platform {

struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf escape;
};

// The manager to store in the codec's err, before anything that can fail.
inline jpeg_error_mgr* UseJpegErrors(JpegErrors& errors)
{
    jpeg_std_error(&errors.base);
    errors.base.error_exit = [](j_common_ptr info) {
        std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->escape, 1);
    };
    return &errors.base;
}

} // namespace platform
