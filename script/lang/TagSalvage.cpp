#include "script/lang/TagSalvage.h"

#include <algorithm>
#include <deque>
#include <optional>

#include "frame/EScript.h"
#include "script/lang/TextScan.h"

namespace {

constexpr auto npos = std::string_view::npos;

constexpr char UnclosedWhy[] = "タグが閉じていません。";
constexpr char StrayWhy[] = "タグの外に文字があります。";
constexpr char OtherTagWhy[] = "記録として読めるタグではありません。";
constexpr char ShapeWhy[] = "記録の形をしていません。";

// Walks the text once, character by character. Every walk the lexer starts
// behind a "[" byte joins this one at the byte behind it, since a bracket is
// one byte: a "[" inside a two-byte character here still starts a tag of its
// own, and closes where the brackets opened around it close.
class Salvage {
public:
    Salvage(std::string_view text, StoredRecordShape shape, const std::function<void(std::size_t, std::size_t)>& take,
            const std::function<void(const SkippedRun&)>& skipped)
        : m_text(text), m_shape(shape), m_take(take), m_skipped(skipped)
    {
    }

    bool Run(const std::function<bool()>& stop)
    {
        for (std::size_t pos = 0, asked = 0; pos < m_text.size();) {
            if (pos >= asked) {
                if (stop()) return false;
                asked = pos + StopAskedEvery;
            }
            const char ch = m_text[pos];
            if (kivotasuGameKit::CharLengthAt(m_text, pos) == 2) {
                if (m_text[pos + 1] == '[') Opened(pos + 1, m_depth);
                m_afterQuote = false;
                pos += 2;
                continue;
            }
            if (ch == '[') {
                Opened(pos, m_depth + 1);
                ++m_depth;
            } else if (ch == ']') {
                Closed(pos);
                if (m_depth > 0) --m_depth;
            } else if (ch == '"') {
                ++m_quotes;
            }
            m_afterQuote = ch == '"';
            ++pos;
            Settle();
        }
        m_ended = true;
        Settle();
        ReportUpTo(m_text.size());
        Flush();
        return true;
    }

private:
    // A "[" of the record's name that may yet prove a record. level: the
    // bracket depth whose "]" closes it; close stays npos while it is open.
    struct Candidate {
        std::size_t open;
        std::size_t level;
        std::size_t quotesBefore;
        std::size_t close = npos;
    };

    bool TooManyQuotes(const Candidate& candidate) const { return m_quotes - candidate.quotesBefore > 2 * m_shape.values; }

    void Opened(std::size_t open, std::size_t level)
    {
        const std::optional<std::size_t> name = TagNameTable().Match(m_text.substr(SkipTagBlanks(m_text, open + 1)));
        if (name != static_cast<std::size_t>(m_shape.name)) return;
        m_candidates.push_back({open, level, m_quotes});
        // Only the oldest can be given up: tries go in the order of the text.
        if (++m_open > MaxOpenRecords) Refuse(m_candidates.front(), 1, UnclosedWhy);
    }

    // The candidates this "]" closes are the last open ones; behind them lie
    // only closed ones in the shape, one for each quote at most. One out of
    // shape is dropped at once: nothing could make it a record.
    void Closed(std::size_t close)
    {
        for (std::size_t i = m_candidates.size(); i-- > 0 && m_open > 0;) {
            Candidate& candidate = m_candidates[i];
            if (candidate.close != npos) continue;
            if (candidate.level != m_depth) break;
            --m_open;
            if (m_afterQuote && !TooManyQuotes(candidate)) candidate.close = close;
            else m_candidates.erase(m_candidates.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }

    // Tries the oldest candidates whose fate is known.
    void Settle()
    {
        while (!m_candidates.empty()) {
            const Candidate front = m_candidates.front();
            if (front.close != npos) Try(front);
            else if (m_ended) Refuse(front, 1, UnclosedWhy);
            else if (TooManyQuotes(front)) Refuse(front, 1, ShapeWhy);
            else return;
        }
    }

    void Try(const Candidate& record)
    {
        ReportUpTo(record.open);
        try {
            m_take(record.open, record.close);
        } catch (const EScript& refused) {
            Refuse(record, record.close + 1 - record.open, refused.what());
            return;
        }
        Flush();
        m_reported = record.close + 1;
        // What opened inside it closed inside it.
        while (!m_candidates.empty() && m_candidates.front().open < record.close) m_candidates.pop_front();
    }

    // The oldest candidate is no record; what lies inside it is read on.
    void Refuse(const Candidate& front, std::size_t bytes, const char* why)
    {
        const std::size_t open = front.open;
        if (front.close == npos) --m_open;
        m_candidates.pop_front();
        ReportUpTo(open);
        Fail(open, bytes, false, why);
        m_reported = open + 1;
    }

    // Says what failed between the last place settled and to: every "[" there
    // opened no record, and the rest is stray, byte by byte, so a lone lead
    // byte swallows nothing.
    void ReportUpTo(std::size_t to)
    {
        for (std::size_t pos = m_reported; pos < to; ++pos) {
            if (m_text[pos] == '[') Fail(pos, 1, false, OtherTagWhy);
            else if (!IsTagBlank(m_text[pos])) Fail(pos, 1, true, StrayWhy);
        }
        m_reported = std::max(m_reported, to);
    }

    // Places come in the order of the text; what lies inside a refused tag is
    // no new place.
    void Fail(std::size_t at, std::size_t bytes, bool stray, const char* why)
    {
        if (m_run.places == 0) m_run = {at, 0, 0, why};
        const std::size_t end = m_run.offset + m_run.bytes;
        if (at + bytes <= end) return;
        if (!stray || !m_lastStray || at != end) ++m_run.places;
        m_run.bytes = at + bytes - m_run.offset;
        m_lastStray = stray;
    }

    void Flush()
    {
        if (m_run.places == 0) return;
        m_skipped(m_run);
        m_run = {};
        m_lastStray = false;
    }

    std::string_view m_text;
    StoredRecordShape m_shape;
    const std::function<void(std::size_t, std::size_t)>& m_take;
    const std::function<void(const SkippedRun&)>& m_skipped;
    // Brackets open on the walk, and quotes passed.
    std::size_t m_depth = 0;
    std::size_t m_quotes = 0;
    bool m_afterQuote = false;
    bool m_ended = false;
    // In the order of the text; m_open of them have not closed.
    std::deque<Candidate> m_candidates;
    std::size_t m_open = 0;
    // Everything before it is said or taken.
    std::size_t m_reported = 0;
    SkippedRun m_run;
    bool m_lastStray = false;
};

} // namespace

bool SalvageRecords(std::string_view text, StoredRecordShape shape,
                    const std::function<void(std::size_t, std::size_t)>& take,
                    const std::function<void(const SkippedRun&)>& skipped, const std::function<bool()>& stop)
{
    return Salvage(text, shape, take, skipped).Run(stop);
}
