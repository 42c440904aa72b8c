#include "script/lang/ScriptLines.h"

#include <algorithm>

namespace {

std::size_t BreaksIn(std::string_view text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }

} // namespace

std::size_t CScriptLines::LineAt(std::size_t offset)
{
    if (offset > m_text.size()) return 0;
    if (m_breaksBefore.empty()) {
        m_breaksBefore.push_back(0);
        for (std::size_t start = Block; start <= m_text.size(); start += Block)
            m_breaksBefore.push_back(m_breaksBefore.back() + BreaksIn(m_text.substr(start - Block, Block)));
    }
    const std::size_t block = offset / Block;
    return m_breaksBefore[block] + BreaksIn(m_text.substr(block * Block, offset - block * Block)) + 1;
}
