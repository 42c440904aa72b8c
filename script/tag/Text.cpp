#include "script/tag/Text.h"

#include <algorithm>
#include <climits>

#include "draw/FastDraw.h"
#include "frame/EScript.h"
#include "frame/file/FileWriter.h"
#include "script/engine/GlobalSettings.h"
#include "script/lang/SavedValue.h"
#include "script/lang/TagAttributes.h"
#include "script/tag/FontList.h"
#include "script/tag/TextRules.h"

using kivotasuGameKit::CTextString;
using kivotasuGameKit::SurfaceType;

namespace TAG {
namespace {

// Planes beyond this side are refused: a layout that large is a script's mistake.
constexpr std::int64_t LargestSide = 8192;

// pitch x index + origin + extra in pixels, held within 32 bits whatever the layout.
std::int32_t Pixel(std::int64_t pitch, std::int64_t index, std::int64_t origin, std::int64_t extra = 0)
{
    // Of an int pitch and a count of two ints, only the two negative ends
    // multiply past 64 bits: a product far above the int range.
    std::int64_t span;
    if (__builtin_mul_overflow(pitch, index, &span)) span = INT64_MAX / 2;
    return SaturatedInt32(span + origin + extra);
}

void CopyRect(kivotasuGameKit::Draw::CPlaneBase& to, kivotasuGameKit::Draw::CPlaneBase& from, const kivotasuGameKit::RECT& rect)
{
    to.CopyBlt(&from, rect.left, rect.top, nullptr, &rect);
}

} // namespace

CText::CText()
{
    Reset();
}

CText::~CText() = default;

void CText::Reset()
{
    m_x = m_y = 12;
    m_width = 24;
    m_height = 30;
    m_beam = 24;
    m_line = 15;
    m_hang = 1;
    m_indent = 1;
    m_eraseFlag = 1;
    m_font.Reset();
    m_backgroundPending = 1;
    m_dirty = 0;
    m_shown = 0;
    m_message.Clear();
    m_name.Clear();
    m_bytesDrawn = 0;
    m_cursor = Cursor();
    CreateSavePlane();
    m_nameX = m_nameY = 0;
}

void CText::CreateSavePlane()
{
    m_savePlane.Release();
    const std::int64_t columns = std::int64_t(m_hang) + m_beam;
    // A negative count or pitch makes no window (and two of them would
    // overflow even 64 bits).
    if (columns < 0 || m_width < 0 || m_line < 0 || m_height < 0) return;
    const std::int64_t width = columns * m_width + 5, height = std::int64_t(m_line) * m_height + 5;
    if (width > LargestSide || height > LargestSide) return;
    if (m_savePlane.InnerCreateMemorySurface(int(width), int(height), SurfaceType::ARGB8888, false) != 0) return;
    m_savePlane.SetFillColor(0xFF000000);
    m_savePlane.Clear();
}

void CText::ParseDefault(CTagAttributes& record)
{
    const std::pair<TagAttributeKey, std::int32_t*> numbers[] = {
        {TagAttributeKey::X, &m_x},       {TagAttributeKey::Y, &m_y},       {TagAttributeKey::Width, &m_width},
        {TagAttributeKey::Height, &m_height}, {TagAttributeKey::Beam, &m_beam}, {TagAttributeKey::Line, &m_line},
        {TagAttributeKey::Hang, &m_hang}, {TagAttributeKey::Indent, &m_indent}};
    for (auto [key, field] : numbers)
        if (!record.GetValue(key).IsEmpty()) *field = ToTagNumber(record.GetValue(key).GetStr());
    m_font.SetElement(record);
    CreateSavePlane();
    m_eraseFlag = record.GetValue(TagAttributeKey::Erase) == CTextString("NONE") ? 0 : 1;
    m_backgroundPending = 1;
}

void CText::SetMessage(const CTextString& text)
{
    m_message += text;
    m_dirty = 1;
}

void CText::SetText(CTagAttributes& record)
{
    if (!record.GetName().IsEmpty()) m_name = record.GetName();
    if (!record.GetBody().IsEmpty()) {
        SetMessage(record.GetBody());
        Plane scratch;
        scratch.InnerCreateMemorySurface(ScreenWidth(), ScreenHeight(), SurfaceType::ARGB8888, true);
        while (Draw(scratch) != 0) {
        }
        m_shown = 0;
    }
    record.GetXNumber(m_cursor.column);
    record.GetYNumber(m_cursor.line);
}

void CText::Clear()
{
    m_cursor = Cursor();
    m_dirty = 0;
    m_message.Clear();
    m_name.Clear();
    m_bytesDrawn = 0;
}

void CText::NewLine()
{
    if (m_cursor.column < m_beam) {
        const CTextString fill(FullWidthSpaces(std::int64_t(m_beam) - m_cursor.column));
        m_message += fill;
        m_dirty = 1;
        m_bytesDrawn += std::uint32_t(fill.GetLength());
    }
    m_cursor.column = m_cursor.indent;
    // A TEXT Y at the int range's end is past every page already.
    if (m_cursor.line < INT32_MAX) ++m_cursor.line;
}

void CText::Advance(std::string_view character, int columns, int lines, Cursor& cursor) const
{
    static const CTextString overflow("テキスト領域をはみ出ました。");
    Cursor next = cursor;
    // Checked first, the line never steps past the int range's end; the
    // hanging column's end stops short of it, so the column after the
    // character fits, even when TEXT X put the cursor beyond the window.
    if (next.line >= lines) throw EScript(overflow);
    if (next.column >= std::min<std::int64_t>(std::int64_t(m_hang) + columns, INT32_MAX))
        next.column = next.indent, ++next.line;
    if (next.line >= lines) throw EScript(overflow);
    if (next.column >= columns && !IsLineStartForbidden(character)) {
        next.column = next.indent, ++next.line;
        if (next.line >= lines) throw EScript(overflow);
    }
    if (m_indent == 1) {
        if (OpensIndent(character)) next.indent = next.column + 1;
        if (ClosesIndent(character)) next.indent = 0;
    }
    cursor = next;
}

int CText::PutChar(Plane& plane, std::string_view text, int x, int y, int columns, int lines, Cursor& cursor)
{
    const LayoutChar next = NextLayoutChar(text, 0);
    if (!next.consumed) return 0;
    Advance(next.shown, columns, lines, cursor);
    m_font.DrawChar(next.shown, Pixel(m_width, cursor.column, x), Pixel(m_height, cursor.line, y), plane);
    ++cursor.column;
    return int(next.consumed);
}

int CText::Draw(Plane& plane)
{
    const std::string_view rest = std::string_view(m_message.GetStr()).substr(std::min<std::size_t>(m_bytesDrawn, m_message.GetLength()));
    m_shown = 1;
    const int consumed = PutChar(plane, rest, m_x, m_y, m_beam, m_line, m_cursor);
    m_bytesDrawn += std::uint32_t(consumed);
    return consumed;
}

int CText::DrawAndPresent(kivotasuGameKit::CFastDraw& draw, Plane& plane)
{
    const int consumed = Draw(plane);
    if (consumed == 0) return 0;
    const RECT cell{Pixel(m_width, m_cursor.column - 1, m_x), Pixel(m_height, m_cursor.line, m_y),
                    Pixel(m_width, m_cursor.column, m_x, 5), Pixel(m_height, std::int64_t(m_cursor.line) + 1, m_y, 5)};
    CopyRect(draw.m_secondary, plane, cell);
    draw.OnDraw(&cell);
    return consumed;
}

void CText::DrawMessage(Plane& plane)
{
    // What was drawn already is drawn again where it stood, and the cursor
    // stays where it went after it: a line's fill and a TEXT tag's X and Y
    // put it where laying the message out afresh would not.
    const std::string_view message = m_message.GetStr();
    const std::size_t drawn = std::min<std::size_t>(m_bytesDrawn, message.size());
    Cursor again;
    DrawText(plane, message.substr(0, drawn), m_x, m_y, m_beam, m_line, again);
    m_bytesDrawn = std::uint32_t(drawn + std::size_t(DrawText(plane, message.substr(drawn), m_x, m_y, m_beam, m_line, m_cursor)));
}

int CText::DrawText(Plane& plane, std::string_view text, int x, int y, int columns, int lines, Cursor& cursor)
{
    std::size_t done = 0;
    while (const int consumed = PutChar(plane, text.substr(done), x, y, columns, lines, cursor)) done += std::size_t(consumed);
    return int(done);
}

int CText::DrawTextAt(Plane& plane, std::string_view text, int x, int y, int columns, int lines)
{
    Cursor cursor;
    return DrawText(plane, text, x, y, columns, lines, cursor);
}

int CText::DrawTextInColour(Plane& plane, std::string_view text, int columns, std::uint32_t colour)
{
    const std::uint32_t own = m_font.GetColor();
    m_font.SetColor(colour);
    try {
        const int drawn = DrawTextAt(plane, text, 0, 0, columns, 1);
        m_font.SetColor(own);
        return drawn;
    } catch (...) {
        m_font.SetColor(own);
        throw;
    }
}

int CText::DrawTextInWindow(Plane& plane, std::string_view text, int x, int y)
{
    return DrawTextAt(plane, text, x, y, m_beam, m_line);
}

void CText::DrawName(Plane& plane)
{
    if (!m_name.IsEmpty()) DrawTextInWindow(plane, m_name.GetStr(), m_nameX, m_nameY);
}

CText::RECT CText::GetWindowRect() const
{
    return RECT{m_x, m_y, Pixel(m_width, std::int64_t(m_hang) + m_beam, m_x, 5), Pixel(m_height, m_line, m_y, 5)};
}

CText::RECT CText::ClippedWindowRect() const
{
    RECT rect = GetWindowRect();
    rect.left = std::max(rect.left, 0);
    rect.top = std::max(rect.top, 0);
    rect.right = std::min(rect.right, ScreenWidth());
    rect.bottom = std::min(rect.bottom, ScreenHeight());
    return rect;
}

int CText::ShowWindow(Plane& plane)
{
    if (m_shown) return 1;
    m_shown = 1;
    if (m_backgroundPending) {
        m_backgroundPending = 0;
        const RECT rect = ClippedWindowRect();
        if (rect.left < rect.right && rect.top < rect.bottom) m_savePlane.CopyBlt(&plane, 0, 0, nullptr, &rect);
    }
    if (m_dirty) DrawMessage(plane);
    return 0;
}

int CText::HideWindow(Plane& plane)
{
    if (!m_shown) return 1;
    m_shown = 0;
    plane.CopyBlt(&m_savePlane, m_x, m_y);
    return 0;
}

CText::RECT CText::GetLineRect(int lineOffset, int characters) const
{
    const std::int64_t line = std::int64_t(m_cursor.line) + lineOffset;
    return RECT{m_x, Pixel(m_height, line, m_y), Pixel(m_width, std::min(m_beam, characters), m_x),
                Pixel(m_height, line + 1, m_y)};
}

CText::POINT CText::CursorPos() const
{
    return POINT{Pixel(m_width, m_cursor.column, m_x), Pixel(m_height, m_cursor.line, m_y)};
}

void CText::SelectFont(std::int32_t n)
{
    CFontList::GetInstance().SetCurrent(n);
    m_font.CreateFont();
}

void CText::AppendPaintLook(CTextString& line) const
{
    line.AppendAttribute("WIDTH", m_width);
    line.AppendAttribute("HEIGHT", m_height);
    m_font.AppendLook(line);
}

void CText::Write(kivotasuGameKit::CTextFileWriter& writer)
{
    CTextString line("\n[DEFAULTTEXT");
    line.AppendAttribute("X", m_x);
    line.AppendAttribute("Y", m_y);
    line.AppendAttribute("WIDTH", m_width);
    line.AppendAttribute("HEIGHT", m_height);
    line.AppendAttribute("BEAM", m_beam);
    line.AppendAttribute("LINE", m_line);
    line.AppendAttribute("HANG", m_hang);
    line.AppendAttribute("INDENT", m_indent);
    if (m_eraseFlag == 0) line.AppendAttribute("ERASE", CTextString("NONE"));
    writer.Write(line);
    m_font.Write(writer);

    CTextString name("[NAMETEXT");
    name.AppendAttribute("X", m_nameX);
    name.AppendAttribute("Y", m_nameY);
    name += CTextString("]\n");
    writer.Write(name);

    CTextString text("[TEXT");
    text.AppendAttribute("X", m_cursor.column);
    text.AppendAttribute("Y", m_cursor.line);
    if (!m_name.IsEmpty()) AppendSavedAttribute(text, "NAME", ShownBytes(m_name.GetStr()));
    if (m_dirty) AppendSavedAttribute(text, "BODY", ShownBytes(m_message.GetStr()));
    text += CTextString("]\n");
    writer.Write(text);
}

} // namespace TAG
