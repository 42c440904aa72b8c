#pragma once
// The command ids of the popup menu's items and of the further commands the
// window hook carries out, as the window's command messages carry them.

#include <cstdint>

namespace MenuCommand {

inline constexpr std::uint32_t Exit = 40001;
inline constexpr std::uint32_t HideWindows = 40007;
inline constexpr std::uint32_t OpenScript = 40018;
inline constexpr std::uint32_t Settings = 40026;
inline constexpr std::uint32_t SkipNormal = 40051; // + skip pattern 0 to 4
inline constexpr std::uint32_t SkipCustom = 40055;
inline constexpr std::uint32_t QuickSave = 40056;
inline constexpr std::uint32_t QuickLoad = 40057;
inline constexpr std::uint32_t ClearHistory = 40058;
inline constexpr std::uint32_t SaveScreenPicture = 40059;
inline constexpr std::uint32_t LoadResume = 40060;
inline constexpr std::uint32_t Progress = 40061;
inline constexpr std::uint32_t ReturnToTitle = 40062;
inline constexpr std::uint32_t FullScreen = 40064;
inline constexpr std::uint32_t Placeholder = 40065;
inline constexpr std::uint32_t CustomSkipSettings = 40066;
inline constexpr std::uint32_t SceneSkip = 40069;
inline constexpr std::uint32_t SaveSlot = 41000;  // + slot 0 to 9
inline constexpr std::uint32_t LoadSlot = 42000;  // + slot 0 to 9
inline constexpr std::uint32_t LoadAutoSave = 43000; // + ring entry 0 to 9
inline constexpr std::uint32_t History = 44000;   // + history entry
inline constexpr std::uint32_t Font = 44100;      // + font index
inline constexpr std::uint32_t WindowFrame = 44200; // + frame number

inline constexpr int Slots = 10;

} // namespace MenuCommand
