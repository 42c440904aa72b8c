#include "script/engine/GlobalSettings.h"

namespace {

struct Settings {
    std::int32_t textTime = 200;
    std::int32_t effectTime = 800;
    std::uint32_t red = 80;
    std::uint32_t green = 112;
    std::uint32_t blue = 160;
    std::int32_t bgmVolume = 0;
    std::int32_t soundVolume = 0;
    std::int32_t width = 640;
    std::int32_t height = 480;
};

Settings& Current()
{
    static Settings settings;
    return settings;
}

} // namespace

std::int32_t GetTextTime() { return Current().textTime; }
void SetTextTime(std::int32_t ms) { Current().textTime = ms; }
std::int32_t GetEffectTime() { return Current().effectTime; }
void SetEffectTime(std::int32_t ms) { Current().effectTime = ms; }

std::uint32_t GetWindowRGB()
{
    const Settings& s = Current();
    return (s.red << 16) + (s.green << 8) + s.blue;
}

void SetWindowRGB(std::uint32_t rgb)
{
    Settings& s = Current();
    s.red = (rgb >> 16) & 0xFF;
    s.green = (rgb >> 8) & 0xFF;
    s.blue = rgb & 0xFF;
}

std::int32_t GetBgmVolume() { return Current().bgmVolume; }
void SetBgmVolume(std::int32_t volume) { Current().bgmVolume = volume; }
std::int32_t GetSoundVolume() { return Current().soundVolume; }
void SetSoundVolume(std::int32_t volume) { Current().soundVolume = volume; }

std::int32_t ScreenWidth() { return Current().width; }
std::int32_t ScreenHeight() { return Current().height; }
void SetScreenWidth(std::int32_t width) { Current().width = width; }
void SetScreenHeight(std::int32_t height) { Current().height = height; }

void ResetGlobalSettings() { Current() = Settings(); }
