#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/StderrLines.h"

namespace {

using platform::StderrLines;

// A writer whose lines are kept and whose time stands still until moved.
struct Written {
    std::vector<std::string> lines;
    std::uint32_t now = 0;
    StderrLines writer{[this](std::string_view line) { lines.emplace_back(line); }, [this] { return now; }};
};

std::string Numbered(const char* text, std::size_t n) { return text + std::to_string(n); }

TEST(StderrLines, NamesControlBytesAndCutsLongLinesAtACharacter)
{
    const std::string kana = "\xE3\x81\x82"; // あ
    const std::string longLine = std::string(StderrLines::MaxLineBytes - 1, 'x') + kana;
    const struct {
        const char* what;
        std::string said;
        std::string written;
    } cases[] = {
        {"a title sequence", "a\x1b]0;title\a b", "a<ESC>]0;title<BEL> b\n"},
        {"a clear screen, a carriage return", "\x1b[2J\rc\b", "<ESC>[2J<CR>c<BS>\n"},
        {"breaks, a tab, zero and DEL", std::string("1\n2\t3\0" "4\x7f", 8), "1<LF>2<HT>3<NUL>4<DEL>\n"},
        {"C1 controls in UTF-8, not the characters beside them", "\xC2\x9B" "2J\xC2\x9D\xC2\xA0\xC3\x80\xC2",
         "<U+009B>2J<U+009D>\xC2\xA0\xC3\x80\xC2\n"},
        {"a C1 byte of a path that is no UTF-8, and an overlong ESC", "/g\x9B" "2J/\xC0\x9B[1m\xE3\x81x",
         "/g<0x9B>2J/\xC0<0x9B>[1m\xE3<0x81>x\n"},
        {"the first and the last C1 byte", "\x80-\x9F", "<0x80>-<0x9F>\n"},
        {"a kana whose bytes are C1 bytes", "\xE3\x81\x9B\xE3\x82\x9D", "\xE3\x81\x9B\xE3\x82\x9D\n"},
        {"UTF-8 and a shell's escapes as they are", kana + " $'\\e\\a'", kana + " $'\\e\\a'\n"},
        {"cut before a character that does not fit", longLine, longLine.substr(0, StderrLines::MaxLineBytes - 1) + "…\n"},
        {"named bytes counted in the bound", std::string(StderrLines::MaxLineBytes, '\x1b'),
         [] {
             std::string named;
             while (named.size() + 5 <= StderrLines::MaxLineBytes) named += "<ESC>";
             return named + std::string(StderrLines::MaxLineBytes - named.size(), '\0');
         }()},
    };
    for (const auto& c : cases) {
        Written out;
        out.writer.Say(c.said);
        ASSERT_EQ(out.lines.size(), 1u) << c.what;
        if (c.written.find('\0') == std::string::npos) {
            EXPECT_EQ(out.lines[0], c.written) << c.what;
            continue;
        }
        // A run of names is cut within a name: only its bytes are checked.
        EXPECT_LE(out.lines[0].size(), StderrLines::MaxLineBytes + 4) << c.what;
        EXPECT_EQ(out.lines[0].find('\x1b'), std::string::npos) << c.what;
        EXPECT_TRUE(out.lines[0].starts_with("<ESC><ESC>")) << c.what;
    }
}

// Lines past the window's allowance are held back and counted; the count
// goes out before the next line of a later window, or at Flush.
TEST(StderrLines, AtMostAWindowsAllowanceIsWrittenAndWhatWasHeldIsCounted)
{
    Written out;
    const std::size_t over = 50;
    for (std::size_t n = 0; n < StderrLines::LinesPerWindow + over; ++n) out.writer.Say(Numbered("place ", n));
    ASSERT_EQ(out.lines.size(), StderrLines::LinesPerWindow);
    EXPECT_EQ(out.lines.back(), Numbered("place ", StderrLines::LinesPerWindow - 1) + "\n");

    out.now += StderrLines::WindowMs - 1;
    EXPECT_TRUE(out.writer.Say("still held").empty());
    out.now += 1;
    const std::vector<std::string> said = out.writer.Say("after the window");
    ASSERT_EQ(out.lines.size(), StderrLines::LinesPerWindow + 2);
    EXPECT_EQ(out.lines[StderrLines::LinesPerWindow], "quiltor: 51 more lines held back (at most 200 lines are written in 10 s)\n");
    EXPECT_EQ(said, std::vector<std::string>{"after the window"}) << "the count of the held is no line of the caller's";

    // Held again, and at Flush the counts of repeats (capped too) and of the held.
    for (std::size_t n = 0; n < StderrLines::LinesPerWindow; ++n) out.writer.Say(Numbered("more ", n));
    out.writer.Say("after the window");
    out.writer.Flush();
    EXPECT_EQ(out.lines.back(), "quiltor: 3 more lines held back (at most 200 lines are written in 10 s)\n");
    EXPECT_EQ(out.lines.size(), 2 * StderrLines::LinesPerWindow + 1);
    // Afresh: a line said before is new, the window empty.
    out.lines.clear();
    for (std::size_t n = 0; n < StderrLines::LinesPerWindow; ++n) out.writer.Say(Numbered("place ", n));
    EXPECT_EQ(out.lines.size(), StderrLines::LinesPerWindow);
}

// The log device writes from the mixing thread and the application thread at once.
TEST(StderrLines, LinesOfManyThreadsAreEachSaidOnceAndTheirRepeatsCounted)
{
    Written out;
    constexpr std::size_t Threads = 4, Lines = 30, Shared = 10;
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < Threads; ++t) {
        threads.emplace_back([&out, t] {
            for (std::size_t n = 0; n < Lines; ++n) {
                out.writer.Say(Numbered("thread ", t * Lines + n));
                if (n < Shared) out.writer.Say("shared");
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    out.writer.Flush();
    std::size_t own = 0, shared = 0, repeats = 0;
    for (const std::string& line : out.lines) {
        if (line.starts_with("thread ")) ++own;
        else if (line == "shared\n") ++shared;
        else repeats += std::stoul(line.substr(line.find("(repeated ") + 10));
    }
    EXPECT_EQ(own, Threads * Lines);
    EXPECT_EQ(shared, 1u);
    EXPECT_EQ(repeats, Threads * Shared - 1);
}

} // namespace
