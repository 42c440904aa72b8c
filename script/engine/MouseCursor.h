#pragma once
// The engine's view of the mouse: presses, releases and the wheel as the main
// window reports them, and the wait cursors that CURSOR registers for C, L, P.

#include <array>
#include <cstdint>

#include "frame/TextString.h"
#include "frame/WinHook.h"
#include "platform/Cursors.h"
#include "platform/WindowSystem.h"

namespace kivotasuGameKit { class CTextFileWriter; }

class CMouseCursor : public kivotasuGameKit::IWinHook {
public:
    using CTextString = kivotasuGameKit::CTextString;
    static constexpr int Arrow = -1;

    // Hooks the calling thread's window; unhooks on destruction.
    CMouseCursor();
    ~CMouseCursor() override;
    CMouseCursor(const CMouseCursor&) = delete;
    CMouseCursor& operator=(const CMouseCursor&) = delete;

    std::intptr_t WndProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) override;

    bool IsLeftHeld() const { return m_leftHeld != 0; }
    // Each gives its flag and clears it. A press stays until it is taken, also
    // when its release came before: a tap on a touchpad sends both at once.
    bool TakeLeftDown() { return Take(m_leftDown); }
    bool TakeRightDown() { return Take(m_rightDown); }
    bool TakeLeftUp() { return Take(m_leftUp); }
    std::int32_t TakeWheel();

    platform::Point GetPos() const;
    // Where HasInput last found the cursor.
    platform::Point GetLastPos() const { return m_last; }
    void SetPos(platform::Point client);
    // The cursor moved since the last call, or a press or release is pending.
    bool HasInput();

    // The wait cursor of kind 0 (C), 1 (L) or 2 (P), falling back to the
    // next kind whose file is registered, else to the arrow. A file that
    // cannot be read as a cursor shows the system's wait cursor.
    void Load(int kind);
    void SetArrowCursor();
    // An animated cursor's frame for the time now.
    void Animate();
    void Reset();
    // The CURSOR tag: false for a NAME other than "C", "L", "P".
    bool Register(const CTextString& name, const CTextString& file);
    void WriteSave(kivotasuGameKit::CTextFileWriter& writer) const;

    int GetKind() const { return m_kind; }
    const CTextString& GetFile(int kind) const { return m_files[static_cast<std::size_t>(kind)]; }

private:
    static bool Take(std::uint8_t& flag);
    void Release(std::size_t kind);

    std::uint8_t m_leftDown = 0;
    std::uint8_t m_rightDown = 0;
    std::uint8_t m_leftUp = 0;
    std::uint8_t m_rightUp = 0;
    std::uint8_t m_leftHeld = 0;
    std::int32_t m_wheel = 0;
    platform::Point m_last{-1, -1};
    std::array<CTextString, 5> m_files;
    std::array<platform::CursorHandle, 5> m_handles{};
    std::array<bool, 5> m_unreadable{};
    int m_kind = Arrow;
};
