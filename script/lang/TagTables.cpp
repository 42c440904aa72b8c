#include "script/lang/TagTables.h"

#include "script/lang/TextScan.h"

const std::array<std::string_view, TagCount> TagNames = {
    "COMMENT", "ACT", "DEFAULTACT", "ENDACT", "ENDALLACT", "HIDEACT", "ANIMATE", "BEGINANIMATE",
    "DEFAULTANIMATE", "BACK", "DEFAULTBACK", "BGM", "DEFAULTBGM", "ENDBGM", "BUTTON", "BEGINBUTTON",
    "DEFAULTBUTTON", "ENDBUTTON", "CURSOR", "CUT", "DEFAULTCUT", "PASTE", "JUMP", "DEFAULTJUMP",
    "CALL", "ENDCALL", "LABEL", "LOCK", "DEFAULTLOCK", "UNLOCK", "LOG", "DEFAULTLOG", "MOVIE",
    "PAINT", "DEFAULTPAINT", "ENDPAINT", "ENDALLPAINT", "HIDEPAINT", "SAVE", "SCREEN", "SELECT",
    "ENDSELECT", "SET", "SOUND", "DEFAULTSOUND", "ENDSOUND", "SYSTEM", "TEXT", "DEFAULTTEXT",
    "NAMETEXT", "SYMBOL", "TITLE", "VISUAL", "DEFAULTVISUAL", "ENDVISUAL", "WAIT", "WINDOW",
    "BEGINWINDOW", "DEFAULTWINDOW", "FADEWINDOW", "WRITE", "END", "TL", "TP", "C", "L", "P",
};

const std::array<std::string_view, TagAttributeKeyCount> TagAttributeKeyNames = {
    "COND", "NAME", "MASKNAME", "PATH", "FILE", "SUBFILE", "LABEL", "VARIABLE", "ENTITY", "X",
    "Y", "WIDTH", "HEIGHT", "BEAM", "LINE", "BODY", "HANG", "INDENT", "SIZE", "BOLD", "ITALIC",
    "STRIKE", "UNDER", "SHADOW", "COLOR", "ALIVE", "VIEW", "EFFECT", "BLEND", "ERASE", "NEGA",
    "FLIP", "MIRROR", "MOSAIC", "DEEP", "PRISM", "CONTROL", "TIME",
};

const std::array<std::string_view, 6> HorizontalAlignNames = {
    "ORIGINAL", "CENTER", "LEFT", "RIGHT", "LEFTSIDE", "RIGHTSIDE",
};

const std::array<std::string_view, 6> VerticalAlignNames = {
    "ORIGINAL", "MIDDLE", "TOP", "BOTTOM", "ROOF", "FLOOR",
};

const std::array<std::string_view, 7> ControlStyleNames = {
    "NONE", "TRH", "TRH2", "TRH3", "KANON", "AIR", "WHITEALBUM",
};

const std::array<std::string_view, 30> EffectNames = {
    "NONE", "BLEND", "SQUARE", "CIRCLE", "RECT", "SPIRAL", "LEFT", "RIGHT", "TOP", "BOTTOM",
    "RANDOM", "BLIND", "BLIND_LEFT", "BLIND_RIGHT", "BLIND_TOP", "BLIND_BOTTOM", "BLIND_RANDOM",
    "STRIPE_H1", "STRIPE_H2", "STRIPE_V1", "STRIPE_V2", "MOSAIC", "CUTIN", "WAVE", "STRETCH_LEFT",
    "STRETCH_RIGHT", "STRETCH_TOP", "STRETCH_BOTTOM", "STRETCH_RANDOM", "BLACKBLIND",
};

const std::array<std::string_view, 5> EraseNames = {
    "LEFTTOP", "LEFTBOTTOM", "RIGHTTOP", "RIGHTBOTTOM", "NONE",
};

CPrefixTable::CPrefixTable(std::span<const std::string_view> table) : m_table(table)
{
    for (std::size_t i = 0; i < table.size(); ++i) m_byLetter[std::size_t(table[i][0] - 'A')].push_back(std::uint8_t(i));
}

std::optional<std::size_t> CPrefixTable::Match(std::string_view text) const
{
    if (text.empty()) return std::nullopt;
    const char first = text[0] >= 'a' && text[0] <= 'z' ? char(text[0] - 'a' + 'A') : text[0];
    if (first < 'A' || first > 'Z') return std::nullopt;
    for (std::uint8_t i : m_byLetter[std::size_t(first - 'A')]) {
        if (HasPrefixNoCase(text, m_table[i])) return i;
    }
    return std::nullopt;
}

const CPrefixTable& TagNameTable()
{
    static const CPrefixTable table(TagNames);
    return table;
}

const CPrefixTable& TagAttributeKeyTable()
{
    static const CPrefixTable table(TagAttributeKeyNames);
    return table;
}

std::optional<std::size_t> FindKeyword(std::span<const std::string_view> table, std::string_view text)
{
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i] == text) return i;
    }
    return std::nullopt;
}

std::string UpperCaseHint(std::span<const std::string_view> table, std::string_view text)
{
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    }
    if (upper == text || !FindKeyword(table, upper)) return {};
    return "キーワードは大文字で「" + upper + "」と書きます。";
}
