#pragma once
// A picture file loaded once: its pixels in a memory plane of ARGB8888 cells,
// its size, the position a picture of that size takes by default, and the
// colour-key rule it comes with.

#include <cstdint>

#include <boost/shared_ptr.hpp>

#include "draw/FastPlane.h"
#include "frame/TextString.h"
#include "script/dib/EraseInfo.h"

namespace DIB {

class CDibInfo {
public:
    using CTextString = kivotasuGameKit::CTextString;
    using Plane = kivotasuGameKit::Draw::CFastPlane;

    // Throws std::bad_alloc when the plane cannot be made.
    CDibInfo(std::int32_t width, std::int32_t height);

    // Drawn by its own alpha, no key yet.
    void SetColorKeyed();
    // Every pixel opaque; drawn by plain copy.
    void SetOpaque(std::uint32_t colour);

    std::uint32_t* GetPixels() const;
    // width x height cells, rows packed.
    void SetPixels(const std::uint32_t* source);

    bool IsKeyed() const { return m_keyed != 0; }
    const CEraseInfo& GetErase() const { return m_erase; }
    std::int32_t GetDefaultX() const { return m_defaultX; }
    std::int32_t GetDefaultY() const { return m_defaultY; }
    std::int32_t GetWidth() const { return m_width; }
    std::int32_t GetHeight() const { return m_height; }
    Plane& GetPlane() const { return *m_plane; }
    const CTextString& GetName() const { return m_name; }
    void SetName(const CTextString& name) { m_name = name; }

private:
    std::uint8_t m_keyed = 0;
    CEraseInfo m_erase;
    std::int32_t m_defaultX = 0;
    std::int32_t m_defaultY = 0;
    std::int32_t m_width;
    std::int32_t m_height;
    boost::shared_ptr<Plane> m_plane;
    CTextString m_name;
};

// A picture is keyed (drawn by its own alpha) when its name holds ".bmp" or
// ".BMP" anywhere: games were written against that rule, mixed case included.
bool IsBitmapName(const kivotasuGameKit::CTextString& fileName);

// Throws EScript naming the file when it cannot be read as a picture.
boost::shared_ptr<CDibInfo> LoadDibInfo(const kivotasuGameKit::CTextString& fileName);

} // namespace DIB
