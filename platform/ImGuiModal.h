#pragma once
// The nested loop of a drawn menu or dialog: it takes the window's input for
// itself, draws ImGui over a copy of the last frame and keeps the
// application's timers going, until the menu or dialog is done.

#include "platform/ImGuiFontAtlas.h"
#include "platform/SdlFrame.h"

#include <SDL_events.h>
#include <imgui.h>

#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>

namespace platform {

// Begins a dialog's window, centred on the client area and focused on its
// first frame, which the user can neither move nor fold; ImGui::End ends it.
// "open" turns false when its close box is clicked. Once its first size is
// known, its top-left corner is kept in "corner": a dialog whose size changes
// (another page of a sheet) stays where it stood.
void BeginCentredDialog(const std::string& titleAndId, bool first, bool* open, ImGuiWindowFlags flags,
                        std::optional<ImVec2>& corner);

// The system's last repeat of a held key, kept for the frame that takes it.
struct KeyRepeat {
    int frame = -1;
    int index = -1;
};

// A context for the frames of a menu or a dialog on a client area of that
// size: the keys mapped as the loop feeds them, a desktop's look, and no
// keyboard navigation of ImGui's own (a view that wants it turns it on).
// ImGui's own repeat of a held key is off: it would follow the pace of the
// frames. A held key repeats on the system's repeat events instead, which
// follow the desktop's delay and rate; "repeat" (which outlives the context)
// keeps the latest.
ImGuiContext* NewModalContext(ImFontAtlas* atlas, ImVec2 size, KeyRepeat& repeat);

// The system repeated the held key (its index in ImGui's key table): the
// frame to come takes that repeat. ImGui 1.86 reads the keys as a state once
// a frame, so it sees the key pressed anew (its own widgets, a text field's
// Backspace or a list's arrows, act as on a press) and KeyPressed tells the
// repeat from a press.
void RepeatKey(int index);

// Whether the key was pressed this frame or, with repeat, repeated by the system.
bool KeyPressed(ImGuiKey_ key, bool repeat = false);

// Whether the access key (an upper-case letter or a digit, as AccessKey in
// DrawnText.h gives it) was pressed this frame: the key that types it, in
// whatever layout.
bool AccessKeyPressed(char key);

class ImGuiModal {
public:
    // The glyphs are those of every text the frames will show.
    ImGuiModal(const SdlFrame& frame, ImGuiFontAtlas& fonts, std::set<std::uint16_t> glyphs,
               const std::function<void()>& idle);
    ~ImGuiModal();
    ImGuiModal(const ImGuiModal&) = delete;
    ImGuiModal& operator=(const ImGuiModal&) = delete;

    // Calls frame once per frame between ImGui's NewFrame and Render until it
    // answers true. False when the loop ended without it: the window was
    // closed (its close box or Alt+F4), which then reaches the window's
    // queue, a close was asked (CloseLatch.h) or the fonts could not be made.
    bool Run(const std::function<bool()>& frame);
    // More glyphs for the frames to come (a folder's names, a typed name).
    void Want(const std::set<std::uint16_t>& glyphs) { m_glyphs.insert(glyphs.begin(), glyphs.end()); }

private:
    void Take(const SDL_Event& event);
    // ImGui 1.86 reads the buttons and keys as a state once a frame, and a
    // frame's typed characters before its keys: a press and its release in
    // one frame would never reach it, nor would a tap's characters come after
    // it, and two repeats would count once. So a frame takes the events up to
    // the first press, repeat or release of a button or key, and the rest
    // wait for the next frame.
    void TakeFrameEvents();
    // What waits still, so that window and user events reach the queue.
    void TakeWaiting();
    bool Prepare();
    void Draw(bool withUi);
    // Until every mouse button is up, so that the release of the click that
    // ended the menu reaches nobody.
    void Drain();

    SdlFrame m_frame;
    ImGuiFontAtlas& m_fonts;
    std::set<std::uint16_t> m_glyphs;
    const std::function<void()>& m_idle;
    KeyRepeat m_repeat;
    ImGuiContext* m_context;
    std::vector<SDL_Event> m_deferred; // window, user and drop events, given back at the end
    std::deque<SDL_Event> m_waiting;   // for the frames to come
    bool m_closed = false;
    std::uint32_t m_lastTick = 0;
};

} // namespace platform
