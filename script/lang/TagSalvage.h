#pragma once
// Reads what can be read of a stored file of tags that may be damaged: the
// tags that close, in order, and the runs of bytes between them that hold
// none. One pass whatever the file holds: a "[" that never closes costs no
// rescan of what follows it.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// A stretch with no tag read from it: where it starts, its length, the places
// that failed in it (an unclosed "[", a tag refused, stray text) and why the
// first one did.
struct SkippedRun {
    std::size_t offset = 0;
    std::size_t bytes = 0;
    std::size_t places = 0;
    std::string why;
};

// take gets each "[" at open that closes at close (the lexer's bracket rule,
// inside the Shift-JIS characters that start at open) and throws EScript to
// refuse it. skipped gets each run between the tags taken, blanks left out
// of its ends. A "[" that has not closed at the end of the text, or under
// MaxTagDepth others, is a place that failed, and the first "[" inside it
// is read as the next tag. The bytes of a refused tag are read again, once:
// a lead byte in it may have swallowed the "[" of a good one.
void SalvageTags(std::string_view text, const std::function<void(std::size_t open, std::size_t close)>& take,
                 const std::function<void(const SkippedRun&)>& skipped);

// No stored tag nests deeper; it bounds what an unclosed run holds in memory.
inline constexpr std::size_t MaxTagDepth = 1024;
