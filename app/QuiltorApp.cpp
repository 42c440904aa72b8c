#include "app/QuiltorApp.h"

#include <functional>

#include "platform/Clock.h"
#include "platform/WindowSystem.h"
#include "script/engine/EngineProbe.h"
#include "script/engine/QuiltorEngine.h"

namespace {

constexpr char RootName[] = "KARUTEMI";
constexpr int ScreenWidth = 640;
constexpr int ScreenHeight = 480;

// A start-up lasts at least this long, so that players started together are
// told apart however the machine schedules their first steps.
constexpr std::uint32_t ShortestStartUpMs = 1000;

// Tells the entry when the start-up is over (a frame has been shown, or the
// window has had a turn, and the shortest start-up has passed) and, for
// tests, posts a command and the close of the window after their numbers of
// frames.
class CStartProbe : public IEngineProbe {
public:
    CStartProbe(std::function<void()> started, std::uint32_t closeAfter, std::uint32_t commandAfter,
                std::uint32_t command, platform::WindowHandle window)
        : m_started(std::move(started)), m_closeAfter(closeAfter), m_commandAfter(commandAfter), m_command(command),
          m_window(window), m_begun(platform::Clock().Now())
    {
    }

    void OnTag(const CTagAttributes&, std::uint32_t, EngineState, EngineState, bool, bool) override {}
    void OnFrame(std::uint32_t frame) override
    {
        EndStartUp();
        if (m_command != 0 && frame == m_commandAfter)
            platform::Windows().PostMessage(m_window, platform::WM_COMMAND, m_command, 0);
        if (frame == m_closeAfter) platform::Windows().PostMessage(m_window, platform::WM_CLOSE, 0, 0);
    }
    // A script that reads on from its first tag waits for no frame: a turn of
    // the window ends the start-up as well.
    void OnTurn(std::uint32_t) override { EndStartUp(); }

private:
    void EndStartUp()
    {
        if (m_started && platform::Clock().Now() - m_begun >= ShortestStartUpMs) {
            m_started();
            m_started = nullptr;
        }
    }

    std::function<void()> m_started;
    std::uint32_t m_closeAfter;
    std::uint32_t m_commandAfter;
    std::uint32_t m_command;
    platform::WindowHandle m_window;
    std::uint32_t m_begun;
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
    CStartProbe probe(m_started, m_closeAfterFrames, m_commandAfterFrames, m_command, GetHWnd());
    CQuiltorEngine engine(&probe);
    engine.Start();
}
