#include "script/lang/TagSalvage.h"

#include <deque>

#include "frame/EScript.h"
#include "script/lang/TextScan.h"

namespace {

constexpr char UnclosedWhy[] = "タグが閉じていません。";
constexpr char StrayWhy[] = "タグの外に文字があります。";

class Salvage {
public:
    Salvage(std::string_view text, const std::function<void(std::size_t, std::size_t)>& take,
            const std::function<void(const SkippedRun&)>& skipped)
        : m_text(text), m_take(take), m_skipped(skipped)
    {
    }

    void Run()
    {
        for (std::size_t pos = 0; pos < m_text.size();) {
            if (IsTagBlank(m_text[pos])) ++pos;
            else if (m_text[pos] == '[') pos = ScanFrom(pos);
            // Byte by byte: a lone lead byte must not swallow the "[" behind it.
            else Fail(pos++, 1, true, StrayWhy);
        }
        Flush();
    }

private:
    // Follows the "[" at open to its close, keeping the "["s still open; the
    // position behind what it read.
    std::size_t ScanFrom(std::size_t open)
    {
        m_open.push_back(open);
        std::size_t pos = open + 1;
        for (; !m_open.empty(); pos += kivotasuGameKit::CharLengthAt(m_text, pos)) {
            if (pos >= m_text.size()) {
                while (!m_open.empty()) FailBottom(m_text.size());
                break;
            }
            if (m_text[pos] == '[') {
                if (m_open.size() == MaxTagDepth) FailBottom(pos);
                m_open.push_back(pos);
            } else if (m_text[pos] == ']') {
                const std::size_t matched = m_open.back();
                m_open.pop_back();
                if (m_open.empty() && !Take(matched, pos) && matched >= m_rereadEnd) {
                    // Its characters may have swallowed the "[" of a good tag
                    // behind a lead byte: read its bytes again, once.
                    m_rereadEnd = pos;
                    return matched + 1;
                }
            }
        }
        return pos;
    }

    // The outermost open "[" will not close. What lies between it and the
    // next one still open closed there already and is read as tags.
    void FailBottom(std::size_t scanned)
    {
        const std::size_t bottom = m_open.front();
        m_open.pop_front();
        Fail(bottom, 1, false, UnclosedWhy);
        ReadClosed(bottom + 1, m_open.empty() ? scanned : m_open.front());
    }

    // Every "[" in [from, to) closes before to.
    void ReadClosed(std::size_t from, std::size_t to)
    {
        for (std::size_t pos = from; pos < to;) {
            if (IsTagBlank(m_text[pos])) {
                ++pos;
            } else if (m_text[pos] == '[') {
                const std::size_t close = CloseOf(pos, to);
                Take(pos, close);
                pos = close + 1;
            } else {
                const std::size_t length = kivotasuGameKit::CharLengthAt(m_text, pos);
                Fail(pos, length, true, StrayWhy);
                pos += length;
            }
        }
    }

    std::size_t CloseOf(std::size_t open, std::size_t to) const
    {
        std::size_t depth = 0;
        std::size_t pos = open;
        for (; pos < to; pos += kivotasuGameKit::CharLengthAt(m_text, pos)) {
            if (m_text[pos] == '[') ++depth;
            else if (m_text[pos] == ']' && --depth == 0) break;
        }
        return pos;
    }

    // False when refused.
    bool Take(std::size_t open, std::size_t close)
    {
        try {
            m_take(open, close);
        } catch (const EScript& refused) {
            Fail(open, close + 1 - open, false, refused.what());
            return false;
        }
        Flush();
        return true;
    }

    // Places come in the order of the text; what a refused tag's second
    // reading finds inside it is no new place.
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
    const std::function<void(std::size_t, std::size_t)>& m_take;
    const std::function<void(const SkippedRun&)>& m_skipped;
    std::deque<std::size_t> m_open;
    // The end of the refused tag whose bytes are being read again.
    std::size_t m_rereadEnd = 0;
    SkippedRun m_run;
    bool m_lastStray = false;
};

} // namespace

void SalvageTags(std::string_view text, const std::function<void(std::size_t, std::size_t)>& take,
                 const std::function<void(const SkippedRun&)>& skipped)
{
    Salvage(text, take, skipped).Run();
}
