#include "platform/RepeatedLines.h"

#include <algorithm>
#include <cctype>

namespace platform {

namespace {

// Lines of this many kinds are recognised when they come back: a flood can
// alternate between a few messages.
constexpr std::size_t Kinds = 4;
// A flood that goes on still shows in the log now and then.
constexpr std::uint64_t Bound = 10000;

} // namespace

// The line with each run of digits as one '#'.
std::string RepeatedLines::Shape(const std::string& line) const
{
    if (m_likeness == Likeness::Exact) return line;
    std::string shape;
    for (const char c : line)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            shape += c;
        else if (shape.empty() || shape.back() != '#')
            shape += '#';
    return shape;
}

void RepeatedLines::Pass(const std::string& line, const Output& out)
{
    std::string shape = Shape(line);
    const auto known = std::find_if(m_kinds.begin(), m_kinds.end(), [&](const Kind& kind) { return kind.shape == shape; });
    if (known != m_kinds.end()) {
        known->last = line;
        if (++known->repeats >= Bound) Report(*known, out);
        return;
    }
    ReportAll(out);
    if (m_kinds.size() == Kinds) m_kinds.erase(m_kinds.begin());
    m_kinds.push_back({std::move(shape), line, 0});
    out(line);
}

void RepeatedLines::Flush(const Output& out)
{
    ReportAll(out);
    m_kinds.clear();
}

void RepeatedLines::ReportAll(const Output& out)
{
    for (Kind& kind : m_kinds) Report(kind, out);
}

void RepeatedLines::Report(Kind& kind, const Output& out)
{
    if (kind.repeats == 0) return;
    out(kind.last + " (repeated " + std::to_string(kind.repeats) + " times)");
    kind.repeats = 0;
}

} // namespace platform
