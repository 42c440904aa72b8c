#include "platform/RepeatedLines.h"

#include <cctype>

namespace platform {

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
    if (const auto known = m_index.find(shape); known != m_index.end()) {
        m_order.splice(m_order.begin(), m_order, known->second);
        Kind& kind = known->second->second;
        kind.last = line;
        if (!kind.pending) m_pending.push_back(&kind);
        kind.pending = true;
        if (++kind.repeats >= kind.bound) {
            Report(kind, out);
            // A flood that goes on for hours still says a few lines, not a line a second.
            kind.bound *= 2;
        }
        return;
    }
    // Nothing is pending now, so the kind forgotten has no count to lose.
    ReportPending(out);
    if (m_order.size() == Kinds) {
        m_index.erase(m_order.back().first);
        m_order.pop_back();
    }
    m_order.emplace_front(std::move(shape), Kind{line});
    m_index.emplace(m_order.front().first, m_order.begin());
    out(line);
}

void RepeatedLines::Flush(const Output& out)
{
    ReportPending(out);
    m_index.clear();
    m_order.clear();
}

void RepeatedLines::ReportPending(const Output& out)
{
    for (Kind* kind : m_pending) {
        Report(*kind, out);
        kind->pending = false;
    }
    m_pending.clear();
}

void RepeatedLines::Report(Kind& kind, const Output& out)
{
    if (kind.repeats == 0) return;
    out(kind.last + " (repeated " + std::to_string(kind.repeats) + " times)");
    kind.repeats = 0;
}

} // namespace platform
