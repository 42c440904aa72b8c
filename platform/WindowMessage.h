#pragma once
// The window messages the frame and the engine handle, with the codes and
// parameter packing their hooks expect.

#include <cstdint>

namespace platform {

using WindowHandle = std::uintptr_t; // 0: no window

struct WindowMessage {
    WindowHandle window = 0;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

inline constexpr std::uint32_t WM_DESTROY = 0x0002;
inline constexpr std::uint32_t WM_SIZE = 0x0005;        // wParam SIZE_*, lParam client size
inline constexpr std::uint32_t WM_ACTIVATE = 0x0006;    // wParam WA_*
inline constexpr std::uint32_t WM_PAINT = 0x000F;
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_QUIT = 0x0012;        // wParam exit code
inline constexpr std::uint32_t WM_ACTIVATEAPP = 0x001C; // wParam 1 activated, 0 deactivated
inline constexpr std::uint32_t WM_SETICON = 0x0080;
inline constexpr std::uint32_t WM_NCDESTROY = 0x0082;
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;     // wParam virtual key, lParam KeyData
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_COMMAND = 0x0111;     // low word of wParam: command id
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;   // wParam MK_*, lParam client point
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr std::uint32_t WM_MOUSEWHEEL = 0x020A;  // high word of wParam: signed delta
inline constexpr std::uint32_t WM_DROPFILES = 0x0233;   // wParam: drop id (DroppedFile, FinishDrop)
inline constexpr std::uint32_t MM_MCINOTIFY = 0x03B9;  // wParam MCI_NOTIFY_*, lParam device id
inline constexpr std::uint32_t WM_USER = 0x0400;

inline constexpr std::uintptr_t MCI_NOTIFY_SUCCESSFUL = 0x0001;

inline constexpr std::uintptr_t SIZE_RESTORED = 0;
inline constexpr std::uintptr_t SIZE_MINIMIZED = 1;
inline constexpr std::uintptr_t SIZE_MAXIMIZED = 2;

inline constexpr std::uintptr_t WA_INACTIVE = 0;
inline constexpr std::uintptr_t WA_ACTIVE = 1;

inline constexpr std::uintptr_t MK_LBUTTON = 0x0001;
inline constexpr std::uintptr_t MK_RBUTTON = 0x0002;
inline constexpr std::uintptr_t MK_SHIFT = 0x0004;
inline constexpr std::uintptr_t MK_CONTROL = 0x0008;
inline constexpr std::uintptr_t MK_MBUTTON = 0x0010;

inline constexpr int WHEEL_DELTA = 120; // one notch

// Virtual key codes of WM_KEYDOWN / WM_KEYUP; letters and digits are their
// upper-case ASCII codes.
inline constexpr std::uintptr_t VK_BACK = 0x08;
inline constexpr std::uintptr_t VK_TAB = 0x09;
inline constexpr std::uintptr_t VK_RETURN = 0x0D;
inline constexpr std::uintptr_t VK_SHIFT = 0x10;
inline constexpr std::uintptr_t VK_CONTROL = 0x11;
inline constexpr std::uintptr_t VK_MENU = 0x12; // Alt
inline constexpr std::uintptr_t VK_PAUSE = 0x13;
inline constexpr std::uintptr_t VK_ESCAPE = 0x1B;
inline constexpr std::uintptr_t VK_SPACE = 0x20;
inline constexpr std::uintptr_t VK_PRIOR = 0x21; // Page Up
inline constexpr std::uintptr_t VK_NEXT = 0x22;  // Page Down
inline constexpr std::uintptr_t VK_END = 0x23;
inline constexpr std::uintptr_t VK_HOME = 0x24;
inline constexpr std::uintptr_t VK_LEFT = 0x25;
inline constexpr std::uintptr_t VK_UP = 0x26;
inline constexpr std::uintptr_t VK_RIGHT = 0x27;
inline constexpr std::uintptr_t VK_DOWN = 0x28;
inline constexpr std::uintptr_t VK_INSERT = 0x2D;
inline constexpr std::uintptr_t VK_DELETE = 0x2E;
inline constexpr std::uintptr_t VK_APPS = 0x5D; // the menu key
inline constexpr std::uintptr_t VK_NUMPAD0 = 0x60;
inline constexpr std::uintptr_t VK_F1 = 0x70;

constexpr std::intptr_t MakePointParam(int x, int y)
{
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y & 0xFFFF) << 16)
                                      | static_cast<std::uint32_t>(x & 0xFFFF));
}

constexpr std::int16_t LowWord(std::intptr_t value)
{
    return static_cast<std::int16_t>(value & 0xFFFF);
}

constexpr std::int16_t HighWord(std::intptr_t value)
{
    return static_cast<std::int16_t>((value >> 16) & 0xFFFF);
}

// lParam of a key message: repeat count 1, bit 30 set for an auto-repeat
// (or any release), bit 31 set for a release.
constexpr std::intptr_t KeyData(bool repeat, bool release)
{
    return 1 | (repeat || release ? (1 << 30) : 0) | (release ? static_cast<std::intptr_t>(1u << 31) : 0);
}

} // namespace platform
