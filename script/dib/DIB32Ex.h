#pragma once
// The picture a tag element shows: a plane that also carries the picture
// attributes of the script (NAME, FILE, placement, colour key, effects),
// applies them from a tag and writes them back as tag text.

#include <cstdint>

#include "draw/FastPlane.h"
#include "frame/TextString.h"

class CTagAttributes;
namespace kivotasuGameKit { class CTextFileWriter; }

namespace DIB {

// The colour-key rule of ERASE.
struct CEraseInfo {
    enum Mode : std::uint32_t { LeftTop, LeftBottom, RightTop, RightBottom, None, NotGiven, Colour };

    std::uint32_t colour = 0;
    std::uint32_t mode = NotGiven;

    void Assign(const CEraseInfo& other)
    {
        if (other.mode != NotGiven) *this = other;
    }
    // A keyword or a colour; an empty or unreadable value leaves the record.
    void Parse(const kivotasuGameKit::CTextString& value);
};

class CDIB32Ex : public kivotasuGameKit::Draw::CFastPlane {
public:
    using CTextString = kivotasuGameKit::CTextString;
    using Plane = kivotasuGameKit::Draw::CPlaneBase;

    // Without a name the picture keeps an alpha channel.
    CDIB32Ex();
    explicit CDIB32Ex(const CTextString& name);
    ~CDIB32Ex() override = default;

    using CFastPlane::Clear;
    // Releases the surface and puts every attribute back to its start.
    void Clear();

    bool IsNamed(const CTextString& name) const { return m_name == name; }
    kivotasuGameKit::RECT GetRect();
    bool IsKeywordPlaced() const { return m_xMode != XNumber; }

    void Parse(CTagAttributes& record);
    void Place(const CTagAttributes& record, kivotasuGameKit::POINT& position, kivotasuGameKit::SIZE size);
    void Draw(Plane& target);
    void Write(kivotasuGameKit::CTextFileWriter& writer);

    // Every target pixel under a non-zero pixel of this picture gets each
    // channel scaled by colour's channel / 256.
    void ColorizeBehind(Plane& target, std::uint32_t colour);

    const CTextString& GetName() const { return m_name; }
    void SetName(const CTextString& name) { m_name = name; }
    const CTextString& GetFile() const { return m_file; }
    bool IsLoaded() const { return m_loaded != 0; }
    bool IsVisible() const { return m_visible != 0; }
    void SetVisible(bool visible) { m_visible = visible; }
    std::int32_t GetX() const { return m_x; }
    std::int32_t GetY() const { return m_y; }

private:
    static constexpr std::uint32_t XNumber = 6, YNumber = 6;

    std::uint32_t m_loaded = 0;
    std::uint8_t m_visible = 1;
    CTextString m_name;
    CTextString m_file;
    std::int32_t m_x = 0, m_y = 0;
    std::int32_t m_defaultX = 0, m_defaultY = 0;
    std::uint32_t m_xMode = 1, m_yMode = 0;
    CEraseInfo m_erase;
    std::uint32_t m_alphaDrawn = 0;
    std::int32_t m_nega = 0, m_flip = 0, m_mirror = 0, m_blend = 0, m_mosaic = 0;
    std::int32_t m_deep = -1, m_prism = -1;
    std::uint32_t m_tableColour = 0xFFFFFFFF;
    std::uint8_t m_channelTable[3][256] = {};
};

} // namespace DIB
