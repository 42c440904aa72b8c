#include "app/QuiltorApp.h"

#include "platform/WindowSystem.h"
#include "script/engine/EngineProbe.h"
#include "script/engine/QuiltorEngine.h"

namespace {

constexpr char RootName[] = "KARUTEMI";
constexpr int ScreenWidth = 640;
constexpr int ScreenHeight = 480;

// Posts the close of the window after a number of frames.
class CCloseAfterFrames : public IEngineProbe {
public:
    CCloseAfterFrames(std::uint32_t frames, platform::WindowHandle window) : m_frames(frames), m_window(window) {}

    void OnTag(const CTagAttributes&, std::uint32_t, EngineState, EngineState, bool) override {}
    void OnFrame(std::uint32_t frame) override
    {
        if (frame == m_frames) platform::Windows().PostMessage(m_window, platform::WM_CLOSE, 0, 0);
    }

private:
    std::uint32_t m_frames;
    platform::WindowHandle m_window;
};

} // namespace

int CQuiltorApp::GetWindowOption(kivotasuGameKit::CWindowOption& option)
{
    option.caption = RootName;
    option.className = "KIVOSDKAPPLICATION";
    option.width = ScreenWidth;
    option.height = ScreenHeight;
    // Caption, system menu, minimise and maximise boxes; no sizing border.
    option.style = 0x00CB0000;
    return 0;
}

void CQuiltorApp::MainThread()
{
    CCloseAfterFrames closer(m_closeAfterFrames, GetHWnd());
    CQuiltorEngine engine(m_closeAfterFrames ? &closer : nullptr);
    engine.Start();
}
