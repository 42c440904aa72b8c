#include "platform/PixelMemory.h"

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <list>
#include <mutex>
#include <new>
#include <utility>

namespace platform {

namespace {

// Smaller blocks come cheaply from the allocator.
constexpr std::size_t SmallestKept = 64 << 10;
// About a dozen 640x480 screens of 32-bit pixels; the oldest go first.
constexpr std::size_t MostKept = 16 << 20;

struct Block {
    std::uint8_t* data;
    std::size_t size;
};

class Store {
public:
    std::uint8_t* Take(std::size_t size)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        // The newest first: its pages are the likeliest still in the cache.
        const auto found = std::find_if(m_blocks.rbegin(), m_blocks.rend(), [size](const Block& block) { return block.size == size; });
        if (found == m_blocks.rend()) return nullptr;
        std::uint8_t* const data = found->data;
        m_bytes -= size;
        m_blocks.erase(std::next(found).base());
        ASAN_UNPOISON_MEMORY_REGION(data, size);
        return data;
    }

    // False when the block is too small to keep.
    bool Keep(std::uint8_t* data, std::size_t size)
    {
        if (size < SmallestKept || size > MostKept) return false;
        std::lock_guard<std::mutex> guard(m_lock);
        try {
            m_blocks.push_back({data, size});
        } catch (const std::bad_alloc&) {
            return false;
        }
        ASAN_POISON_MEMORY_REGION(data, size);
        m_bytes += size;
        while (m_bytes > MostKept) {
            const Block oldest = m_blocks.front();
            m_blocks.pop_front();
            m_bytes -= oldest.size;
            ASAN_UNPOISON_MEMORY_REGION(oldest.data, oldest.size);
            delete[] oldest.data;
        }
        return true;
    }

private:
    std::mutex m_lock;
    std::list<Block> m_blocks;
    std::size_t m_bytes = 0;
};

// Never destroyed: planes of static objects may drop their blocks at exit.
Store& Kept()
{
    static Store* store = new Store;
    return *store;
}

} // namespace

PixelMemory::PixelMemory(std::size_t bytes) : m_size(bytes)
{
    if (bytes == 0) return;
    m_data = Kept().Take(bytes);
    if (m_data) std::memset(m_data, 0, bytes);
    else m_data = new std::uint8_t[bytes]();
}

PixelMemory::PixelMemory(PixelMemory&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0))
{
}

PixelMemory& PixelMemory::operator=(PixelMemory&& other) noexcept
{
    if (this != &other) {
        Drop();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

PixelMemory::~PixelMemory() { Drop(); }

void PixelMemory::Drop() noexcept
{
    if (m_data && !Kept().Keep(m_data, m_size)) delete[] m_data;
    m_data = nullptr;
    m_size = 0;
}

} // namespace platform
