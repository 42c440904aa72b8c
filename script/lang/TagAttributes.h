#pragma once
// One parsed tag: its id and one value per attribute key; an empty value means
// the attribute was not given.

#include <algorithm>
#include <array>
#include <cstdint>

#include "frame/TextString.h"
#include "script/lang/TagNumber.h"
#include "script/lang/TagTables.h"

class CTagAttributes {
public:
    using CTextString = kivotasuGameKit::CTextString;

    CTagAttributes() = default;
    virtual ~CTagAttributes() = default;

    // The record the dispatcher, the label scan and the loaders read into.
    static CTagAttributes& GetCurrent();

    void Clear();

    TagId GetId() const { return m_id; }
    void SetId(TagId id) { m_id = id; }
    const CTextString& GetValue(TagAttributeKey key) const { return m_values[Index(key)]; }
    void SetValue(TagAttributeKey key, CTextString value) { m_values[Index(key)] = std::move(value); }

    const CTextString& GetBody() const { return GetValue(TagAttributeKey::Body); }
    const CTextString& GetFile() const { return GetValue(TagAttributeKey::File); }
    const CTextString& GetLabel() const { return GetValue(TagAttributeKey::Label); }
    const CTextString& GetName() const { return GetValue(TagAttributeKey::Name); }
    std::int32_t GetNameNumber() const { return Number(TagAttributeKey::Name); }
    std::int32_t GetNameFlag() const { return GetNameNumber() >= 1 ? 1 : 0; }

    // Normalises the stored PATH to "/" separators and a closing "/".
    const CTextString& GetPath();

    bool GetXNumber(std::int32_t& x) const { return NumberIfNumeric(TagAttributeKey::X, x); }
    bool GetYNumber(std::int32_t& y) const { return NumberIfNumeric(TagAttributeKey::Y, y); }

    // Geometry accessors work on any point {x, y}, size {cx, cy} and
    // rectangle {left, top, right, bottom}; coordinates not given keep the
    // caller's values.
    template <class Point> void GetPosition(Point& point) const
    {
        std::int32_t value;
        if (GetXNumber(value)) point.x = value;
        if (GetYNumber(value)) point.y = value;
    }

    // A script may give any place and size: the far edge stops at the ends of
    // the int range instead of wrapping.
    static std::int32_t EdgeOf(std::int32_t origin, std::int32_t size)
    {
        return SaturatedInt32(std::int64_t(origin) + size);
    }

    // A WIDTH or HEIGHT that is not given counts as 0, so right = left.
    template <class Rect> void GetPoint(Rect& rect) const
    {
        struct { std::int32_t x, y; } origin = {rect.left, rect.top};
        GetPosition(origin);
        rect.left = origin.x;
        rect.top = origin.y;
        rect.right = EdgeOf(origin.x, SizeNumber(TagAttributeKey::Width));
        rect.bottom = EdgeOf(origin.y, SizeNumber(TagAttributeKey::Height));
    }

    template <class Point, class Size> void GetRect(Point& point, Size& size) const
    {
        GetPosition(point);
        GetSize(size);
    }

    template <class Size> void GetSize(Size& size) const
    {
        if (!GetValue(TagAttributeKey::Width).IsEmpty()) size.cx = SizeNumber(TagAttributeKey::Width);
        if (!GetValue(TagAttributeKey::Height).IsEmpty()) size.cy = SizeNumber(TagAttributeKey::Height);
    }

    bool GetTime(std::int32_t& time) const;
    bool GetFlip(std::int32_t& flip) const { return ClampedNumber(TagAttributeKey::Flip, flip); }
    bool GetNega(std::int32_t& nega) const { return ClampedNumber(TagAttributeKey::Nega, nega); }

    // The value in colour notation: "#" and hexadecimal digits, BLACK, WHITE, NONE.
    bool GetNumberAt(TagAttributeKey key, std::int32_t& value) const;
    bool GetColor(std::int32_t& colour) const { return GetNumberAt(TagAttributeKey::Color, colour); }
    bool GetDeep(std::int32_t& deep) const { return GetNumberAt(TagAttributeKey::Deep, deep); }
    bool GetPrism(std::int32_t& prism) const { return GetNumberAt(TagAttributeKey::Prism, prism); }

    bool GetHorizontalAlign(HorizontalAlign& align) const { return Keyword(TagAttributeKey::X, HorizontalAlignNames, align); }
    bool GetVerticalAlign(VerticalAlign& align) const { return Keyword(TagAttributeKey::Y, VerticalAlignNames, align); }
    bool GetControl(ControlStyle& style) const { return Keyword(TagAttributeKey::Control, ControlStyleNames, style); }
    // A name outside the table gives EffectKind::Named.
    bool GetEffect(EffectKind& effect) const;

    // By key name, matched exactly: no key gives an empty value, and Set changes nothing.
    CTextString Get(std::string_view keyName) const;
    void Set(std::string_view keyName, const CTextString& value);
    bool GetNumber(std::string_view keyName, std::int32_t& number) const;

private:
    static std::size_t Index(TagAttributeKey key) { return static_cast<std::size_t>(key); }

    std::int32_t Number(TagAttributeKey key) const { return ToTagNumber(GetValue(key).GetStr()); }
    std::int32_t SizeNumber(TagAttributeKey key) const { return std::max(Number(key), 0); }
    bool NumberIfNumeric(TagAttributeKey key, std::int32_t& number) const;
    bool ClampedNumber(TagAttributeKey key, std::int32_t& number) const;

    template <class Enum, std::size_t N>
    bool Keyword(TagAttributeKey key, const std::array<std::string_view, N>& table, Enum& out) const
    {
        auto index = FindKeyword(table, GetValue(key).GetStr());
        if (!index) return false;
        out = static_cast<Enum>(*index);
        return true;
    }

    TagId m_id = TagId::Comment;
    std::array<CTextString, TagAttributeKeyCount> m_values;
};
