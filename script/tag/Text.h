#pragma once
// The story text of the current page and the text window it is shown in: the
// layout DEFAULTTEXT sets, the message and the speaker's name, the cursor, and
// a plane keeping what lies under the window while it is shown. Characters
// are laid out under the Japanese line-break rules and drawn by the font.

#include <cstdint>
#include <string_view>

#include "draw/FastPlane.h"
#include "frame/TextString.h"
#include "script/tag/FontManager.h"

class CTagAttributes;
namespace kivotasuGameKit { class CFastDraw; class CTextFileWriter; }
namespace DIB { class CDIB32Ex; }

namespace TAG {

class CText {
public:
    using CTextString = kivotasuGameKit::CTextString;
    using Plane = kivotasuGameKit::Draw::CFastPlane;
    using RECT = kivotasuGameKit::RECT;
    using POINT = kivotasuGameKit::POINT;

    struct Cursor {
        std::int32_t column = 0;
        std::int32_t line = 0;
        std::int32_t indent = 0;
    };

    CText();
    virtual ~CText();

    void Reset();
    // DEFAULTTEXT.
    void ParseDefault(CTagAttributes& record);
    // WRITE: appends to the message.
    void SetMessage(const CTextString& text);
    // TEXT: a new name, more message laid out at once, and the cursor.
    void SetText(CTagAttributes& record);
    // TP and the end screen: an empty page.
    void Clear();
    // TL: pads the line with full-width spaces (never drawn one by one) and
    // moves to the next.
    void NewLine();

    // The next character of the message onto the plane; the bytes consumed,
    // 0 when the message is finished. Text beyond the last line raises
    // EScript "テキスト領域をはみ出ました。" and leaves the cursor where it was.
    int Draw(Plane& plane);
    // Draw, and that character's cell shown on the screen at once.
    int DrawAndPresent(kivotasuGameKit::CFastDraw& draw, Plane& plane);
    // The whole message from the page's start; the cursor moves on only
    // past what had not been drawn yet.
    void DrawMessage(Plane& plane);

    // Texts of the back-log, the frames, the pictures and the buttons.
    int DrawText(Plane& plane, std::string_view text, int x, int y, int columns, int lines, Cursor& cursor);
    int DrawTextAt(Plane& plane, std::string_view text, int x, int y, int columns, int lines);
    int DrawTextInWindow(Plane& plane, std::string_view text, int x, int y);
    // One line at the plane's top-left in that colour instead of the font's.
    int DrawTextInColour(Plane& plane, std::string_view text, int columns, std::uint32_t colour);
    void DrawName(Plane& plane);

    // 1 when nothing changed (already shown, or not shown), else 0.
    int ShowWindow(Plane& plane);
    int HideWindow(Plane& plane);

    RECT GetWindowRect() const;
    RECT GetLineRect(int lineOffset, int characters) const;
    POINT CursorPos() const;

    void SelectFont(std::int32_t n);
    void ParseSymbol(CTagAttributes& record) { m_font.SetSymbol(record); }
    DIB::CDIB32Ex* GetSymbolPicture(const CTextString& name) { return m_font.GetPicture(name); }
    std::uint8_t GetAntialias() const { return m_font.GetAntialias(); }
    void SetAntialias(std::uint8_t antialias) { m_font.SetAntialias(antialias); }

    void Write(kivotasuGameKit::CTextFileWriter& writer);
    // What a painted BODY line is drawn with: the cell (WIDTH, HEIGHT) and
    // the font's look, as text settings attributes.
    void AppendPaintLook(CTextString& line) const;

    // The composition redrew what lies under the window: the next show saves it anew.
    void Invalidate() { m_backgroundPending = 1; }
    bool IsShown() const { return m_shown != 0; }
    bool IsDirty() const { return m_dirty != 0; }
    bool IsFinished() const { return m_bytesDrawn >= std::uint32_t(m_message.GetLength()); }
    std::int32_t GetTextEraseFlag() const { return m_eraseFlag; }
    void SetNamePosition(std::int32_t x, std::int32_t y) { m_nameX = x, m_nameY = y; }
    POINT GetNamePosition() const { return POINT{m_nameX, m_nameY}; }
    const CTextString& GetMessage() const { return m_message; }
    const CTextString& GetName() const { return m_name; }
    void SetName(const CTextString& name) { m_name = name; }
    const Cursor& GetCursor() const { return m_cursor; }
    std::int32_t GetCharWidth() const { return m_width; }
    std::int32_t GetCharHeight() const { return m_height; }
    std::int32_t GetLineCount() const { return m_line; }
    CFontManager& GetFontManager() { return m_font; }

private:
    int PutChar(Plane& plane, std::string_view text, int x, int y, int columns, int lines, Cursor& cursor);
    void Advance(std::string_view character, int columns, int lines, Cursor& cursor) const;
    void CreateSavePlane();
    RECT ClippedWindowRect() const;

    CFontManager m_font;
    Plane m_savePlane;
    std::uint8_t m_backgroundPending = 1;
    std::uint8_t m_dirty = 0;
    std::uint8_t m_shown = 0;
    std::int32_t m_x = 12, m_y = 12;
    std::int32_t m_width = 24, m_height = 30;
    std::int32_t m_beam = 24, m_line = 15;
    std::int32_t m_hang = 1, m_indent = 1;
    std::int32_t m_eraseFlag = 1;
    std::int32_t m_nameX = 0, m_nameY = 0;
    CTextString m_message;
    CTextString m_name;
    std::uint32_t m_bytesDrawn = 0;
    Cursor m_cursor;
};

} // namespace TAG
