#pragma once
// The pages of the settings sheet, as plain dialog data: each page builds its
// controls from the settings when the sheet opens, follows them while it is
// open and, when it closes, stores them (OK) or keeps the settings (Cancel).

#include <cstdint>

#include "platform/Dialogs.h"

class CBgmPlayer;
class CQuiltorEngine;
namespace TAG { class CSound; }

// The ids of the sheet's controls.
namespace SettingControl {

inline constexpr int Text = 1009;
inline constexpr int Effect = 1010;
inline constexpr int Bgm = 1065;
inline constexpr int Sound = 1066;
inline constexpr int HomePage = 1067;

} // namespace SettingControl

class CSettingPage {
public:
    virtual ~CSettingPage() = default;
    // The page as the sheet first shows it.
    virtual platform::DialogControl Initialize() = 0;
    // A control of the sheet moved; the sheet is still open.
    virtual void OnChange(const platform::DialogControl&) {}
    // The sheet closed with OK (apply) or Cancel; its controls hold their
    // last values.
    virtual void OnNotify(const platform::Dialog& sheet, bool apply) = 0;
};

// Text and effect speed: the TEXT trackbar is the TEXT time in milliseconds,
// the EFFECT one the EFFECT time in tens of milliseconds; both show
// milliseconds and reach the ends of their scales, 100 ms and 1000 ms.
class CSpeedPage final : public CSettingPage {
public:
    platform::DialogControl Initialize() override;
    void OnNotify(const platform::Dialog& sheet, bool apply) override;
};

// Music and sound volumes in steps of 50 hundredths of a decibel, heard while
// the trackbars move.
class CVolumeDialog final : public CSettingPage {
public:
    explicit CVolumeDialog(CQuiltorEngine& engine) : m_engine(engine) {}

    platform::DialogControl Initialize() override;
    void OnChange(const platform::DialogControl& control) override;
    void OnNotify(const platform::Dialog& sheet, bool apply) override;

private:
    CQuiltorEngine& m_engine;
    int m_bgm = 0;
    int m_sound = 0;
};

// The program's name and version, and the maker's home page.
class CVersionPage final : public CSettingPage {
public:
    platform::DialogControl Initialize() override;
    void OnChange(const platform::DialogControl& control) override;
    void OnNotify(const platform::Dialog&, bool) override {}
};

// How a trackbar of the sheet reads: 0 to its maximum, a step worth the scale
// in the unit.
struct TrackbarScale {
    int maximum = 99;
    int scale = 1;
    const char* unitSjis = "";
};

// A trackbar of the sheet with ticks and pages of 20, between its two end
// labels; the position is clamped into the range.
std::vector<platform::DialogControl> Trackbar(int id, int position, const char* lowSjis, const char* highSjis,
                                              TrackbarScale scale = {});
// The position of a trackbar of the sheet.
int TrackbarPosition(const platform::Dialog& sheet, int id);
