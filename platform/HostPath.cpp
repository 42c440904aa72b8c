#include "platform/HostPath.h"

#include "platform/TextCodec.h"

namespace platform {
namespace {

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsSeparator(char c) { return c == '\\' || c == '/'; }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

std::string& GameFolder()
{
    static std::string folder;
    return folder;
}

bool IsAsciiLetter(char c) { return AsciiLower(c) >= 'a' && AsciiLower(c) <= 'z'; }
bool IsAsciiWordChar(char c) { return IsAsciiLetter(c) || (c >= '0' && c <= '9'); }

// Blanks and quotes, and the brackets 「」『』 (0x81 0x75 to 0x78).
bool EndsShownPath(std::string_view text, std::size_t at)
{
    const unsigned char c = static_cast<unsigned char>(text[at]);
    if (c <= ' ' || c == '"' || c == '\'') return true;
    return c == 0x81 && at + 1 < text.size() && text[at + 1] >= 0x75 && text[at + 1] <= 0x78;
}

std::size_t CharLength(std::string_view text, std::size_t at)
{
    return IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

bool IsGameDrive(std::string_view internal)
{
    return internal.size() >= 2 && internal[1] == ':' && AsciiLower(internal[0]) == AsciiLower(GameDrive) &&
           !GameFolder().empty();
}

} // namespace

void MapGameDrive(std::string_view hostFolder)
{
    std::string folder(hostFolder);
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    GameFolder() = std::move(folder);
}

const std::string& GameDriveFolder() { return GameFolder(); }

std::optional<HostPathParts> SplitInternalPath(std::string_view internal)
{
    if (internal.empty() || internal.find('\0') != std::string_view::npos) return std::nullopt;
    if (internal.size() >= 2 && IsSeparator(internal[0]) && IsSeparator(internal[1])) return std::nullopt;
    HostPathParts parts;
    bool onGameDrive = false;
    if (internal.size() >= 2 && internal[1] == ':') {
        onGameDrive = IsGameDrive(internal);
        if (!onGameDrive && internal[0] != 'Z' && internal[0] != 'z') return std::nullopt;
        internal.remove_prefix(2);
    }
    // The game drive has no current folder of its own: "G:x" is "G:\x".
    parts.absolute = onGameDrive || (!internal.empty() && IsSeparator(internal[0]));
    if (onGameDrive && GameFolder() != "/") parts.root = GameFolder() + '/';
    std::string name;
    bool endedWithSeparator = false;
    for (std::size_t i = 0; i < internal.size(); ++i) {
        const char c = internal[i];
        if (IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < internal.size()) {
            name += c;
            name += internal[++i];
            endedWithSeparator = false;
        } else if (IsSeparator(c)) {
            if (!name.empty()) parts.names.push_back(Cp932ToUtf8(name));
            name.clear();
            endedWithSeparator = true;
        } else {
            name += c;
            endedWithSeparator = false;
        }
    }
    if (!name.empty()) parts.names.push_back(Cp932ToUtf8(name));
    parts.trailingSeparator = endedWithSeparator && !parts.names.empty();
    return parts;
}

std::string JoinHostPath(const HostPathParts& parts)
{
    std::string host = parts.absolute ? parts.root : "";
    for (std::size_t i = 0; i < parts.names.size(); ++i) {
        if (i > 0) host += '/';
        host += parts.names[i];
    }
    if (parts.trailingSeparator) host += '/';
    if (host.empty()) host = ".";
    return host;
}

std::optional<std::string> ToHostPath(std::string_view internal)
{
    std::optional<HostPathParts> parts = SplitInternalPath(internal);
    if (!parts) return std::nullopt;
    return JoinHostPath(*parts);
}

std::string ShownPath(std::string_view internal)
{
    return ToHostPath(internal).value_or(Cp932ToUtf8(internal));
}

std::string ShownText(std::string_view sjis)
{
    std::string shown;
    std::size_t plain = 0;
    bool afterWord = false;
    for (std::size_t at = 0; at < sjis.size();) {
        const bool pathStarts = !afterWord && at + 2 < sjis.size() && IsAsciiLetter(sjis[at]) && sjis[at + 1] == ':' &&
                                IsSeparator(sjis[at + 2]);
        if (!pathStarts) {
            afterWord = CharLength(sjis, at) == 1 && IsAsciiWordChar(sjis[at]);
            at += CharLength(sjis, at);
            continue;
        }
        std::size_t end = at;
        while (end < sjis.size() && !EndsShownPath(sjis, end)) end += CharLength(sjis, end);
        shown += Cp932ToUtf8(sjis.substr(plain, at - plain)) + ShownPath(sjis.substr(at, end - at));
        plain = at = end;
        afterWord = false;
    }
    return shown + Cp932ToUtf8(sjis.substr(plain));
}

std::string ToInternalPath(std::string_view host)
{
    std::string internal;
    const std::string& game = GameFolder();
    if (!game.empty() && game != "/" && host.starts_with(game) &&
        (host.size() == game.size() || host[game.size()] == '/')) {
        internal = std::string(1, GameDrive) + ":\\";
        host.remove_prefix(game.size());
    } else if (!host.empty() && host[0] == '/') {
        internal = "Z:\\";
    }
    std::size_t start = 0;
    bool first = true;
    while (start <= host.size()) {
        std::size_t end = host.find('/', start);
        if (end == std::string_view::npos) end = host.size();
        if (end > start) {
            if (!first) internal += '\\';
            internal += Utf8ToCp932(host.substr(start, end - start));
            first = false;
        }
        start = end + 1;
    }
    if (!first && host.size() > 1 && host.back() == '/') internal += '\\';
    return internal;
}

std::string ExpandGameDrive(std::string_view internal)
{
    if (!IsGameDrive(internal)) return std::string(internal);
    return GameFolder() + std::string(internal.substr(2));
}

std::size_t FileNameStart(std::string_view internal)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < internal.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(internal[i])))
            ++i;
        else if (IsSeparator(internal[i]))
            start = i + 1;
    }
    return start;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

} // namespace platform
