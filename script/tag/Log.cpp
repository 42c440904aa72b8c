#include "script/tag/Log.h"

#include <algorithm>
#include <climits>

#include "frame/EScript.h"
#include "frame/file/FileWriter.h"
#include "script/engine/GlobalSettings.h"
#include "script/lang/SavedValue.h"
#include "script/lang/TagAttributes.h"
#include "script/tag/Text.h"
#include "script/tag/TextRules.h"

using kivotasuGameKit::CTextString;

namespace TAG {
namespace {

std::int32_t CharacterCount(const CTextString& line)
{
    std::int32_t count = 0;
    for (std::size_t pos = 0; pos < std::size_t(line.GetLength()); pos += kivotasuGameKit::CharLengthAt(line.GetStr(), pos))
        ++count;
    return count;
}

} // namespace

CLog::CLog()
{
    Reset();
}

void CLog::Reset()
{
    m_x = m_y = 12;
    m_beam = 24;
    m_line = 15;
    m_height = 30;
    m_hang = 1;
    m_indent = 1;
    m_indentCount = 0;
    m_lines.clear();
    m_lines.emplace_back();
    m_awaitingSave = false;
}

void CLog::ExpectSavedLines()
{
    m_awaitingSave = m_lines.size() == 1 && m_lines.front().IsEmpty();
}

void CLog::ParseDefault(const CTagAttributes& record)
{
    const std::pair<TagAttributeKey, std::int32_t*> numbers[] = {
        {TagAttributeKey::X, &m_x},       {TagAttributeKey::Y, &m_y},       {TagAttributeKey::Beam, &m_beam},
        {TagAttributeKey::Line, &m_line}, {TagAttributeKey::Height, &m_height}, {TagAttributeKey::Hang, &m_hang},
        {TagAttributeKey::Indent, &m_indent}};
    for (auto [key, field] : numbers)
        if (!record.GetValue(key).IsEmpty()) *field = ToTagNumber(record.GetValue(key).GetStr());
}

void CLog::ParseEntry(const CTagAttributes& record)
{
    if (!record.GetValue(TagAttributeKey::Indent).IsEmpty())
        m_indentCount = ToTagNumber(record.GetValue(TagAttributeKey::Indent).GetStr());
    if (m_awaitingSave) {
        m_lines.back() = record.GetBody();
        m_awaitingSave = false;
        return;
    }
    m_lines.push_back(record.GetBody());
    if (m_lines.size() >= MaxLines) m_lines.erase(m_lines.begin(), m_lines.begin() + MaxLines / 2);
}

void CLog::AddLine()
{
    m_awaitingSave = false;
    m_lines.emplace_back();
    if (m_lines.size() >= MaxLines) m_lines.erase(m_lines.begin(), m_lines.begin() + MaxLines / 2);
    m_lines.back() = CTextString(FullWidthSpaces(m_indentCount));
}

void CLog::AddEmptyLine()
{
    AddLine();
    AddLine();
}

void CLog::AddText(const CTextString& message)
{
    m_awaitingSave = false;
    const std::string_view text = message.GetStr();
    std::int32_t column = CharacterCount(m_lines.back());
    const auto newLine = [&] {
        AddLine();
        column = CharacterCount(m_lines.back());
    };
    for (std::size_t pos = 0;;) {
        const LayoutChar next = NextLayoutChar(text, pos);
        if (!next.consumed) break;
        pos += next.consumed;
        if (column == std::int64_t(m_hang) + m_beam) newLine();
        if (column >= m_beam && !IsLineStartForbidden(next.shown)) newLine();
        m_lines.back() += CTextString(next.shown);
        ++column;
        if (m_indent == 1) {
            if (OpensIndent(next.shown)) m_indentCount = column;
            if (ClosesIndent(next.shown)) m_indentCount = 0;
        }
    }
}

void CLog::Write(kivotasuGameKit::CTextFileWriter& writer) const
{
    CTextString head("\n[DEFAULTLOG");
    head.AppendAttribute("X", m_x);
    head.AppendAttribute("Y", m_y);
    head.AppendAttribute("HEIGHT", m_height);
    head.AppendAttribute("BEAM", m_beam);
    head.AppendAttribute("LINE", m_line);
    head.AppendAttribute("HANG", m_hang);
    head.AppendAttribute("INDENT", m_indent);
    head += CTextString("]\n");
    writer.Write(head);
    // The indent count rides on the last line: a LOG tag of its own would
    // add an empty line with every load.
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        CTextString entry("[LOG");
        AppendSavedAttribute(entry, "BODY", CTextString(ShownBytes(m_lines[i].GetStr())));
        if (i + 1 == m_lines.size() && m_indentCount != 0) entry.AppendAttribute("INDENT", m_indentCount);
        entry += CTextString("]\n");
        writer.Write(entry);
    }
}

std::int64_t CLog::Step(std::int32_t n) const
{
    return n == 0 ? std::int64_t(m_line) - 2 : n;
}

std::int32_t CLog::LastPageFirst() const
{
    return std::int32_t(std::clamp<std::int64_t>(std::int64_t(m_lines.size()) - m_line, 0, std::int64_t(m_lines.size())));
}

void CLog::Draw(Plane& back)
{
    m_back = &back;
    m_backdrop.Release();
    if (m_backdrop.InnerCreateMemorySurface(ScreenWidth(), ScreenHeight(), kivotasuGameKit::SurfaceType::ARGB8888, false) == 0)
        m_backdrop.CopyBlt(&back, 0, 0);
    m_firstShown = LastPageFirst();
    DrawPage();
}

void CLog::DrawPage()
{
    if (!m_back) return;
    Plane& back = *m_back;
    back.CopyBlt(&m_backdrop, 0, 0);
    if (!m_text) return;
    for (std::int32_t k = 0; k < m_line && m_firstShown + k < std::int32_t(m_lines.size()); ++k) {
        // A line too long for the page (a LOG tag's own) is cut, not an error of the view.
        try {
            const std::int64_t y = SaturatedInt32(m_y + std::int64_t(k) * m_height);
            m_text->DrawTextAt(back, m_lines[std::size_t(m_firstShown + k)].GetStr(), m_x, int(y), m_beam, 1);
        } catch (const EScript&) {
        }
    }
}

void CLog::ScrollUp(std::int32_t n)
{
    m_firstShown = std::int32_t(std::max<std::int64_t>(0, m_firstShown - Step(n)));
    DrawPage();
}

void CLog::ScrollDown(std::int32_t n)
{
    m_firstShown = std::int32_t(std::clamp<std::int64_t>(m_firstShown + Step(n), 0, LastPageFirst()));
    DrawPage();
}

void CLog::ScrollToTop()
{
    m_firstShown = 0;
    DrawPage();
}

void CLog::ScrollToEnd()
{
    m_firstShown = LastPageFirst();
    DrawPage();
}

void CLog::RestoreScreen(Plane& back)
{
    back.CopyBlt(&m_backdrop, 0, 0);
}

} // namespace TAG
