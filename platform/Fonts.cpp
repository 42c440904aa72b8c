#include "platform/Fonts.h"

#include "platform/ServiceSlot.h"
#include <algorithm>

#include "platform/FreeTypeFace.h"

namespace platform {
namespace {

ServiceSlot<IFontService, FontconfigFonts>& Slot()
{
    static ServiceSlot<IFontService, FontconfigFonts> slot;
    return slot;
}

} // namespace

IFontService& Fonts()
{
    return Slot().Get();
}

void InstallFonts(std::unique_ptr<IFontService> service)
{
    Slot().Install(std::move(service));
}

PinnedFonts::PinnedFonts(std::vector<std::string> familiesSjis, std::string file)
    : m_families(std::move(familiesSjis)), m_file(std::move(file))
{
}

std::unique_ptr<IFontFace> PinnedFonts::OpenFace(std::string_view familySjis, int cellHeight)
{
    const bool known = familySjis.empty() ||
                       std::find(m_families.begin(), m_families.end(), familySjis) != m_families.end();
    return OpenFreeTypeFace(m_file, cellHeight, !known);
}

} // namespace platform
