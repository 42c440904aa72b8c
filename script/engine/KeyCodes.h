#pragma once
// The keys the engine's waits read, by their DirectInput scan codes.

namespace KeyCode {

inline constexpr int Escape = 0x01;
inline constexpr int Enter = 0x1C;
inline constexpr int LeftCtrl = 0x1D;
inline constexpr int LeftShift = 0x2A;
inline constexpr int RightShift = 0x36;
inline constexpr int LeftAlt = 0x38;
inline constexpr int Space = 0x39;
inline constexpr int PadEnter = 0x9C;
inline constexpr int RightCtrl = 0x9D;
inline constexpr int RightAlt = 0xB8;
inline constexpr int Up = 0xC8;
inline constexpr int PageUp = 0xC9;
inline constexpr int Left = 0xCB;
inline constexpr int Right = 0xCD;
inline constexpr int Down = 0xD0;
inline constexpr int PageDown = 0xD1;
inline constexpr int Apps = 0xDD;

} // namespace KeyCode
