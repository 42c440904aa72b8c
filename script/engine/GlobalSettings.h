#pragma once
// The process-wide settings that are not fields of the game state: set by the
// SYSTEM tag, the dialogs and the options file, read by the engine.

#include <cstdint>

std::int32_t GetTextTime();
void SetTextTime(std::int32_t ms);
std::int32_t GetEffectTime();
void SetEffectTime(std::int32_t ms);

// The text-window colour as 0x00RRGGBB, kept as three values 0 to 255.
std::uint32_t GetWindowRGB();
void SetWindowRGB(std::uint32_t rgb);

// Hundredths of a decibel, 0 full volume.
std::int32_t GetBgmVolume();
void SetBgmVolume(std::int32_t volume);
std::int32_t GetSoundVolume();
void SetSoundVolume(std::int32_t volume);

// 640 x 480, or 800 x 600 after a SCREEN tag with a non-zero NAME.
std::int32_t ScreenWidth();
std::int32_t ScreenHeight();
void SetScreenWidth(std::int32_t width);
void SetScreenHeight(std::int32_t height);

// Back to the values a process starts with.
void ResetGlobalSettings();
