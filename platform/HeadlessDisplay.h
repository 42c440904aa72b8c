#pragma once
// Displays that exist only in memory. They keep the presented picture and a
// record of every request, and tests can make any step fail.

#include "platform/Display.h"
#include "platform/PixelMemory.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace platform {

enum class DisplayStep {
    Create,
    EmulationOnly,
    Initialize,
    CooperativeNormal,
    CooperativeExclusive,
    SetDisplayMode,
    RestoreDisplayMode,
    CreatePrimary,
    CreateSurface,
    LockSurface,
    CreateClipper,
    ClipperWindow,
    SetClipper,
    Present,
};

class HeadlessDisplaySystem final : public IDisplaySystem {
public:
    // What every display of this system shares with the test.
    struct State {
        // The format every display reports: the environment's, until a test
        // changes the screen.
        int displayFormat = DisplayFormatFromEnvironment();
        std::set<DisplayStep> failing;
        std::vector<std::string> calls;
        // Empty: the display's own (the emulated palette on a Pal8 display).
        std::vector<PaletteColour> palette;
        bool paletteSet = false;
        bool lost = false;
        WindowHandle window = 0;
        bool exclusive = false;
        // The picture of the last primary: texture format, rows width x bytes.
        int width = 0;
        int height = 0;
        int format = 0;
        PixelMemory picture;
        int presents = 0;
        // Off: presents are clipped and counted, and no picture is kept.
        bool keepPicture = true;
        // Told of every present, once it is counted and its picture kept.
        std::function<void()> onPresent;
    };

    HeadlessDisplaySystem() : m_state(std::make_shared<State>()) {}

    std::unique_ptr<IDisplay> CreateDisplay() override;

    void Fail(DisplayStep step, bool fail = true);
    void SetPalette(std::vector<PaletteColour> palette);
    // The primary reports itself lost until the next one is made.
    void MarkLost();
    void SetDisplayFormat(int format) { m_state->displayFormat = format; }
    // For runs that never look at the screen (fuzzing): a present then costs
    // no copy of the frame.
    void KeepPictures(bool keep) { m_state->keepPicture = keep; }
    void OnPresent(std::function<void()> observer) { m_state->onPresent = std::move(observer); }
    const State& GetState() const { return *m_state; }
    void ClearCalls() { m_state->calls.clear(); }
    // The presented pixel at (x, y) as 0xRRGGBB.
    std::uint32_t PictureAt(int x, int y) const;

private:
    std::shared_ptr<State> m_state;
};

} // namespace platform
