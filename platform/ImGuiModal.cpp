#include "platform/ImGuiModal.h"

#include "platform/Clock.h"
#include "platform/CloseLatch.h"
#include "platform/Letterbox.h"
#include "platform/SdlKeyMap.h"

#include <SDL.h>

#include <cmath>
#include <limits>

namespace platform {

namespace {

constexpr std::uint32_t FrameMs = 16;
// The menus' text height on the 640 x 480 client area.
constexpr float FontPixels = 16.0f;

void MapKeys(ImGuiIO& io)
{
    const std::pair<ImGuiKey_, SDL_Scancode> keys[] = {
        {ImGuiKey_Tab, SDL_SCANCODE_TAB},          {ImGuiKey_LeftArrow, SDL_SCANCODE_LEFT},
        {ImGuiKey_RightArrow, SDL_SCANCODE_RIGHT}, {ImGuiKey_UpArrow, SDL_SCANCODE_UP},
        {ImGuiKey_DownArrow, SDL_SCANCODE_DOWN},   {ImGuiKey_PageUp, SDL_SCANCODE_PAGEUP},
        {ImGuiKey_PageDown, SDL_SCANCODE_PAGEDOWN}, {ImGuiKey_Home, SDL_SCANCODE_HOME},
        {ImGuiKey_End, SDL_SCANCODE_END},          {ImGuiKey_Insert, SDL_SCANCODE_INSERT},
        {ImGuiKey_Delete, SDL_SCANCODE_DELETE},    {ImGuiKey_Backspace, SDL_SCANCODE_BACKSPACE},
        {ImGuiKey_Space, SDL_SCANCODE_SPACE},      {ImGuiKey_Enter, SDL_SCANCODE_RETURN},
        {ImGuiKey_Escape, SDL_SCANCODE_ESCAPE},    {ImGuiKey_KeyPadEnter, SDL_SCANCODE_KP_ENTER},
        {ImGuiKey_A, SDL_SCANCODE_A},              {ImGuiKey_C, SDL_SCANCODE_C},
        {ImGuiKey_V, SDL_SCANCODE_V},              {ImGuiKey_X, SDL_SCANCODE_X},
        {ImGuiKey_Y, SDL_SCANCODE_Y},              {ImGuiKey_Z, SDL_SCANCODE_Z},
    };
    for (const auto& [key, scancode] : keys)
        io.KeyMap[key] = scancode;
}

// Letters and digits by what they type, so that an access key is found in
// any layout (and ImGui's Ctrl+letter shortcuts with it); the other keys by
// their place.
int KeyIndex(const SDL_Keysym& key)
{
    if (key.sym >= SDLK_a && key.sym <= SDLK_z)
        return SDL_SCANCODE_A + (key.sym - SDLK_a);
    if (key.sym >= SDLK_1 && key.sym <= SDLK_9)
        return SDL_SCANCODE_1 + (key.sym - SDLK_1);
    if (key.sym == SDLK_0)
        return SDL_SCANCODE_0;
    return key.scancode;
}

// The arrows as ImGui's keyboard navigation reads them, through durations of its own.
constexpr std::pair<ImGuiKey_, ImGuiNavInput_> NavArrows[] = {
    {ImGuiKey_LeftArrow, ImGuiNavInput_KeyLeft_},
    {ImGuiKey_RightArrow, ImGuiNavInput_KeyRight_},
    {ImGuiKey_UpArrow, ImGuiNavInput_KeyUp_},
    {ImGuiKey_DownArrow, ImGuiNavInput_KeyDown_},
};

bool IndexPressed(int index, bool repeat)
{
    if (!ImGui::IsKeyPressed(index, false))
        return false;
    const auto& last = *static_cast<const KeyRepeat*>(ImGui::GetIO().UserData);
    return repeat || last.frame != ImGui::GetFrameCount() || last.index != index;
}

void Style()
{
    ImGui::StyleColorsLight();
    ImGuiStyle& style = ImGui::GetStyle();
    style.WindowRounding = 0;
    style.PopupRounding = 0;
    style.FrameBorderSize = 1;
    style.PopupBorderSize = 1;
}

} // namespace

void BeginCentredDialog(const std::string& titleAndId, bool first, bool* open, ImGuiWindowFlags flags,
                        std::optional<ImVec2>& corner)
{
    const ImVec2 centre(ImGui::GetIO().DisplaySize.x * 0.5f, ImGui::GetIO().DisplaySize.y * 0.5f);
    if (corner)
        ImGui::SetNextWindowPos(*corner, ImGuiCond_Always);
    else
        ImGui::SetNextWindowPos(centre, ImGuiCond_Always, ImVec2(0.5f, 0.5f));
    if (first)
        ImGui::SetNextWindowFocus();
    ImGui::Begin(titleAndId.c_str(), open,
                 flags | ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoSavedSettings
                     | ImGuiWindowFlags_NoMove);
    // The first frame only measures the contents; the second is centred on them.
    if (!corner && !ImGui::IsWindowAppearing())
        corner = ImGui::GetWindowPos();
}

ImGuiContext* NewModalContext(ImFontAtlas* atlas, ImVec2 size, KeyRepeat& repeat)
{
    ImGuiContext* context = ImGui::CreateContext(atlas);
    ImGui::SetCurrentContext(context);
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    io.BackendFlags |= ImGuiBackendFlags_RendererHasVtxOffset;
    io.DisplaySize = size;
    io.KeyRepeatDelay = std::numeric_limits<float>::infinity();
    io.UserData = &repeat;
    MapKeys(io);
    Style();
    return context;
}

void RepeatKey(int index)
{
    ImGuiIO& io = ImGui::GetIO();
    *static_cast<KeyRepeat*>(io.UserData) = {ImGui::GetFrameCount() + 1, index};
    io.KeysDownDuration[index] = -1.0f;
    for (const auto& [key, input] : NavArrows) {
        if (io.KeyMap[key] == index)
            io.NavInputsDownDuration[input] = -1.0f;
    }
}

bool KeyPressed(ImGuiKey_ key, bool repeat)
{
    return IndexPressed(ImGui::GetKeyIndex(key), repeat);
}

bool AccessKeyPressed(char key)
{
    SDL_Keysym typed{};
    typed.sym = key >= 'A' && key <= 'Z' ? key - 'A' + 'a' : key;
    const int index = KeyIndex(typed);
    return index != SDL_SCANCODE_UNKNOWN && IndexPressed(index, false);
}

ImGuiModal::ImGuiModal(const SdlFrame& frame, ImGuiFontAtlas& fonts, std::set<std::uint16_t> glyphs,
                       const std::function<void()>& idle)
    : m_frame(frame), m_fonts(fonts), m_glyphs(std::move(glyphs)), m_idle(idle),
      m_context(NewModalContext(fonts.Atlas(),
                                ImVec2(static_cast<float>(frame.logical.width), static_cast<float>(frame.logical.height)),
                                m_repeat))
{
    m_lastTick = Clock().Now();
}

ImGuiModal::~ImGuiModal()
{
    TakeWaiting();
    m_fonts.ReleaseTexture();
    ImGui::DestroyContext(m_context);
    for (SDL_Event& event : m_deferred)
        SDL_PushEvent(&event);
}

void ImGuiModal::Take(const SDL_Event& event)
{
    ImGuiIO& io = ImGui::GetIO();
    const Uint32 window = SDL_GetWindowID(m_frame.window);
    Size outer;
    SDL_GetWindowSize(m_frame.window, &outer.width, &outer.height);
    const Letterbox box = FitLetterbox(outer, m_frame.logical);
    auto mouseAt = [&](int x, int y) {
        const Point at = ToLogical(box, {x, y});
        io.MousePos = ImVec2(static_cast<float>(at.x), static_cast<float>(at.y));
    };
    switch (event.type) {
    case SDL_MOUSEMOTION:
        if (event.motion.windowID == window)
            mouseAt(event.motion.x, event.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        // Either button chooses, as in a menu tracked with the right button.
        if (event.button.windowID == window
            && (event.button.button == SDL_BUTTON_LEFT || event.button.button == SDL_BUTTON_RIGHT)) {
            mouseAt(event.button.x, event.button.y);
            io.MouseDown[0] = event.type == SDL_MOUSEBUTTONDOWN;
        }
        break;
    case SDL_MOUSEWHEEL:
        io.MouseWheel += static_cast<float>(event.wheel.y);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        // The loop has the keys the game would read: Alt+F4 is the window's
        // close here too.
        if (IsCloseKey(event)) {
            SDL_Event close{};
            close.type = SDL_WINDOWEVENT;
            close.window.event = SDL_WINDOWEVENT_CLOSE;
            close.window.windowID = window;
            Take(close);
            break;
        }
        if (const int index = KeyIndex(event.key.keysym); index < static_cast<int>(IM_ARRAYSIZE(io.KeysDown))) {
            io.KeysDown[index] = event.type == SDL_KEYDOWN;
            if (event.type == SDL_KEYDOWN && event.key.repeat)
                RepeatKey(index);
        }
        // The modifiers as they were at the key, which may have waited.
        io.KeyShift = (event.key.keysym.mod & KMOD_SHIFT) != 0;
        io.KeyCtrl = (event.key.keysym.mod & KMOD_CTRL) != 0;
        io.KeyAlt = (event.key.keysym.mod & KMOD_ALT) != 0;
        break;
    case SDL_TEXTINPUT:
        io.AddInputCharactersUTF8(event.text.text);
        break;
    case SDL_QUIT:
        m_closed = true;
        m_deferred.push_back(event);
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE)
            m_closed = true;
        m_deferred.push_back(event);
        break;
    case SDL_DROPFILE:
    case SDL_DROPTEXT:
    case SDL_DROPBEGIN:
    case SDL_DROPCOMPLETE:
        m_deferred.push_back(event);
        break;
    default:
        // Messages posted to the window travel as user events.
        if (event.type >= SDL_USEREVENT)
            m_deferred.push_back(event);
        break;
    }
}

void ImGuiModal::TakeWaiting()
{
    for (; !m_waiting.empty(); m_waiting.pop_front())
        Take(m_waiting.front());
}

void ImGuiModal::TakeFrameEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event))
        m_waiting.push_back(event);
    while (!m_waiting.empty()) {
        event = m_waiting.front();
        m_waiting.pop_front();
        Take(event);
        const bool button = (event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP)
                            && (event.button.button == SDL_BUTTON_LEFT || event.button.button == SDL_BUTTON_RIGHT);
        const bool key = event.type == SDL_KEYDOWN || event.type == SDL_KEYUP;
        if (button || key)
            return;
    }
}

bool ImGuiModal::Prepare()
{
    int outputWidth = 0, outputHeight = 0;
    SDL_GetRendererOutputSize(m_frame.renderer, &outputWidth, &outputHeight);
    const double scale = FitLetterbox({outputWidth, outputHeight}, m_frame.logical).scale;
    // Glyphs rasterised at the size they are shown, so full screen stays sharp.
    const float pixels = std::round(FontPixels * static_cast<float>(scale) * 2.0f) / 2.0f;
    if (!m_fonts.Prepare(m_frame.renderer, m_glyphs, pixels))
        return false;
    ImGuiIO& io = ImGui::GetIO();
    io.FontGlobalScale = FontPixels / pixels;
    const std::uint32_t now = Clock().Now();
    io.DeltaTime = std::max(0.001f, static_cast<float>(now - m_lastTick) / 1000.0f);
    m_lastTick = now;
    return true;
}

void ImGuiModal::Draw(bool withUi)
{
    SDL_Renderer* renderer = m_frame.renderer;
    int outputWidth = 0, outputHeight = 0;
    SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight);
    const Letterbox box = FitLetterbox({outputWidth, outputHeight}, m_frame.logical);
    SDL_RenderSetClipRect(renderer, nullptr);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    if (m_frame.lastFrame) {
        const SDL_Rect shown{box.offsetX, box.offsetY, box.width, box.height};
        SDL_RenderCopy(renderer, m_frame.lastFrame, nullptr, &shown);
    }
    const ImDrawData* data = withUi ? ImGui::GetDrawData() : nullptr;
    const auto scale = static_cast<float>(box.scale);
    std::vector<float> points;
    for (int n = 0; data && n < data->CmdListsCount; ++n) {
        const ImDrawList* list = data->CmdLists[n];
        points.resize(static_cast<std::size_t>(list->VtxBuffer.Size) * 2);
        for (int i = 0; i < list->VtxBuffer.Size; ++i) {
            points[2 * i] = list->VtxBuffer[i].pos.x * scale + box.offsetX;
            points[2 * i + 1] = list->VtxBuffer[i].pos.y * scale + box.offsetY;
        }
        for (const ImDrawCmd& command : list->CmdBuffer) {
            const ImVec4& clip = command.ClipRect;
            const SDL_Rect rect{static_cast<int>(clip.x * scale) + box.offsetX,
                                static_cast<int>(clip.y * scale) + box.offsetY,
                                static_cast<int>(std::ceil((clip.z - clip.x) * scale)),
                                static_cast<int>(std::ceil((clip.w - clip.y) * scale))};
            if (rect.w <= 0 || rect.h <= 0)
                continue;
            SDL_RenderSetClipRect(renderer, &rect);
            const ImDrawVert* vertices = list->VtxBuffer.Data + command.VtxOffset;
            SDL_RenderGeometryRaw(renderer, static_cast<SDL_Texture*>(command.GetTexID()),
                                  points.data() + 2 * command.VtxOffset, 2 * sizeof(float),
                                  reinterpret_cast<const SDL_Color*>(&vertices->col), sizeof(ImDrawVert),
                                  &vertices->uv.x, sizeof(ImDrawVert), list->VtxBuffer.Size - static_cast<int>(command.VtxOffset),
                                  list->IdxBuffer.Data + command.IdxOffset, static_cast<int>(command.ElemCount),
                                  sizeof(ImDrawIdx));
        }
    }
    SDL_RenderSetClipRect(renderer, nullptr);
    SDL_RenderPresent(renderer);
}

bool ImGuiModal::Run(const std::function<bool()>& frame)
{
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = SDL_GetWindowID(m_frame.window);
    motion.motion.x = x;
    motion.motion.y = y;
    Take(motion);

    bool done = false;
    while (!done) {
        TakeFrameEvents();
        if (m_closed || CloseAsked() || !Prepare())
            return false;
        ImGui::NewFrame();
        done = frame();
        ImGui::Render();
        Draw(!done);
        if (m_idle)
            m_idle();
        if (!done)
            Clock().Sleep(FrameMs);
    }
    Drain();
    return true;
}

void ImGuiModal::Drain()
{
    // A button held longer than this is no longer the click's.
    constexpr std::uint32_t LongestMs = 5000;
    TakeWaiting();
    const std::uint32_t start = Clock().Now();
    while (!m_closed && !CloseAsked() && Clock().Now() - start < LongestMs
           && (SDL_GetMouseState(nullptr, nullptr) & (SDL_BUTTON_LMASK | SDL_BUTTON_RMASK)) != 0) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            Take(event);
        if (m_idle)
            m_idle();
        Clock().Sleep(FrameMs);
    }
}

} // namespace platform
