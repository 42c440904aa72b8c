#include <gtest/gtest.h>

#include "script/lang/TagAttributes.h"

namespace {

struct Point { int x = -1, y = -1; };
struct Size { int cx = -1, cy = -1; };
struct Rect { int left = -1, top = -1, right = -1, bottom = -1; };

CTagAttributes With(std::initializer_list<std::pair<TagAttributeKey, const char*>> values)
{
    CTagAttributes record;
    for (const auto& [key, value] : values) record.SetValue(key, value);
    return record;
}

TEST(TagAttributes, ClearEmptiesEverything)
{
    CTagAttributes record = With({{TagAttributeKey::Name, "a"}, {TagAttributeKey::Time, "1"}});
    record.SetId(TagId::Wait);
    record.Clear();
    EXPECT_EQ(record.GetId(), TagId::Comment);
    for (std::size_t key = 0; key < TagAttributeKeyCount; ++key) {
        EXPECT_TRUE(record.GetValue(static_cast<TagAttributeKey>(key)).IsEmpty());
    }
}

TEST(TagAttributes, NameNumberAndFlag)
{
    EXPECT_EQ(With({{TagAttributeKey::Name, "12abc"}}).GetNameNumber(), 12);
    EXPECT_EQ(With({{TagAttributeKey::Name, "3"}}).GetNameFlag(), 1);
    EXPECT_EQ(With({{TagAttributeKey::Name, "0"}}).GetNameFlag(), 0);
    EXPECT_EQ(With({{TagAttributeKey::Name, "-4"}}).GetNameFlag(), 0);
    EXPECT_EQ(With({{TagAttributeKey::Name, "yes"}}).GetNameFlag(), 0);
}

TEST(TagAttributes, PathGetsSlashesAndAClosingSlashStored)
{
    CTagAttributes record = With({{TagAttributeKey::Path, "data\\bg"}});
    EXPECT_EQ(record.GetPath().GetStr(), "data/bg/");
    EXPECT_EQ(record.GetValue(TagAttributeKey::Path).GetStr(), "data/bg/");
    EXPECT_EQ(record.GetPath().GetStr(), "data/bg/");

    EXPECT_TRUE(CTagAttributes().GetPath().IsEmpty());
    // The 0x5C inside a two-byte character is no separator.
    CTagAttributes kanji = With({{TagAttributeKey::Path, "表"}});
    EXPECT_EQ(kanji.GetPath().GetStr(), "\x95\x5C/");
}

TEST(TagAttributes, CoordinatesOnlyWhenNumeric)
{
    std::int32_t x = 7;
    EXPECT_FALSE(With({{TagAttributeKey::X, "CENTER"}}).GetXNumber(x));
    EXPECT_FALSE(CTagAttributes().GetXNumber(x));
    EXPECT_EQ(x, 7);
    EXPECT_TRUE(With({{TagAttributeKey::X, "-12"}}).GetXNumber(x));
    EXPECT_EQ(x, -12);

    Point point;
    With({{TagAttributeKey::X, "10"}, {TagAttributeKey::Y, "BOTTOM"}}).GetPosition(point);
    EXPECT_EQ(point.x, 10);
    EXPECT_EQ(point.y, -1);
}

TEST(TagAttributes, PointRectangleRunsFromThePositionOverTheSize)
{
    Rect rect;
    With({{TagAttributeKey::X, "10"}, {TagAttributeKey::Y, "20"}, {TagAttributeKey::Width, "30"},
          {TagAttributeKey::Height, "-5"}}).GetPoint(rect);
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 20);
    EXPECT_EQ(rect.right, 40);
    EXPECT_EQ(rect.bottom, 20);

    // Missing sizes count as 0; a missing position keeps the caller's.
    Rect kept{5, 6, 0, 0};
    CTagAttributes().GetPoint(kept);
    EXPECT_EQ(kept.left, 5);
    EXPECT_EQ(kept.right, 5);
    EXPECT_EQ(kept.bottom, 6);

    // A far place and a huge size stop at the end of the int range.
    Rect far;
    With({{TagAttributeKey::X, "2147483647"}, {TagAttributeKey::Y, "2000000000"},
          {TagAttributeKey::Width, "2147483647"}, {TagAttributeKey::Height, "2000000000"}}).GetPoint(far);
    EXPECT_EQ(far.right, 2147483647);
    EXPECT_EQ(far.bottom, 2147483647);
}

TEST(TagAttributes, RectAndSizeKeepWhatIsNotGiven)
{
    Point point;
    Size size;
    With({{TagAttributeKey::Y, "4"}, {TagAttributeKey::Height, "-3"}}).GetRect(point, size);
    EXPECT_EQ(point.x, -1);
    EXPECT_EQ(point.y, 4);
    EXPECT_EQ(size.cx, -1);
    EXPECT_EQ(size.cy, 0);

    Size given;
    With({{TagAttributeKey::Width, "64"}}).GetSize(given);
    EXPECT_EQ(given.cx, 64);
    EXPECT_EQ(given.cy, -1);
}

TEST(TagAttributes, TimeFlipAndNegaClamp)
{
    std::int32_t value = 99;
    EXPECT_FALSE(CTagAttributes().GetTime(value));
    EXPECT_EQ(value, 99);
    EXPECT_TRUE(With({{TagAttributeKey::Time, "-100"}}).GetTime(value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(With({{TagAttributeKey::Time, "250"}}).GetTime(value));
    EXPECT_EQ(value, 250);

    EXPECT_TRUE(With({{TagAttributeKey::Flip, "5"}}).GetFlip(value));
    EXPECT_EQ(value, 1);
    EXPECT_TRUE(With({{TagAttributeKey::Nega, "-2"}}).GetNega(value));
    EXPECT_EQ(value, 0);
    EXPECT_FALSE(CTagAttributes().GetFlip(value));
}

TEST(TagAttributes, ColourNotation)
{
    std::int32_t colour = 5;
    EXPECT_TRUE(With({{TagAttributeKey::Color, "#00ff00"}}).GetColor(colour));
    EXPECT_EQ(colour, 0x00FF00);
    EXPECT_TRUE(With({{TagAttributeKey::Deep, "white"}}).GetDeep(colour));
    EXPECT_EQ(colour, 0xFFFFFF);
    EXPECT_TRUE(With({{TagAttributeKey::Prism, "NONE"}}).GetPrism(colour));
    EXPECT_EQ(colour, -1);
    EXPECT_TRUE(With({{TagAttributeKey::Blend, "Black"}}).GetNumberAt(TagAttributeKey::Blend, colour));
    EXPECT_EQ(colour, 0);

    EXPECT_FALSE(With({{TagAttributeKey::Color, "255"}}).GetColor(colour));
    EXPECT_FALSE(With({{TagAttributeKey::Color, "#"}}).GetColor(colour));
    EXPECT_FALSE(CTagAttributes().GetColor(colour));
}

TEST(TagAttributes, KeywordsMatchExactly)
{
    HorizontalAlign horizontal = HorizontalAlign::Original;
    EXPECT_TRUE(With({{TagAttributeKey::X, "RIGHTSIDE"}}).GetHorizontalAlign(horizontal));
    EXPECT_EQ(horizontal, HorizontalAlign::RightSide);
    EXPECT_FALSE(With({{TagAttributeKey::X, "center"}}).GetHorizontalAlign(horizontal));
    EXPECT_FALSE(With({{TagAttributeKey::X, "100"}}).GetHorizontalAlign(horizontal));

    VerticalAlign vertical = VerticalAlign::Original;
    EXPECT_TRUE(With({{TagAttributeKey::Y, "FLOOR"}}).GetVerticalAlign(vertical));
    EXPECT_EQ(vertical, VerticalAlign::Floor);

    ControlStyle style = ControlStyle::None;
    EXPECT_TRUE(With({{TagAttributeKey::Control, "WHITEALBUM"}}).GetControl(style));
    EXPECT_EQ(style, ControlStyle::WhiteAlbum);
    EXPECT_FALSE(CTagAttributes().GetControl(style));
}

TEST(TagAttributes, EffectNamesOutsideTheTableArePictures)
{
    EffectKind effect = EffectKind::Wave;
    EXPECT_FALSE(CTagAttributes().GetEffect(effect));
    EXPECT_EQ(effect, EffectKind::Wave);
    EXPECT_TRUE(With({{TagAttributeKey::Effect, "BLIND_TOP"}}).GetEffect(effect));
    EXPECT_EQ(effect, EffectKind::BlindTop);
    EXPECT_TRUE(With({{TagAttributeKey::Effect, "BLACKBLIND"}}).GetEffect(effect));
    EXPECT_EQ(effect, EffectKind::BlackBlind);
    EXPECT_TRUE(With({{TagAttributeKey::Effect, "fade"}}).GetEffect(effect));
    EXPECT_EQ(static_cast<int>(effect), 30);
}

TEST(TagAttributes, AccessByExactKeyName)
{
    CTagAttributes record;
    record.Set("WIDTH", "64");
    record.Set("width", "1");
    record.Set("WIDE", "2");
    EXPECT_EQ(record.GetValue(TagAttributeKey::Width).GetStr(), "64");
    EXPECT_EQ(record.Get("WIDTH").GetStr(), "64");
    EXPECT_TRUE(record.Get("Width").IsEmpty());

    std::int32_t number = -1;
    EXPECT_TRUE(record.GetNumber("WIDTH", number));
    EXPECT_EQ(number, 64);
    number = -1;
    EXPECT_FALSE(record.GetNumber("HEIGHT", number));
    EXPECT_FALSE(record.GetNumber("NOKEY", number));
    EXPECT_EQ(number, -1);
}

TEST(TagNumber, FollowsAtoiAndSaturatesBeyond32Bits)
{
    EXPECT_EQ(ToTagNumber(" \t-42px"), -42);
    EXPECT_EQ(ToTagNumber("+7"), 7);
    EXPECT_EQ(ToTagNumber("abc"), 0);
    EXPECT_EQ(ToTagNumber("-"), 0);
    EXPECT_EQ(ToTagNumber("2147483647"), 2147483647);
    EXPECT_EQ(ToTagNumber("2147483648"), 2147483647);
    EXPECT_EQ(ToTagNumber("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ToTagNumber("-99999999999999999999999"), -2147483647 - 1);
}

} // namespace
