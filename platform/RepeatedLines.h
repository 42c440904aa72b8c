#pragma once
// Folds the repeats of a chatty library's log lines, and of what the player
// says on stderr: a library can say the same thing for every event of a
// flood, and a script that loops over errors at many places says each on
// every lap, hundreds of thousands of times.

#include <cstdint>
#include <functional>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

// A line is passed on the first time; a later one like one passed on before
// is counted instead, and the count goes out as "<line> (repeated N times)"
// before the next line that is passed on, when it reaches a bound, or at
// Flush. The kinds of line remembered are bounded: past Kinds, the one seen
// least recently is forgotten. Not thread-safe: the caller locks.
class RepeatedLines {
public:
    using Output = std::function<void(const std::string&)>;
    // How like a line passed on a later one must be to count as its repeat:
    // the same but for its numbers, or the same.
    enum class Likeness { NumbersAside, Exact };
    static constexpr std::size_t Kinds = 1024;
    // A flood that goes on still shows now and then: after this many
    // repeats, then after twice as many as the time before.
    static constexpr std::uint64_t Bound = 10000;

    explicit RepeatedLines(Likeness likeness = Likeness::NumbersAside) : m_likeness(likeness) {}
    RepeatedLines(const RepeatedLines&) = delete;
    RepeatedLines& operator=(const RepeatedLines&) = delete;

    void Pass(const std::string& line, const Output& out);
    // Passes on the counts held back and forgets every kind: a line after it
    // is passed on again.
    void Flush(const Output& out);

private:
    struct Kind {
        std::string last;
        std::uint64_t repeats = 0;
        std::uint64_t bound = Bound;
        bool pending = false; // in m_pending
    };
    // Shape and kind, the one seen last first.
    using Order = std::list<std::pair<std::string, Kind>>;

    static void Report(Kind& kind, const Output& out);
    void ReportPending(const Output& out);
    std::string Shape(const std::string& line) const;

    Likeness m_likeness;
    Order m_order;
    // Keys view the shapes held in m_order.
    std::unordered_map<std::string_view, Order::iterator> m_index;
    // The kinds counted since the last line passed on, each once: no walk
    // over the whole table for a new line.
    std::vector<Kind*> m_pending;
};

} // namespace platform
