#pragma once
// Folds the repeats of a chatty library's log lines, and of a script's errors:
// a library can say the same thing for every event of a flood, and a script
// that loops over an error says it on every lap, hundreds of thousands of times.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

// A line is passed on the first time; a later one like one of the last few
// passed on is counted instead, and the count goes out as "<line> (repeated N
// times)" before the next line that is passed on, when it reaches a bound, or
// at Flush. Not thread-safe: the caller locks.
class RepeatedLines {
public:
    using Output = std::function<void(const std::string&)>;
    // How like a line passed on a later one must be to count as its repeat:
    // the same but for its numbers, or the same.
    enum class Likeness { NumbersAside, Exact };

    explicit RepeatedLines(Likeness likeness = Likeness::NumbersAside) : m_likeness(likeness) {}

    void Pass(const std::string& line, const Output& out);
    // Passes on the counts held back; a line after it is passed on again.
    void Flush(const Output& out);

private:
    struct Kind {
        std::string shape;
        std::string last;
        std::uint64_t repeats = 0;
    };
    static void Report(Kind& kind, const Output& out);
    void ReportAll(const Output& out);
    std::string Shape(const std::string& line) const;

    Likeness m_likeness;

    // The most recent last.
    std::vector<Kind> m_kinds;
};

} // namespace platform
