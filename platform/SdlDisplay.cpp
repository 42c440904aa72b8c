#include "platform/Display.h"

#include "platform/Letterbox.h"
#include "platform/MemoryDisplaySurface.h"
#include "platform/PresentRows.h"
#include "platform/SdlFrame.h"

#include <SDL.h>

#include <atomic>

namespace platform {

namespace {

Uint32 SdlFormatOf(int format)
{
    switch (format) {
    case FormatRGB565: return SDL_PIXELFORMAT_RGB565;
    case FormatRGB555: return SDL_PIXELFORMAT_RGB555;
    case FormatRGB888: return SDL_PIXELFORMAT_BGR24;
    case FormatBGR888: return SDL_PIXELFORMAT_RGB24;
    case FormatXRGB8888: return SDL_PIXELFORMAT_XRGB8888;
    case FormatXBGR8888: return SDL_PIXELFORMAT_XBGR8888;
    default: return SDL_PIXELFORMAT_UNKNOWN;
    }
}

class SdlScreen;

// The screen whose renderer exists; the player has one window.
SdlScreen* g_current = nullptr;

// The renderer and its texture; the primary surfaces present through it.
class SdlScreen {
public:
    explicit SdlScreen(int format) : m_format(format) {}
    ~SdlScreen()
    {
        Drop();
    }

    SdlFrame Frame() const { return {m_window, m_renderer, m_texture, {m_width, m_height}}; }

    bool Attach(WindowHandle window)
    {
        SDL_Window* sdl = SDL_GetWindowFromID(static_cast<Uint32>(window));
        if (!sdl)
            return false;
        if (sdl != m_window)
            Drop();
        m_window = sdl;
        return true;
    }

    // A primary of width x height: the renderer is made for the first one,
    // the texture anew after a reset.
    bool Prepare(int width, int height)
    {
        if (!m_window)
            return false;
        if (!m_renderer) {
            m_renderer = SDL_CreateRenderer(m_window, -1, 0);
            if (!m_renderer)
                return false;
            SDL_AddEventWatch(&SdlScreen::Watch, this);
            g_current = this;
        }
        if (m_lost.exchange(false) || width != m_width || height != m_height)
            DropTexture();
        m_width = width;
        m_height = height;
        SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
        return true;
    }

    bool IsLost() const { return m_lost.load(std::memory_order_acquire); }
    int Format() const { return m_format; }

    bool Present(int x, int y, const PixelSource& source, PixelRect part, const std::vector<PaletteColour>& palette)
    {
        if (!m_renderer || IsLost())
            return false;
        if (!ClipPresent(x, y, source, part, m_width, m_height))
            return true;
        const int format = TextureFormatOf(source.format);
        if (!TextureFor(format))
            return false;
        const void* rows = static_cast<const std::uint8_t*>(source.pixels) + std::ptrdiff_t(part.top) * source.pitch
                           + std::ptrdiff_t(part.left) * DisplayFormatBytes(source.format);
        int pitch = source.pitch;
        if (source.format == FormatPal8) {
            ExpandPal8(source, part, palette, m_expanded);
            rows = m_expanded.data();
            pitch = (part.right - part.left) * 4;
        }
        const SDL_Rect target{x, y, part.right - part.left, part.bottom - part.top};
        if (SDL_UpdateTexture(m_texture, &target, rows, pitch) != 0)
            return false;
        int outputWidth = 0, outputHeight = 0;
        SDL_GetRendererOutputSize(m_renderer, &outputWidth, &outputHeight);
        const Letterbox box = FitLetterbox({outputWidth, outputHeight}, {m_width, m_height});
        const SDL_Rect shown{box.offsetX, box.offsetY, box.width, box.height};
        SDL_RenderClear(m_renderer);
        SDL_RenderCopy(m_renderer, m_texture, nullptr, &shown);
        SDL_RenderPresent(m_renderer);
        return true;
    }

private:
    static int SDLCALL Watch(void* self, SDL_Event* event)
    {
        if (event->type == SDL_RENDER_TARGETS_RESET || event->type == SDL_RENDER_DEVICE_RESET)
            static_cast<SdlScreen*>(self)->m_lost.store(true, std::memory_order_release);
        return 0;
    }

    bool TextureFor(int format)
    {
        if (m_texture && format == m_textureFormat)
            return true;
        DropTexture();
        m_texture = SDL_CreateTexture(m_renderer, SdlFormatOf(format), SDL_TEXTUREACCESS_STREAMING, m_width,
                                      m_height);
        if (!m_texture)
            return false;
        SDL_SetTextureScaleMode(m_texture, SDL_ScaleModeLinear);
        m_textureFormat = format;
        return true;
    }

    void DropTexture()
    {
        if (m_texture)
            SDL_DestroyTexture(m_texture);
        m_texture = nullptr;
    }

    void Drop()
    {
        DropTexture();
        if (m_renderer) {
            if (g_current == this)
                g_current = nullptr;
            SDL_DelEventWatch(&SdlScreen::Watch, this);
            SDL_DestroyRenderer(m_renderer);
        }
        m_renderer = nullptr;
        m_window = nullptr;
    }

    int m_format;
    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    int m_textureFormat = 0;
    int m_width = 0;
    int m_height = 0;
    std::atomic<bool> m_lost{false};
    std::vector<std::uint8_t> m_expanded;
};

class SdlClipper final : public IDisplayClipper {
public:
    bool SetWindow(WindowHandle window) override { return SDL_GetWindowFromID(static_cast<Uint32>(window)); }
};

class SdlPrimary final : public IDisplaySurface {
public:
    SdlPrimary(SdlScreen& screen, std::vector<PaletteColour> palette) : m_screen(screen), m_palette(std::move(palette))
    {
    }

    bool GetPixelFormat(DisplayPixelFormat* out) override
    {
        *out = DescribeDisplayFormat(m_screen.Format());
        return true;
    }
    bool Lock(void**, int*) override { return false; }
    void Unlock() override {}
    bool IsLost() override { return m_screen.IsLost(); }
    bool SetClipper(IDisplayClipper* clipper) override { return clipper != nullptr; }

    bool Blt(int x, int y, const PixelSource& source, const PixelRect& part) override
    {
        return m_screen.Present(x, y, source, part, m_palette);
    }

private:
    SdlScreen& m_screen;
    std::vector<PaletteColour> m_palette;
};

// Full screen is the window system's desktop full screen with the picture
// letterboxed, so the display mode itself never changes.
class SdlDisplay final : public IDisplay {
public:
    SdlDisplay() : m_screen(DisplayFormatFromEnvironment()) {}

    bool Initialize(bool) override { return SDL_WasInit(SDL_INIT_VIDEO) != 0; }
    bool SetCooperativeLevel(WindowHandle window, bool) override { return m_screen.Attach(window); }
    bool SetDisplayMode(int width, int height, int) override { return width > 0 && height > 0; }
    bool RestoreDisplayMode() override { return true; }

    std::unique_ptr<IDisplaySurface> CreatePrimary(int width, int height) override
    {
        if (width <= 0 || height <= 0 || !m_screen.Prepare(width, height))
            return nullptr;
        return std::make_unique<SdlPrimary>(m_screen, SystemPalette());
    }

    std::unique_ptr<IDisplaySurface> CreateSurface(int width, int height) override
    {
        return MemoryDisplaySurface::Create(width, height, m_screen.Format());
    }

    std::unique_ptr<IDisplayClipper> CreateClipper() override { return std::make_unique<SdlClipper>(); }

    std::vector<PaletteColour> SystemPalette() override
    {
        return m_screen.Format() == FormatPal8 ? EmulatedSystemPalette() : std::vector<PaletteColour>{};
    }

    DisplayPixelFormat GetDisplayMode() override { return DescribeDisplayFormat(m_screen.Format()); }

private:
    SdlScreen m_screen;
};

class SdlDisplaySystem final : public IDisplaySystem {
public:
    std::unique_ptr<IDisplay> CreateDisplay() override { return std::make_unique<SdlDisplay>(); }
};

} // namespace

bool CurrentSdlFrame(SdlFrame& out)
{
    if (!g_current)
        return false;
    out = g_current->Frame();
    // A lost texture holds nothing worth showing.
    if (g_current->IsLost())
        out.lastFrame = nullptr;
    return out.renderer != nullptr;
}

std::unique_ptr<IDisplaySystem> MakeSdlDisplaySystem()
{
    return std::make_unique<SdlDisplaySystem>();
}

} // namespace platform
