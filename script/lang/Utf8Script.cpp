#include "script/lang/Utf8Script.h"

#include <string>

#include "platform/HostPath.h"
#include "platform/StderrLines.h"

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the UTF-8 sequence a lead byte starts, 0 for no lead byte.
std::size_t SequenceLength(unsigned char lead)
{
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// Quoted for a POSIX shell.
std::string Quoted(std::string_view text)
{
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

bool IsMultiByteUtf8(std::string_view text)
{
    bool multiByte = false;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = SequenceLength(static_cast<unsigned char>(text[at]));
        if (length == 0 || at + length > text.size()) return false;
        for (std::size_t i = 1; i < length; ++i) {
            if (!IsContinuation(static_cast<unsigned char>(text[at + i]))) return false;
        }
        multiByte = multiByte || length > 1;
        at += length;
    }
    return multiByte;
}

void SayUtf8Script(std::string_view name, std::string_view text)
{
    const std::string path = Quoted(platform::ShownPath(name));
    const std::string converted = Quoted(platform::ShownPath(name) + ".sjis");
    // iconv refuses the byte-order mark some editors write first.
    const std::string source = text.starts_with(ByteOrderMark) ? "tail -c +4 " + path + " | iconv -f UTF-8 -t CP932"
                                                                : "iconv -f UTF-8 -t CP932 " + path;
    const std::string line = "quiltor: " + platform::ShownPath(name) +
                             " is UTF-8, but scripts are read as Shift-JIS; convert it with: " + source + " > " +
                             converted + " && mv " + converted + " " + path;
    platform::Stderr().Say(line);
}
