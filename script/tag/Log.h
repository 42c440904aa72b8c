#pragma once
// The back-log: the story text already shown, kept as lines laid out by the
// text window's rules, and the view that pages through it over a copy of what
// the window shows.

#include <cstdint>
#include <deque>
#include <string_view>

#include "draw/FastPlane.h"
#include "frame/TextString.h"

class CTagAttributes;
namespace kivotasuGameKit { class CTextFileWriter; }

namespace TAG {

class CText;

class CLog {
public:
    using CTextString = kivotasuGameKit::CTextString;
    using Plane = kivotasuGameKit::Draw::CFastPlane;

    static constexpr std::size_t MaxLines = 200;

    CLog();
    virtual ~CLog() = default;

    // The text object draws the view's characters at its character pitch.
    void SetText(CText* text) { m_text = text; }

    void Reset();
    // LOG and DEFAULTLOG layout.
    void ParseDefault(const CTagAttributes& record);
    // LOG: INDENT sets the indent of later lines; BODY becomes one line as it
    // stands.
    void ParseEntry(const CTagAttributes& record);
    // A load follows the reset: the save's first LOG line takes the place of
    // the reset's empty line, so that a load adds no line of its own.
    void ExpectSavedLines();
    void AddText(const CTextString& message);
    void AddLine();
    void AddEmptyLine();
    void Write(kivotasuGameKit::CTextFileWriter& writer) const;

    // The view: Draw opens it on the last page over a copy of what the back
    // plane shows; the scrolls move it (n = 0: a page less two lines) and
    // draw the page onto the back plane; RestoreScreen gives the back plane
    // back the picture the view opened over.
    void Draw(Plane& back);
    void DrawPage();
    void ScrollUp(std::int32_t n);
    void ScrollDown(std::int32_t n);
    void ScrollToTop();
    void ScrollToEnd();
    void RestoreScreen(Plane& back);

    const std::deque<CTextString>& GetLines() const { return m_lines; }
    std::int32_t GetFirstShown() const { return m_firstShown; }
    std::int32_t GetIndentCount() const { return m_indentCount; }

private:
    std::int32_t LastPageFirst() const;
    // Lines one scroll moves: n, or a page less two lines for 0.
    std::int64_t Step(std::int32_t n) const;

    std::deque<CTextString> m_lines;
    std::int32_t m_x = 12, m_y = 12;
    std::int32_t m_beam = 24, m_line = 15, m_height = 30;
    std::int32_t m_hang = 1, m_indent = 1;
    std::int32_t m_indentCount = 0;
    bool m_awaitingSave = false;

    CText* m_text = nullptr;
    Plane* m_back = nullptr;
    Plane m_backdrop;
    std::int32_t m_firstShown = 0;
};

} // namespace TAG
