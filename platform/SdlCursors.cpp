#include "platform/Cursors.h"

#include <SDL.h>

#include <algorithm>
#include <map>

namespace platform {

namespace {

// SDL has no animated cursors: each frame is a colour cursor of its own, and
// Animate sets the one the time calls for.
class SdlCursorSystem final : public ICursorSystem {
public:
    ~SdlCursorSystem() override
    {
        // Once video has stopped, SDL has freed every cursor itself.
        if (!SDL_WasInit(SDL_INIT_VIDEO))
            return;
        while (!m_cursors.empty())
            Destroy(m_cursors.begin()->first);
        for (SDL_Cursor* system : m_system)
            if (system)
                SDL_FreeCursor(system);
    }

    CursorHandle Create(const CursorAnimation& animation) override
    {
        if (animation.frames.empty() || animation.steps.empty())
            return 0;
        Made made{animation, {}};
        for (const CursorImage& image : animation.frames) {
            SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, image.width, image.height, 32, SDL_PIXELFORMAT_ARGB8888);
            if (!surface)
                return Release(made), 0;
            for (int y = 0; y < image.height; ++y)
                std::copy_n(image.argb.data() + std::size_t(y) * std::size_t(image.width), image.width,
                            reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch));
            SDL_Cursor* cursor = SDL_CreateColorCursor(surface, image.hotX, image.hotY);
            SDL_FreeSurface(surface);
            if (!cursor)
                return Release(made), 0;
            made.frames.push_back(cursor);
        }
        m_cursors.emplace(m_next, std::move(made));
        return m_next++;
    }

    void Destroy(CursorHandle cursor) override
    {
        auto found = m_cursors.find(cursor);
        if (found == m_cursors.end())
            return;
        if (m_shown == cursor)
            ShowSystem(SystemCursor::Arrow);
        Release(found->second);
        m_cursors.erase(found);
    }

    void Show(CursorHandle cursor) override
    {
        auto found = m_cursors.find(cursor);
        if (found == m_cursors.end())
            return;
        m_shown = cursor;
        m_timeline.Restart();
        SDL_SetCursor(found->second.frames[found->second.animation.steps.front().frame]);
    }

    void ShowSystem(SystemCursor kind) override
    {
        m_shown = 0;
        SDL_Cursor*& system = m_system[static_cast<int>(kind)];
        if (!system) {
            const SDL_SystemCursor id = kind == SystemCursor::Hand ? SDL_SYSTEM_CURSOR_HAND
                                        : kind == SystemCursor::Wait ? SDL_SYSTEM_CURSOR_WAIT
                                                                     : SDL_SYSTEM_CURSOR_ARROW;
            system = SDL_CreateSystemCursor(id);
        }
        if (system)
            SDL_SetCursor(system);
    }

    void Animate(std::uint32_t nowMs) override
    {
        auto found = m_cursors.find(m_shown);
        if (found == m_cursors.end() || found->second.frames.size() < 2)
            return;
        SDL_Cursor* frame = found->second.frames[m_timeline.FrameAt(found->second.animation, nowMs)];
        if (SDL_GetCursor() != frame)
            SDL_SetCursor(frame);
    }

private:
    struct Made {
        CursorAnimation animation;
        std::vector<SDL_Cursor*> frames;
    };

    static void Release(Made& made)
    {
        for (SDL_Cursor* frame : made.frames)
            SDL_FreeCursor(frame);
        made.frames.clear();
    }

    std::map<CursorHandle, Made> m_cursors;
    SDL_Cursor* m_system[3] = {};
    CursorHandle m_next = 1;
    CursorHandle m_shown = 0;
    CursorTimeline m_timeline;
};

} // namespace

std::unique_ptr<ICursorSystem> MakeSdlCursorSystem()
{
    return std::make_unique<SdlCursorSystem>();
}

} // namespace platform
