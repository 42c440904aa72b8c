#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/RepeatedLines.h"

namespace {

// Lines in, what the log gets (flushed at the end).
struct Stream {
    const char* what;
    std::vector<std::string> in;
    std::vector<std::string> out;
    platform::RepeatedLines::Likeness likeness = platform::RepeatedLines::Likeness::NumbersAside;
};

std::vector<std::string> Times(int count, const std::string& line) { return std::vector<std::string>(count, line); }

// count lines that differ in more than their numbers: ka, kb, ... kaa.
std::vector<std::string> Kinds(const std::string& stem, std::size_t count)
{
    std::vector<std::string> lines;
    for (std::size_t n = 0; n < count; ++n) lines.push_back(stem + std::string(n / 26 + 1, char('a' + n % 26)));
    return lines;
}

std::vector<std::string> Join(std::vector<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(RepeatedLines, RepeatsAreCountedAndTheCountGoesOutBeforeTheNextNewLine)
{
    const std::vector<Stream> streams{
        {"distinct lines", {"a", "b", "c"}, {"a", "b", "c"}},
        {"numbers differ", {"key=1", "key=2", "key=30", "next"}, {"key=1", "key=30 (repeated 2 times)", "next"}},
        {"two alternate", {"x", "y", "x", "y", "x"}, {"x", "y", "x (repeated 2 times)", "y (repeated 1 times)"}},
        {"five kinds in turn, each counted", Join({{"a", "b", "c", "d", "e"}, {"a", "b", "c", "d", "e"}}),
         {"a", "b", "c", "d", "e", "a (repeated 1 times)", "b (repeated 1 times)", "c (repeated 1 times)",
          "d (repeated 1 times)", "e (repeated 1 times)"}},
        {"past the table's bound the kind seen least recently is forgotten",
         Join({Kinds("k", platform::RepeatedLines::Kinds), {"ka", "new", "ka", "kb"}}),
         Join({Kinds("k", platform::RepeatedLines::Kinds), {"ka (repeated 1 times)", "new", "ka (repeated 1 times)", "kb"}})},
        {"a flood shows at its bound, twice as far each time", Times(75001, "f"),
         {"f", "f (repeated 10000 times)", "f (repeated 20000 times)", "f (repeated 40000 times)",
          "f (repeated 5000 times)"}},
        {"flushed at the end", Join({{"g 1"}, Times(3, "g 9")}), {"g 1", "g 9 (repeated 3 times)"}},
        {"exact: numbers count", {"at 1", "at 1", "at 2"}, {"at 1", "at 1 (repeated 1 times)", "at 2"},
         platform::RepeatedLines::Likeness::Exact},
    };
    for (const Stream& stream : streams) {
        platform::RepeatedLines lines(stream.likeness);
        std::vector<std::string> out;
        const platform::RepeatedLines::Output log = [&](const std::string& line) { out.push_back(line); };
        for (const std::string& line : stream.in) lines.Pass(line, log);
        lines.Flush(log);
        EXPECT_EQ(out, stream.out) << stream.what;
        // What was flushed is forgotten.
        lines.Pass(stream.in.back(), log);
        EXPECT_EQ(out.back(), stream.in.back()) << stream.what;
    }
}

} // namespace
