#pragma once

// The fuzzed bytes copied into a buffer of exactly their size, so that a read
// past them shows, and named so that the file layer reads them from memory.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <string>

#include "frame/file/File.h"

struct ExactCopy {
    ExactCopy(const std::uint8_t* data, std::size_t size) : bytes(new std::uint8_t[size ? size : 1]), size(size)
    {
        if (size) std::memcpy(bytes.get(), data, size);
    }
    // The loader's file name for the copy: a memory name with a suffix.
    std::string Name(const char* suffix) { return names.emplace_back(bytes.get(), size, suffix).Get(); }
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size;
    std::deque<kivotasuGameKit::CMemoryName> names;
};
