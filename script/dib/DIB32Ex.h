#pragma once
// The picture a tag element shows: a plane that also carries the picture
// attributes of the script (NAME, FILE, placement, colour key, effects),
// applies them from a tag and writes them back as tag text, together with the
// PASTE operations done into it.

#include <cstdint>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "draw/FastPlane.h"
#include "frame/TextString.h"
#include "script/dib/CutInfo.h"
#include "script/dib/EraseInfo.h"

class CTagAttributes;
namespace kivotasuGameKit { class CTextFileWriter; class CFastDraw; }

namespace DIB {

class CDibInfo;

// a + b stopped at the ends of the int range, which a script's numbers may
// reach.
std::int32_t SaturatedSum(std::int32_t a, std::int32_t b);
// The rectangle of that size at that place, its far edges so stopped.
kivotasuGameKit::RECT PlacedRect(kivotasuGameKit::POINT at, kivotasuGameKit::SIZE size);

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
    // The picture and its default place at that point.
    void MoveTo(kivotasuGameKit::POINT at) { m_x = m_defaultX = at.x, m_y = m_defaultY = at.y; }
    // Where a tag's place keyword moves the picture from; it stays where it is.
    void SetDefaultPlace(kivotasuGameKit::POINT at) { m_defaultX = at.x, m_defaultY = at.y; }

    // A picture file that cannot be read throws EScript; what the tag set
    // before FILE stays, the pixels and the place stay as they were.
    void Parse(CTagAttributes& record);
    void Place(const CTagAttributes& record, kivotasuGameKit::POINT& position, kivotasuGameKit::SIZE size);
    void Draw(Plane& target);
    // Whether Draw writes every pixel of target, whatever it held.
    bool CoversWhole(Plane& target);
    // sized: WIDTH and HEIGHT too. A picture whose size its tag's own text
    // gives (a painted BODY line) writes none: read back, they would make it
    // a blank picture of that size.
    void Write(kivotasuGameKit::CTextFileWriter& writer, bool sized = true);

    // CUT into this (cleared) picture: a rectangle of the tag's FILE.
    void Cut(CTagAttributes& record);
    // PASTE of this cut picture into the destination; EScript when nothing
    // was cut.
    void Paste(CDIB32Ex& destination, const CTagAttributes& record);

    // The picture becomes a copy of that area of the screen manager's back
    // plane; left unloaded when no surface can be made.
    void CaptureScreenArea(const kivotasuGameKit::RECT& rect);
    // The same from another plane (none: the pixels are left as made).
    void CaptureArea(Plane* from, const kivotasuGameKit::RECT& rect);
    // The area of this picture copied from the clean plane onto the back plane.
    void RestoreBehind(kivotasuGameKit::CFastDraw& draw, Plane& clean);
    // Every target pixel under a non-zero pixel of this picture gets each
    // channel scaled by colour's channel / 256.
    void ColorizeBehind(Plane& target, std::uint32_t colour);

    const CTextString& GetName() const { return m_name; }
    void SetName(const CTextString& name) { m_name = name; }
    const CTextString& GetFile() const { return m_file; }
    bool IsLoaded() const { return m_loaded != 0; }
    bool IsVisible() const { return m_visible != 0; }
    void SetVisible(bool visible) { m_visible = visible; }
    bool IsAlphaDrawn() const { return m_alphaDrawn != 0; }
    const CEraseInfo& GetErase() const { return m_erase; }
    const std::vector<boost::shared_ptr<CCutInfo>>& GetCuts() const { return m_cuts; }
    std::int32_t GetX() const { return m_x; }
    std::int32_t GetY() const { return m_y; }

private:
    static constexpr std::uint32_t XNumber = 6, YNumber = 6;

    // MIRROR, BLEND, MOSAIC, DEEP and PRISM as the tag gives them.
    void ReadEffectValues(const CTagAttributes& record);
    // The info's pixels, size, default place and key rule.
    void TakePixels(const CDibInfo& info);
    // MOSAIC, DEEP and PRISM, which run only right after a load.
    void RunColourEffects();
    // The plane's colour key by the ERASE mode, on a picture of that size.
    void ApplyErase(int width, int height);
    // The area of from that this picture covers, when placed at rect.
    void CopyUnder(Plane& from, const kivotasuGameKit::RECT& rect);
    // A picture drawn by its own alpha gets alpha 0 on its key colour after a
    // load (force) or when its key changed.
    void KeyTransparency(bool force, bool wasKeyed, std::uint32_t oldKey);

    std::vector<boost::shared_ptr<CCutInfo>> m_cuts;
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
