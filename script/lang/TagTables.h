#pragma once
// The tag names, the attribute keys and the keyword tables of attribute values.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class TagId : std::uint32_t {
    Comment, Act, DefaultAct, EndAct, EndAllAct, HideAct, Animate, BeginAnimate, DefaultAnimate,
    Back, DefaultBack, Bgm, DefaultBgm, EndBgm, Button, BeginButton, DefaultButton, EndButton,
    Cursor, Cut, DefaultCut, Paste, Jump, DefaultJump, Call, EndCall, Label, Lock, DefaultLock,
    Unlock, Log, DefaultLog, Movie, Paint, DefaultPaint, EndPaint, EndAllPaint, HidePaint, Save,
    Screen, Select, EndSelect, Set, Sound, DefaultSound, EndSound, System, Text, DefaultText,
    NameText, Symbol, Title, Visual, DefaultVisual, EndVisual, Wait, Window, BeginWindow,
    DefaultWindow, FadeWindow, Write, End, Tl, Tp, C, L, P
};

enum class TagAttributeKey : std::uint32_t {
    Cond, Name, MaskName, Path, File, SubFile, Label, Variable, Entity, X, Y, Width, Height, Beam,
    Line, Body, Hang, Indent, Size, Bold, Italic, Strike, Under, Shadow, Color, Alive, View, Effect,
    Blend, Erase, Nega, Flip, Mirror, Mosaic, Deep, Prism, Control, Time
};

enum class HorizontalAlign : std::uint32_t { Original, Center, Left, Right, LeftSide, RightSide };
enum class VerticalAlign : std::uint32_t { Original, Middle, Top, Bottom, Roof, Floor };
enum class ControlStyle : std::uint32_t { None, Trh, Trh2, Trh3, Kanon, Air, WhiteAlbum };
enum class EffectKind : std::uint32_t {
    None, Blend, Square, Circle, Rect, Spiral, Left, Right, Top, Bottom, Random, Blind, BlindLeft,
    BlindRight, BlindTop, BlindBottom, BlindRandom, StripeH1, StripeH2, StripeV1, StripeV2, Mosaic,
    CutIn, Wave, StretchLeft, StretchRight, StretchTop, StretchBottom, StretchRandom, BlackBlind,
    Named // an effect name outside the table: a picture of that name
};

inline constexpr std::size_t TagCount = 67;
inline constexpr std::size_t TagAttributeKeyCount = 38;

extern const std::array<std::string_view, TagCount> TagNames;
extern const std::array<std::string_view, TagAttributeKeyCount> TagAttributeKeyNames;
extern const std::array<std::string_view, 6> HorizontalAlignNames;
extern const std::array<std::string_view, 6> VerticalAlignNames;
extern const std::array<std::string_view, 7> ControlStyleNames;
extern const std::array<std::string_view, 30> EffectNames;
extern const std::array<std::string_view, 5> EraseNames;

// Matches texts against the names of a table whose entries all begin with a
// letter; a match tries only the entries of the text's first letter (a tag's
// name was sought through all 67, each compared letter by letter).
class CPrefixTable {
public:
    explicit CPrefixTable(std::span<const std::string_view> table);
    // The first entry, in table order, that starts text with letters compared
    // without case; so "ACTOR" finds "ACT".
    std::optional<std::size_t> Match(std::string_view text) const;

private:
    std::span<const std::string_view> m_table;
    std::array<std::vector<std::uint8_t>, 26> m_byLetter;
};

const CPrefixTable& TagNameTable();
const CPrefixTable& TagAttributeKeyTable();

// The entry equal to text, case-sensitive.
std::optional<std::size_t> FindKeyword(std::span<const std::string_view> table, std::string_view text);
// For a text that is an entry but for its case ("left"): the hint that keywords
// are upper case, naming the entry. Empty for any other text.
std::string UpperCaseHint(std::span<const std::string_view> table, std::string_view text);
