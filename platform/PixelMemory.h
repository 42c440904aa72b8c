#pragma once
// Zeroed memory for the pixels of planes and surfaces. Screen-sized blocks
// come and go with every window, transition and run of the engine, and fresh
// pages of that size cost a fault each; so a dropped block waits, poisoned
// for the address sanitizer, for the next request of its size.

#include <cstddef>
#include <cstdint>

namespace platform {

class PixelMemory {
public:
    PixelMemory() = default;
    // Throws std::bad_alloc.
    explicit PixelMemory(std::size_t bytes);
    PixelMemory(PixelMemory&& other) noexcept;
    PixelMemory& operator=(PixelMemory&& other) noexcept;
    PixelMemory(const PixelMemory&) = delete;
    PixelMemory& operator=(const PixelMemory&) = delete;
    ~PixelMemory();

    std::uint8_t* data() const { return m_data; }
    std::size_t size() const { return m_size; }

private:
    void Drop() noexcept;

    std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
};

} // namespace platform
