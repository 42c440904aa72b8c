// The process entry: the SDK's start-up around the application thread.
#include "app/QuiltorApp.h"
#include "app/StderrLog.h"

#include "frame/ErrorLog.h"
#include "frame/FirstInstance.h"
#include "frame/Mutex.h"
#include "frame/ProcessInit.h"
#include "platform/AudioOutput.h"
#include "platform/Clock.h"
#include "platform/Cursors.h"
#include "platform/Dialogs.h"
#include "platform/Display.h"
#include "platform/Keyboard.h"
#include "platform/MessageBox.h"
#include "platform/TerminationSignals.h"
#include "platform/TextCodec.h"
#include "platform/TextInput.h"
#include "platform/WindowSystem.h"

#include <cstdlib>
#include <new>
#include <string>

using namespace kivotasuGameKit;

namespace {

constexpr int SW_SHOWNORMAL = 1;

// Test switches: close after that many frames; wait that long between the
// single-instance test and the start of the application thread.
std::uint32_t EnvironmentNumber(const char* name)
{
    const char* value = std::getenv(name);
    return value ? static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10)) : 0;
}

int WinMain(std::uintptr_t instance, std::uintptr_t previousInstance, const char* commandLine, int showCommand)
{
    WinMainArgs args;
    CProcessInit::Init(args, instance, previousInstance, commandLine, showCommand);
    {
        // Held only until the application thread runs: a start that overlaps
        // another one's start-up is refused, later ones are not.
        KTL::CMutex mutex;
        if (IsFirstInstance(mutex, "")) {
            if (std::uint32_t hold = EnvironmentNumber("QUILTOR_TEST_HOLD_START_MS"))
                platform::Clock().Sleep(hold);
            if (auto* app = new (std::nothrow) CQuiltorApp(EnvironmentNumber("QUILTOR_TEST_CLOSE_AFTER_FRAMES")))
                CProcessInit::Run(app);
        } else {
            ErrorLog.Out("WinMain: 他のインスタンスが起動中なので終了します");
        }
    }
    CProcessInit::Term();
    return 0;
}

std::string CommandLine(int argc, char** argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            line += ' ';
        line += argv[i];
    }
    return platform::Utf8ToCp932(line);
}

} // namespace

int main(int argc, char** argv)
{
    platform::CloseOnTerminationSignals();
    if (std::getenv("QUILTOR_LOG"))
        ErrorLog.SetDevice(CSmartPtr<IErrorLog>(new CStderrLogDevice));
    platform::InstallWindows(platform::MakeSdlWindowSystem());
    platform::InstallDisplays(platform::MakeSdlDisplaySystem());
    platform::InstallKeyboards(platform::MakeSdlKeyboardSystem());
    platform::InstallCursors(platform::MakeSdlCursorSystem());
    platform::InstallAudio(platform::MakeSdlAudioOutput());
    platform::InstallDialogs(platform::MakeImGuiDialogs());
    platform::InstallMessageBoxes(platform::MakeDrawnMessageBoxes());
    platform::InstallTextInput(platform::MakeSdlTextInput());
    const std::string commandLine = CommandLine(argc, argv);
    return WinMain(0, 0, commandLine.c_str(), SW_SHOWNORMAL);
}
