#include "platform/HeadlessDisplay.h"

#include "platform/MemoryDisplaySurface.h"
#include "platform/PresentRows.h"

#include <cstring>

namespace platform {

namespace {

using State = HeadlessDisplaySystem::State;

bool Fails(const State& state, DisplayStep step)
{
    return state.failing.contains(step);
}

class HeadlessClipper final : public IDisplayClipper {
public:
    explicit HeadlessClipper(std::shared_ptr<State> state) : m_state(std::move(state)) {}

    bool SetWindow(WindowHandle window) override
    {
        m_state->calls.push_back("Clipper.SetWindow");
        return !Fails(*m_state, DisplayStep::ClipperWindow);
    }

private:
    std::shared_ptr<State> m_state;
};

class HeadlessPrimary final : public IDisplaySurface {
public:
    HeadlessPrimary(std::shared_ptr<State> state, int format, std::vector<PaletteColour> palette)
        : m_state(std::move(state)), m_format(format), m_palette(std::move(palette))
    {
    }

    bool GetPixelFormat(DisplayPixelFormat* out) override
    {
        *out = DescribeDisplayFormat(m_format);
        return true;
    }
    bool Lock(void**, int*) override { return false; }
    void Unlock() override {}
    bool IsLost() override { return m_state->lost; }

    bool SetClipper(IDisplayClipper*) override
    {
        m_state->calls.push_back("Primary.SetClipper");
        return !Fails(*m_state, DisplayStep::SetClipper);
    }

    bool Blt(int x, int y, const PixelSource& source, const PixelRect& part) override
    {
        State& state = *m_state;
        if (m_state->lost || Fails(state, DisplayStep::Present))
            return false;
        PixelRect clipped = part;
        if (!ClipPresent(x, y, source, clipped, state.width, state.height))
            return true;
        if (!state.keepPicture) {
            TouchCorners(source, clipped);
            Counted(state);
            return true;
        }
        const int format = TextureFormatOf(source.format);
        const int bytes = DisplayFormatBytes(format);
        if (format != state.format) {
            state.format = format;
            state.picture = PixelMemory(std::size_t(state.width) * state.height * bytes);
        }
        PixelSource rows = source;
        std::vector<std::uint8_t> expanded;
        if (source.format == FormatPal8) {
            ExpandPal8(source, clipped, m_state->paletteSet ? m_state->palette : m_palette, expanded);
            rows = {expanded.data(), (clipped.right - clipped.left) * 4, 0, 0, format};
            clipped = {0, 0, clipped.right - clipped.left, clipped.bottom - clipped.top};
        }
        const std::size_t length = std::size_t(clipped.right - clipped.left) * bytes;
        for (int row = clipped.top; row < clipped.bottom; ++row) {
            const auto* from = static_cast<const std::uint8_t*>(rows.pixels) + std::ptrdiff_t(row) * rows.pitch
                               + std::ptrdiff_t(clipped.left) * bytes;
            std::uint8_t* to = state.picture.data()
                               + (std::size_t(y + row - clipped.top) * state.width + std::size_t(x)) * bytes;
            std::memcpy(to, from, length);
        }
        Counted(state);
        return true;
    }

private:
    static void Counted(State& state)
    {
        ++state.presents;
        if (state.onPresent)
            state.onPresent();
    }

    // A copy would read the part's first and last pixels: a part clipped
    // outside the source still faults under the sanitizers.
    static void TouchCorners(const PixelSource& source, const PixelRect& part)
    {
        const int bytes = DisplayFormatBytes(source.format);
        const auto* pixels = static_cast<const volatile std::uint8_t*>(source.pixels);
        (void)pixels[std::ptrdiff_t(part.top) * source.pitch + std::ptrdiff_t(part.left) * bytes];
        (void)pixels[std::ptrdiff_t(part.bottom - 1) * source.pitch + std::ptrdiff_t(part.right) * bytes - 1];
    }

    std::shared_ptr<State> m_state;
    int m_format;
    std::vector<PaletteColour> m_palette;
};

class HeadlessDisplay final : public IDisplay {
public:
    explicit HeadlessDisplay(std::shared_ptr<State> state) : m_state(std::move(state)) {}

    bool Initialize(bool emulationOnly) override
    {
        m_state->calls.push_back(emulationOnly ? "Initialize(emulation)" : "Initialize");
        return !Fails(*m_state, emulationOnly ? DisplayStep::EmulationOnly : DisplayStep::Initialize);
    }

    bool SetCooperativeLevel(WindowHandle window, bool exclusive) override
    {
        m_state->calls.push_back(exclusive ? "SetCooperativeLevel(exclusive)" : "SetCooperativeLevel(normal)");
        if (Fails(*m_state, exclusive ? DisplayStep::CooperativeExclusive : DisplayStep::CooperativeNormal))
            return false;
        m_state->window = window;
        m_state->exclusive = exclusive;
        return true;
    }

    bool SetDisplayMode(int width, int height, int bitsPerPixel) override
    {
        m_state->calls.push_back("SetDisplayMode(" + std::to_string(width) + "," + std::to_string(height) + ","
                                 + std::to_string(bitsPerPixel) + ")");
        return !Fails(*m_state, DisplayStep::SetDisplayMode);
    }

    bool RestoreDisplayMode() override
    {
        m_state->calls.push_back("RestoreDisplayMode");
        return !Fails(*m_state, DisplayStep::RestoreDisplayMode);
    }

    std::unique_ptr<IDisplaySurface> CreatePrimary(int width, int height) override
    {
        m_state->calls.push_back("CreatePrimary");
        if (Fails(*m_state, DisplayStep::CreatePrimary) || width <= 0 || height <= 0)
            return nullptr;
        State& state = *m_state;
        state.lost = false;
        state.width = width;
        state.height = height;
        state.format = TextureFormatOf(Format());
        state.picture = state.keepPicture ? PixelMemory(std::size_t(width) * height * DisplayFormatBytes(state.format))
                                          : PixelMemory();
        return std::make_unique<HeadlessPrimary>(m_state, Format(), SystemPalette());
    }

    std::unique_ptr<IDisplaySurface> CreateSurface(int width, int height) override
    {
        m_state->calls.push_back("CreateSurface");
        if (Fails(*m_state, DisplayStep::CreateSurface))
            return nullptr;
        return MemoryDisplaySurface::Create(width, height, Format(), Fails(*m_state, DisplayStep::LockSurface));
    }

    std::unique_ptr<IDisplayClipper> CreateClipper() override
    {
        m_state->calls.push_back("CreateClipper");
        if (Fails(*m_state, DisplayStep::CreateClipper))
            return nullptr;
        return std::make_unique<HeadlessClipper>(m_state);
    }

    std::vector<PaletteColour> SystemPalette() override
    {
        if (m_state->paletteSet)
            return m_state->palette;
        return Format() == FormatPal8 ? EmulatedSystemPalette() : std::vector<PaletteColour>{};
    }

    DisplayPixelFormat GetDisplayMode() override { return DescribeDisplayFormat(Format()); }

private:
    int Format() const { return m_state->displayFormat; }

    std::shared_ptr<State> m_state;
};

} // namespace

std::unique_ptr<IDisplay> HeadlessDisplaySystem::CreateDisplay()
{
    m_state->calls.push_back("CreateDisplay");
    if (Fails(*m_state, DisplayStep::Create))
        return nullptr;
    return std::make_unique<HeadlessDisplay>(m_state);
}

void HeadlessDisplaySystem::Fail(DisplayStep step, bool fail)
{
    if (fail)
        m_state->failing.insert(step);
    else
        m_state->failing.erase(step);
}

void HeadlessDisplaySystem::SetPalette(std::vector<PaletteColour> palette)
{
    m_state->palette = std::move(palette);
    m_state->paletteSet = true;
}

void HeadlessDisplaySystem::MarkLost()
{
    m_state->lost = true;
}

std::uint32_t HeadlessDisplaySystem::PictureAt(int x, int y) const
{
    const State& state = *m_state;
    const int bytes = DisplayFormatBytes(state.format);
    if (x < 0 || y < 0 || x >= state.width || y >= state.height || bytes == 0)
        return 0;
    const std::uint8_t* cell = state.picture.data() + (std::size_t(y) * state.width + std::size_t(x)) * bytes;
    const std::uint32_t word = cell[0] | (bytes > 1 ? cell[1] << 8 : 0);
    std::uint32_t r = 0, g = 0, b = 0;
    switch (state.format) {
    case FormatRGB565: r = (word >> 8) & 0xF8; g = (word >> 3) & 0xFC; b = (word << 3) & 0xF8; break;
    case FormatRGB555: r = (word >> 7) & 0xF8; g = (word >> 2) & 0xF8; b = (word << 3) & 0xF8; break;
    case FormatRGB888: case FormatXRGB8888: b = cell[0]; g = cell[1]; r = cell[2]; break;
    case FormatBGR888: case FormatXBGR8888: r = cell[0]; g = cell[1]; b = cell[2]; break;
    default: break;
    }
    return (r << 16) | (g << 8) | b;
}

} // namespace platform
