#pragma once
// The one writer of the player's stderr. Everything the player says there
// (script errors and notices, failed saves, the log device) passes through
// it, so no name a script or a folder gives can drive the terminal, and no
// loop can flood it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RepeatedLines.h"

namespace platform {

// Each line has its control characters spelled by name ("<ESC>", "<LF>",
// "<U+009B>", and "<0x9B>" for such a byte outside UTF-8), is cut to MaxLineBytes at a character boundary, and is folded
// with the lines said before (a repeat is counted, not said). At most
// LinesPerWindow lines are written in WindowMs; the rest are held back and
// counted, and one line says how many before the next line written.
// Thread-safe.
class StderrLines {
public:
    // Writes one line, its break included.
    using Sink = std::function<void(std::string_view)>;
    // Milliseconds, wrapping at 2^32 like the player's tick.
    using Ticks = std::function<std::uint32_t()>;

    // Long enough for a command that names a long path four times.
    static constexpr std::size_t MaxLineBytes = 16384;
    static constexpr std::uint32_t WindowMs = 10000;
    static constexpr std::size_t LinesPerWindow = 200;

    StderrLines(Sink sink, Ticks now);

    // line is UTF-8, without its break. Returns the lines written for it: the
    // line itself when new, and the counts of repeats said before it. Only
    // control characters are renamed, so text a caller escaped for pasting
    // into a shell (quoted as $'\e') passes unchanged.
    std::vector<std::string> Say(std::string_view line);
    // Writes the counts and the number of lines held back, and starts afresh
    // as in a new process: every line is new again, the window empty.
    void Flush();

private:
    // Under m_lock.
    void Write(const std::string& line, std::vector<std::string>& written);
    void WriteHeld();

    std::mutex m_lock;
    Sink m_sink;
    Ticks m_now;
    RepeatedLines m_folded{RepeatedLines::Likeness::Exact};
    std::uint32_t m_windowStart;
    std::size_t m_inWindow = 0;
    std::uint64_t m_held = 0;
};

// Every control character spelled by its name ("<ESC>", "<U+009B>"), and
// every byte 0x80 to 0x9F outside a UTF-8 character by its number
// ("<0x9B>"): names a script or a folder gives neither drive the terminal
// nor cut the line.
std::string NamedControls(std::string_view text);

// The process's writer: lines go to the stderr stream, timed by the
// player's clock (Clock(), so a test's virtual clock times it too). Said at
// exit: what it holds back.
StderrLines& Stderr();

} // namespace platform
