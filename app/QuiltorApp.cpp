#include "app/QuiltorApp.h"

#include "frame/FpsTimer.h"
#include "platform/WindowSystem.h"

namespace {

constexpr char RootName[] = "KARUTEMI";
constexpr int ScreenWidth = 640;
constexpr int ScreenHeight = 480;
constexpr std::uint32_t FramesPerSecond = 30;

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

// Until the engine runs here, the thread keeps the window alive: one pump a
// frame until the window is closed.
void CQuiltorApp::MainThread()
{
    kivotasuGameKit::CFpsTimer frames;
    frames.SetFPS(FramesPerSecond);
    for (std::uint32_t frame = 1; IsThreadValid(); ++frame) {
        if (frame == m_closeAfterFrames)
            platform::Windows().PostMessage(GetHWnd(), platform::WM_CLOSE, 0, 0);
        frames.WaitFrame();
    }
}
