#pragma once
// The line numbers of places in a script. The breaks before each block of the
// text are counted once, at the first question, so a line is then found by
// counting within one block: an error in a loop costs no pass over the script.

#include <cstddef>
#include <string_view>
#include <vector>

class CScriptLines {
public:
    CScriptLines() = default;
    // The text is viewed, not copied: its owner replaces this before freeing it.
    explicit CScriptLines(std::string_view text) : m_text(text) {}

    // The line (1 for the first) that offset lies on; 0 beyond the text.
    std::size_t LineAt(std::size_t offset);

private:
    static constexpr std::size_t Block = 4096;

    std::string_view m_text;
    // Entry n: the line breaks before byte n * Block. Empty until asked.
    std::vector<std::size_t> m_breaksBefore;
};
