#include "platform/Fonts.h"

#include <algorithm>
#include <atomic>

#include "platform/FreeTypeFace.h"

namespace platform {
namespace {

std::unique_ptr<IFontService>& Installed()
{
    static std::unique_ptr<IFontService> service = std::make_unique<FontconfigFonts>();
    return service;
}

std::atomic<IFontService*> g_current{nullptr};

} // namespace

IFontService& Fonts()
{
    IFontService* service = g_current.load(std::memory_order_acquire);
    if (service) return *service;
    return *Installed();
}

void InstallFonts(std::unique_ptr<IFontService> service)
{
    if (!service) service = std::make_unique<FontconfigFonts>();
    g_current.store(service.get(), std::memory_order_release);
    Installed() = std::move(service);
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
