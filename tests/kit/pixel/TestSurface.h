#pragma once

// Surfaces for pixel tests: every row has guard bytes on both sides and a
// guard row lies above and below, 3-byte formats get an odd pitch, and the
// whole buffer (guards included) is compared, so a stray write shows.

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "draw/effect/SurfaceInfo.h"
#include "tests/kit/pixel/RefFormat.h"

namespace pixelkit {

// A locker that counts calls and can be told to refuse.
class CountingLocker : public kivotasuGameKit::ISurfaceLocker {
public:
    int Lock() override
    {
        ++locks;
        return refuseLock ? 1 : 0;
    }
    int Unlock() override
    {
        ++unlocks;
        return 0;
    }
    int locks = 0;
    int unlocks = 0;
    bool refuseLock = false;
};

class TestSurface {
public:
    static constexpr int kGuard = 7;

    // A type without a cell size still gets 4-byte cells, so that records of
    // any code can be made.
    TestSurface(int32_t type, int width, int height) : m_type(type), m_width(width), m_height(height)
    {
        m_cell = RefBytes(type) ? RefBytes(type) : 4;
        m_pitch = width * m_cell + 2 * kGuard;
        if (m_cell == 3 && m_pitch % 2 == 0) ++m_pitch;
        m_bytes.assign(size_t(m_pitch) * (height + 2), 0);
        kivotasuGameKit::SIZE size{width, height};
        m_info.Init(Origin(), m_pitch, &size, kivotasuGameKit::SurfaceType(type));
        m_locker = new CountingLocker;
        m_info.SetLocker(kivotasuGameKit::CSmartPtr<kivotasuGameKit::ISurfaceLocker>(m_locker));
    }
    TestSurface(const TestSurface&) = delete;
    TestSurface& operator=(const TestSurface&) = delete;

    kivotasuGameKit::CSurfaceInfo& Info() { return m_info; }
    kivotasuGameKit::CSurfaceInfo* operator->() { return &m_info; }
    CountingLocker& Locker() { return *m_locker; }
    int32_t Type() const { return m_type; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Pitch() const { return m_pitch; }
    int CellBytes() const { return m_cell; }

    uint8_t* Cell(int x, int y) { return Origin() + ptrdiff_t(y) * m_pitch + ptrdiff_t(x) * m_cell; }
    std::vector<uint8_t>& Bytes() { return m_bytes; }
    // The buffer offset of a cell, for working on a copy of Bytes().
    size_t Offset(int x, int y) const { return size_t(m_pitch) + size_t(kGuard) + size_t(y) * m_pitch + size_t(x) * m_cell; }

    void FillRandom(std::mt19937& rng)
    {
        for (auto& b : m_bytes) b = uint8_t(rng());
    }

private:
    uint8_t* Origin() { return m_bytes.data() + m_pitch + kGuard; }

    int32_t m_type;
    int m_width, m_height, m_cell, m_pitch;
    std::vector<uint8_t> m_bytes;
    kivotasuGameKit::CSurfaceInfo m_info;
    CountingLocker* m_locker;
};

// The first differing byte of two buffers of one surface, described for a
// failure message; empty when they are equal.
inline std::string FirstDifference(const TestSurface& s, const std::vector<uint8_t>& expected,
                                   const std::vector<uint8_t>& actual)
{
    for (size_t i = 0; i < expected.size(); ++i) {
        if (expected[i] == actual[i]) continue;
        const long row = long(i / size_t(s.Pitch())) - 1;
        const long inRow = long(i % size_t(s.Pitch())) - TestSurface::kGuard;
        std::string where = (row < 0 || row >= s.Height() || inRow < 0 || inRow >= s.Width() * s.CellBytes())
                                ? "guard"
                                : "pixel (" + std::to_string(inRow / s.CellBytes()) + ", " + std::to_string(row) +
                                      ") byte " + std::to_string(inRow % s.CellBytes());
        return where + " at offset " + std::to_string(i) + ": expected " + std::to_string(expected[i]) +
               ", got " + std::to_string(actual[i]);
    }
    return {};
}

} // namespace pixelkit
