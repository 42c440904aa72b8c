#include "script/dib/DibInfo.h"

#include <cstring>
#include <new>

#include "frame/EScript.h"
#include "frame/ReadInterrupted.h"
#include "frame/file/File.h"
#include "script/engine/GlobalSettings.h"

using kivotasuGameKit::CTextString;
using kivotasuGameKit::SurfaceType;

namespace DIB {

CDibInfo::CDibInfo(std::int32_t width, std::int32_t height)
    : m_defaultX((ScreenWidth() - width) >> 1), // rounds down, also for a picture wider than the screen
      m_defaultY(ScreenHeight() - height),
      m_width(width),
      m_height(height),
      m_plane(new Plane)
{
    if (m_plane->CreateMemorySurface(width, height, SurfaceType::ARGB8888) != 0) throw std::bad_alloc();
}

void CDibInfo::SetColorKeyed()
{
    m_keyed = 1;
    m_erase = CEraseInfo{0xFFFFFFFF, CEraseInfo::None};
}

void CDibInfo::SetOpaque(std::uint32_t colour)
{
    m_keyed = 0;
    m_erase = CEraseInfo{colour, CEraseInfo::None};
}

std::uint32_t* CDibInfo::GetPixels() const
{
    return static_cast<std::uint32_t*>(m_plane->GetSurfaceInfoPtr()->GetPixels());
}

void CDibInfo::SetPixels(const std::uint32_t* source)
{
    std::memcpy(GetPixels(), source, std::size_t(m_width) * std::size_t(m_height) * 4);
}

bool IsBitmapName(const CTextString& fileName)
{
    const std::string& name = fileName.GetStr();
    return name.find(".bmp") != std::string::npos || name.find(".BMP") != std::string::npos;
}

boost::shared_ptr<CDibInfo> LoadDibInfo(const CTextString& fileName)
{
    // A missing or unreadable picture is the script's error: the transition
    // falls back to a blend on it, and the reporter names the file.
    kivotasuGameKit::CFile file;
    const platform::ReadResult read = file.Read(fileName.GetStr(), kivotasuGameKit::FileKind::Picture);
    if (read == platform::ReadResult::Interrupted) throw EReadInterrupted();
    CDibInfo::Plane loaded;
    if (read != platform::ReadResult::Done || loaded.DecodePicture(file, SurfaceType::ARGB8888) != 0) {
        const CTextString tried(kivotasuGameKit::CFile::NormalizePath(fileName.GetStr()));
        throw EScript("画像『" + fileName + "』が読み込めません。", "画像『" + tried + "』が読み込めません。");
    }
    int width = 0, height = 0;
    loaded.GetSize(&width, &height);
    boost::shared_ptr<CDibInfo> info(new CDibInfo(width, height));
    info->SetPixels(static_cast<const std::uint32_t*>(loaded.GetSurfaceInfoPtr()->GetPixels()));
    info->SetName(fileName);
    if (IsBitmapName(fileName)) {
        info->SetColorKeyed();
    } else {
        std::uint32_t* cell = info->GetPixels();
        for (std::size_t n = std::size_t(width) * std::size_t(height); n; --n, ++cell) *cell |= 0xFF000000;
        info->SetOpaque(0xFFFFFFFF);
    }
    return info;
}

} // namespace DIB
