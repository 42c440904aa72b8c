#pragma once
// Folds the repeats of a chatty library's log lines: a library can say the
// same thing for every event of a flood, hundreds of thousands of times.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

// A line is passed on the first time; a later one that differs from one of the
// last few passed on only in its numbers is counted instead, and the count goes
// out as "<line> (repeated N times)" before the next line that is passed on,
// when it reaches a bound, or at Flush. Not thread-safe: the caller locks.
class RepeatedLines {
public:
    using Output = std::function<void(const std::string&)>;

    void Pass(const std::string& line, const Output& out);
    // Passes on the counts held back.
    void Flush(const Output& out);

private:
    struct Kind {
        std::string shape;
        std::string last;
        std::uint64_t repeats = 0;
    };
    static void Report(Kind& kind, const Output& out);

    // The most recent last.
    std::vector<Kind> m_kinds;
};

} // namespace platform
