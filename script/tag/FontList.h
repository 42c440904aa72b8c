#pragma once
// The Japanese font faces offered in the font menu and the one in use.

#include <cstdint>
#include <string_view>
#include <vector>

#include "frame/TextString.h"

namespace kivotasuGameKit { class CTextFileWriter; }
namespace platform { struct MenuItem; }

class CFontList {
public:
    static CFontList& GetInstance();
    virtual ~CFontList() = default;

    // n when it names a face, else 0.
    void SetCurrent(std::int32_t n);
    std::int32_t GetCurrent() const { return m_current; }
    const std::vector<kivotasuGameKit::CTextString>& GetNames() const { return m_names; }
    // The face in use; empty when no face is listed.
    kivotasuGameKit::CTextString GetCurrentName() const;
    // The submenu's placeholder gives way to one item per face, command
    // firstCommand + index, the current one checked; at most `most` faces, so
    // that the commands stay clear of the next range.
    void FillMenu(platform::MenuItem& submenu, std::uint32_t firstCommand, std::size_t most) const;
    // The FONT line of the options file.
    void WriteOption(kivotasuGameKit::CTextFileWriter& writer) const;

    // Lists the faces of the platform's font service anew (the instance does
    // it once when it is made).
    void Enumerate();

private:
    CFontList();

    // The service lists the faces that draw Japanese, by their Japanese names
    // where they have one (fontconfig's begin in Latin letters: IPAゴシック);
    // vertical faces ("@") are left out.
    void EnumProc(std::string_view name);

    std::vector<kivotasuGameKit::CTextString> m_names;
    std::int32_t m_current = 0;
};
