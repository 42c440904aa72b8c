#pragma once

// The fuzzed bytes copied into a buffer of exactly their size, so that a read
// past them shows, and named so that the file layer reads them from memory.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

struct ExactCopy {
    ExactCopy(const std::uint8_t* data, std::size_t size) : bytes(new std::uint8_t[size ? size : 1]), size(size)
    {
        if (size) std::memcpy(bytes.get(), data, size);
    }
    // The loader's file name for the copy: a memory name with a suffix.
    std::string Name(const char* suffix) const
    {
        char name[64];
        std::snprintf(name, sizeof name, "!%zx,%zx.%s", reinterpret_cast<std::uintptr_t>(bytes.get()), size, suffix);
        return name;
    }
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size;
};
