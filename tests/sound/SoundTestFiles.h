#pragma once

#include <cstdio>
#include <string>

// The internal name under which the file layer reads bytes straight from
// memory (the block must outlive the reads): what an archive member gives a
// reader, without the archive.
inline std::string MemoryName(const std::string& bytes)
{
    char name[64];
    std::snprintf(name, sizeof name, "!%zx,%zx", reinterpret_cast<std::size_t>(bytes.data()), bytes.size());
    return name;
}
