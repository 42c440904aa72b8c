#pragma once

#include <cstddef>
#include <cstdint>

namespace kivotasuGameKit {

// A zero-filled memory block in which a whole file is put together before it
// is written in one piece.
class CGlobalBlock {
public:
    CGlobalBlock() = default;
    CGlobalBlock(const CGlobalBlock&) = delete;
    CGlobalBlock& operator=(const CGlobalBlock&) = delete;
    ~CGlobalBlock() { Free(); }

    // Replaces any earlier block; throws std::bad_alloc ("bad allocation").
    void Alloc(std::size_t size);
    // Copies n bytes to block + offset; a range outside the block throws
    // KTL::CIndexOutOfBoundsException.
    void Write(std::size_t offset, const void* source, std::size_t n);
    std::uint8_t* GetPtr() const { return m_block; }
    std::size_t GetSize() const { return m_size; }
    void Free();

private:
    std::uint8_t* m_block = nullptr;
    std::size_t m_size = 0;
};

} // namespace kivotasuGameKit
