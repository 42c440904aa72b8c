#include "platform/StderrLines.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include "platform/Clock.h"
#include "platform/Utf8Characters.h"

namespace platform {
namespace {

constexpr std::array<const char*, 32> ControlNames = {
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",  "VT",  "FF", "CR", "SO", "SI",
    "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS", "GS", "RS", "US",
};

std::string HexByte(unsigned char byte)
{
    constexpr char Hex[] = "0123456789ABCDEF";
    return {Hex[byte >> 4], Hex[byte & 0xF]};
}

bool IsContinuation(char ch) { return (static_cast<unsigned char>(ch) & 0xC0) == 0x80; }

std::string Bounded(std::string line)
{
    if (line.size() <= StderrLines::MaxLineBytes) return line;
    std::size_t end = StderrLines::MaxLineBytes;
    while (end > 0 && IsContinuation(line[end])) --end;
    line.resize(end);
    return line + "…";
}

} // namespace

// The C1 controls are spelled by number: some terminals take U+009B as
// ESC [ and U+009D as ESC ]. So is a byte 0x80 to 0x9F of no character: a
// terminal that reads bytes takes it as that C1 control, and it is the last
// byte of every overlong form of a control, which a lax reader decodes. The
// bytes of a character (kana hold 0x80 to 0x9F) pass as they are.
std::string NamedControls(std::string_view text)
{
    std::string named;
    named.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Character character = Utf8CharacterAt(text, at);
        const auto byte = static_cast<unsigned char>(text[at]);
        if (character.length == 0) {
            if (byte <= 0x9F) named.append("<0x").append(HexByte(byte)).append(">");
            else named += text[at];
            ++at;
            continue;
        }
        const char32_t code = character.code;
        if (code < ControlNames.size()) {
            named.append("<").append(ControlNames[code]).append(">");
        } else if (code == 0x7F) {
            named += "<DEL>";
        } else if (IsControlCharacter(code)) {
            named.append("<U+00").append(HexByte(static_cast<unsigned char>(code))).append(">");
        } else {
            named.append(text.substr(at, character.length));
        }
        at += character.length;
    }
    return named;
}

StderrLines::StderrLines(Sink sink, Ticks now) : m_sink(std::move(sink)), m_now(std::move(now)), m_windowStart(m_now())
{
}

std::vector<std::string> StderrLines::Say(std::string_view line)
{
    // Named and cut before the lock: only the fold and the write are shared.
    // A character that starts within the bound is named whole, not as bytes
    // of none.
    constexpr std::size_t LongestCharacter = 4;
    const std::string shown = Bounded(NamedControls(line.substr(0, MaxLineBytes + LongestCharacter)));
    std::vector<std::string> written;
    std::lock_guard<std::mutex> guard(m_lock);
    m_folded.Pass(shown, [&](const std::string& said) { Write(said, written); });
    return written;
}

void StderrLines::Flush()
{
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<std::string> written;
    m_folded.Flush([&](const std::string& said) { Write(said, written); });
    WriteHeld();
    m_windowStart = m_now();
    m_inWindow = 0;
}

void StderrLines::Write(const std::string& line, std::vector<std::string>& written)
{
    const std::uint32_t now = m_now();
    if (now - m_windowStart >= WindowMs) {
        m_windowStart = now;
        m_inWindow = 0;
    }
    if (m_inWindow >= LinesPerWindow) {
        ++m_held;
        return;
    }
    // The count of what was held takes a place in the window of its own.
    if (m_held != 0) {
        WriteHeld();
        ++m_inWindow;
        if (m_inWindow >= LinesPerWindow) {
            ++m_held;
            return;
        }
    }
    ++m_inWindow;
    m_sink(line + "\n");
    written.push_back(line);
}

void StderrLines::WriteHeld()
{
    if (m_held == 0) return;
    m_sink("quiltor: " + std::to_string(m_held) + " more lines held back (at most " + std::to_string(LinesPerWindow) +
           " lines are written in " + std::to_string(WindowMs / 1000) + " s)\n");
    m_held = 0;
}

StderrLines& Stderr()
{
    static StderrLines& writer = []() -> StderrLines& {
        // The clock is made first so that it is destroyed after the flush at exit.
        (void)Clock();
        // Never destroyed: a line may still be said while statics are destroyed.
        auto* made = new StderrLines([](std::string_view line) { std::fwrite(line.data(), 1, line.size(), stderr); },
                                     [] { return Clock().Now(); });
        std::atexit([] { Stderr().Flush(); });
        return *made;
    }();
    return writer;
}

} // namespace platform
