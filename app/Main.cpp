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
#include "platform/PlayerPath.h"
#include "platform/Shell.h"
#include "platform/StderrLines.h"
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

// Test switches: close after that many frames; send the window a command
// after that many frames; wait that long between the single-instance test and
// the start of the application thread.
std::uint32_t EnvironmentNumber(const char* name)
{
    const char* value = std::getenv(name);
    return value ? static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10)) : 0;
}

// The single-instance mutex comes in already tested (see main). It is held
// only through the start-up: a start that overlaps another one's is refused,
// later ones are not. The start-up lasts until a frame has been shown and at
// least a second has passed, not only until the application thread runs: a
// thread starts in well under a millisecond, so two players started together
// both passed.
int WinMain(KTL::CMutex& mutex, bool firstInstance, std::uintptr_t instance, std::uintptr_t previousInstance,
            const char* commandLine, int showCommand)
{
    WinMainArgs args;
    CProcessInit::Init(args, instance, previousInstance, commandLine, showCommand);
    if (firstInstance) {
        if (std::uint32_t hold = EnvironmentNumber("QUILTOR_TEST_HOLD_START_MS"))
            platform::Clock().Sleep(hold);
        auto* app = new (std::nothrow)
            CQuiltorApp(EnvironmentNumber("QUILTOR_TEST_CLOSE_AFTER_FRAMES"), [&mutex] { mutex.Release(); });
        if (app) {
            app->PostCommandAfter(EnvironmentNumber("QUILTOR_TEST_COMMAND_AFTER_FRAMES"),
                                  EnvironmentNumber("QUILTOR_TEST_COMMAND"));
            CProcessInit::Run(app);
        }
    } else {
        ErrorLog.Out("WinMain: 他のインスタンスが起動中なので終了します");
    }
    CProcessInit::Term();
    // When the player ended within its start-up.
    mutex.Release();
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
    // The game drive names the lock, which is taken before anything else: two
    // players started together in one game folder must not both pass it.
    platform::SetPlayerStartedAs(argc > 0 ? argv[0] : nullptr);
    platform::MapGameDriveToPlayerFolder();
    KTL::CMutex mutex;
    const bool firstInstance = IsFirstInstance(mutex, "");
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
    platform::InstallShell(platform::MakeSdlShell());
    const std::string commandLine = CommandLine(argc, argv);
    WinMain(mutex, firstInstance, 0, 0, commandLine.c_str(), SW_SHOWNORMAL);
    // Said whatever the log: started where no display can be opened (over ssh,
    // say), the player has nothing else to show.
    const std::string videoError = platform::Windows().VideoError();
    if (!videoError.empty()) {
        platform::Stderr().Say("quiltor: no display could be opened: " + videoError);
        return 1;
    }
    return 0;
}
