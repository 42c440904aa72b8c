#include "platform/DrawnText.h"

#include "platform/TextCodec.h"

#include <cctype>

namespace platform {

namespace {

bool IsLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Walks a resource label: shown(bytes) for what it shows, marked(byte) for
// the byte after a lone "&".
template <class Shown, class Marked> void WalkLabel(std::string_view textSjis, Shown shown, Marked marked)
{
    for (std::size_t i = 0; i < textSjis.size(); ++i) {
        const auto byte = static_cast<unsigned char>(textSjis[i]);
        if (byte == '&') {
            if (i + 1 < textSjis.size() && textSjis[i + 1] == '&')
                shown(textSjis.substr(++i, 1));
            else if (i + 1 < textSjis.size())
                marked(textSjis[i + 1]);
            continue;
        }
        // A second byte may be 0x26 too; it is never a mark.
        const std::size_t length = IsLeadByte(byte) && i + 1 < textSjis.size() ? 2 : 1;
        shown(textSjis.substr(i, length));
        i += length - 1;
    }
}

} // namespace

std::string ShownLabel(std::string_view textSjis)
{
    std::string plain;
    plain.reserve(textSjis.size());
    WalkLabel(textSjis, [&](std::string_view bytes) { plain += bytes; }, [](char) {});
    return Cp932ToUtf8(plain);
}

char AccessKey(std::string_view textSjis)
{
    char key = 0;
    WalkLabel(textSjis, [](std::string_view) {}, [&](char marked) {
        if (key == 0 && std::isalnum(static_cast<unsigned char>(marked)))
            key = static_cast<char>(std::toupper(static_cast<unsigned char>(marked)));
    });
    return key;
}

std::string ShownControlText(const DialogControl& control)
{
    const bool caption = control.kind != DialogControl::Kind::Label && control.kind != DialogControl::Kind::Link;
    return caption ? ShownLabel(control.textSjis) : Cp932ToUtf8(control.textSjis);
}

std::string ShownSliderValue(const DialogControl& control)
{
    return std::to_string(control.value * control.scale) + Cp932ToUtf8(control.unitSjis);
}

namespace {

// The pieces a line may break between: runs of ASCII ending after a blank or
// a "/" or before a "\", and each character outside ASCII on its own. A
// backslash ending a line would read as a shell's line continuation in a
// command ('\'' quotes a quote).
std::vector<std::string_view> BreakablePieces(std::string_view line)
{
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i < line.size();) {
        const auto byte = static_cast<unsigned char>(line[i]);
        std::size_t length = 1;
        while (byte >= 0x80 && i + length < line.size() && (static_cast<unsigned char>(line[i + length]) & 0xC0) == 0x80)
            ++length;
        const bool wide = byte >= 0x80;
        if ((wide || byte == '\\') && start < i)
            pieces.push_back(line.substr(start, i - start)), start = i;
        i += length;
        if (wide || byte == ' ' || byte == '/')
            pieces.push_back(line.substr(start, i - start)), start = i;
    }
    if (start < line.size())
        pieces.push_back(line.substr(start));
    return pieces;
}

} // namespace

std::string BrokenLines(std::string_view utf8, float width, const std::function<float(std::string_view)>& measure)
{
    std::string out;
    for (std::size_t from = 0; from <= utf8.size();) {
        const std::size_t end = std::min(utf8.find('\n', from), utf8.size());
        std::size_t lineStart = out.size();
        for (std::string_view piece : BreakablePieces(utf8.substr(from, end - from))) {
            const std::string shown = out.substr(lineStart);
            if (!shown.empty() && measure(shown + std::string(piece)) > width) {
                out += '\n';
                lineStart = out.size();
            }
            out += piece;
        }
        if (end < utf8.size())
            out += '\n';
        from = end + 1;
    }
    return out;
}

void CollectCodepoints(std::string_view utf8, std::set<std::uint16_t>& out)
{
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (i + length > utf8.size())
            break;
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k)
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        if (code >= 0x20 && code <= 0xFFFF)
            out.insert(static_cast<std::uint16_t>(code));
        i += length;
    }
}

std::vector<std::uint16_t> GlyphRanges(const std::set<std::uint16_t>& codepoints)
{
    std::set<std::uint16_t> all = codepoints;
    for (std::uint16_t c = 0x20; c <= 0x7E; ++c)
        all.insert(c);
    std::vector<std::uint16_t> ranges;
    for (std::uint16_t c : all) {
        if (!ranges.empty() && ranges.back() + 1 == c)
            ranges.back() = c;
        else
            ranges.insert(ranges.end(), {c, c});
    }
    ranges.push_back(0);
    return ranges;
}

} // namespace platform
