#pragma once
// The engine's hook on the main window: menu commands, paint, maximise,
// activation and dropped script files become engine operations.

#include <cstdint>

#include "frame/TextString.h"
#include "frame/WinHook.h"

class CQuiltorEngine;

class CEngineWinHook : public kivotasuGameKit::IWinHook {
public:
    // Hooks the calling thread's window; unhooks on destruction.
    explicit CEngineWinHook(CQuiltorEngine& engine);
    ~CEngineWinHook() override;
    CEngineWinHook(const CEngineWinHook&) = delete;
    CEngineWinHook& operator=(const CEngineWinHook&) = delete;

    std::intptr_t WndProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) override;

private:
    void OnCommand(std::uint32_t id);
    void OnPlainCommand(std::uint32_t id);
    // Restart with history entry n, when there is one.
    void OnHistory(std::uint32_t n);
    // The open-file dialog; the script chosen starts the game.
    void OnOpenScript();
    void OnDropFiles(std::uintptr_t drop);
    // The script's folder becomes the open dialog's, and the game restarts with it.
    void StartScript(const kivotasuGameKit::CTextString& path);

    CQuiltorEngine& m_engine;
};
