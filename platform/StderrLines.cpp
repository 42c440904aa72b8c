#include "platform/StderrLines.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include "platform/Clock.h"

namespace platform {
namespace {

constexpr std::array<const char*, 32> ControlNames = {
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",  "VT",  "FF", "CR", "SO", "SI",
    "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS", "GS", "RS", "US",
};

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

// The C1 controls U+0080 to U+009F are spelled by number: some terminals
// take U+009B as ESC [ and U+009D as ESC ]. Never a byte of another
// character: those of a multi-byte one are 0x80 and above.
std::string NamedControls(std::string_view text)
{
    constexpr char Hex[] = "0123456789ABCDEF";
    std::string named;
    named.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const auto next = at + 1 < text.size() ? static_cast<unsigned char>(text[at + 1]) : 0;
        if (byte < ControlNames.size()) {
            named.append("<").append(ControlNames[byte]).append(">");
        } else if (byte == 0x7F) {
            named += "<DEL>";
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            named.append("<U+00").append(1, Hex[next >> 4]).append(1, Hex[next & 0xF]).append(">");
            ++at;
        } else {
            named += text[at];
        }
    }
    return named;
}

StderrLines::StderrLines(Sink sink, Ticks now) : m_sink(std::move(sink)), m_now(std::move(now)), m_windowStart(m_now())
{
}

std::vector<std::string> StderrLines::Say(std::string_view line)
{
    // Named and cut before the lock: only the fold and the write are shared.
    const std::string shown = Bounded(NamedControls(line.substr(0, MaxLineBytes + 1)));
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
