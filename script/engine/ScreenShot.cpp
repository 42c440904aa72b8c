#include "script/engine/ScreenShot.h"

#include <algorithm>
#include <cstring>

#include "draw/effect/PixelConverter.h"
#include "draw/effect/SurfaceInfo.h"
#include "frame/EScript.h"
#include "frame/file/FileWriter.h"
#include "frame/file/GlobalBlock.h"
#include "script/engine/GlobalSettings.h"

using kivotasuGameKit::CTextString;

namespace {

constexpr std::size_t HeadSize = 32;
constexpr std::size_t GroupPixels = 8;

void Put32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}

} // namespace

int CScreenShot::Capture(kivotasuGameKit::Draw::CPlaneBase& screen)
{
    if (CreateMemorySurface(ScreenWidth(), ScreenHeight(), kivotasuGameKit::ARGB8888) != 0) return 1;
    kivotasuGameKit::CSurfaceInfo& source = *screen.GetSurfaceInfo();
    kivotasuGameKit::CSurfaceInfo& target = *GetSurfaceInfo();
    kivotasuGameKit::CSurfaceLock from(source), to(target);
    if (!from || !to) return 1;
    const int width = std::min(source.GetWidth(), target.GetWidth());
    for (int y = 0; y < std::min(source.GetHeight(), target.GetHeight()); ++y) {
        kivotasuGameKit::CPixelConverter::Convert(source.GetPixelBytes() + std::ptrdiff_t(y) * source.GetPitch(), source.GetType(),
                                                  target.GetPixelBytes() + std::ptrdiff_t(y) * target.GetPitch(),
                                                  kivotasuGameKit::ARGB8888, width);
    }
    return 0;
}

void CScreenShot::SavePDT10(const CTextString& name)
{
    const std::uint32_t width = std::uint32_t(ScreenWidth()), height = std::uint32_t(ScreenHeight());
    int planeWidth = 0, planeHeight = 0;
    kivotasuGameKit::CSurfaceInfo* surface = GetSurfaceInfo();
    // GetSize answers true when there is no surface.
    if (!surface || GetSize(&planeWidth, &planeHeight) || std::uint32_t(planeWidth) != width ||
        std::uint32_t(planeHeight) != height || surface->GetBytesPerPixel() != 4)
        throw EScript(CTextString("画面の大きさの画像がありません。"));

    const std::size_t pixels = std::size_t(width) * height;
    const std::size_t size = pixels / GroupPixels + 3 * pixels + HeadSize;
    kivotasuGameKit::CGlobalBlock block;
    block.Alloc(size);
    std::uint8_t* file = block.GetPtr();
    std::memcpy(file, "PDT10", 6);
    Put32(file + 8, std::uint32_t(size));
    Put32(file + 12, width);
    Put32(file + 16, height);

    kivotasuGameKit::CSurfaceLock lock(*surface);
    if (!lock) throw EScript(CTextString("画面の画像を読めません。"));
    std::uint8_t* out = file + HeadSize;
    for (std::size_t first = 0; first + GroupPixels <= pixels; first += GroupPixels) {
        *out++ = 0xFF;
        for (std::size_t i = first; i < first + GroupPixels; ++i) {
            const std::uint8_t* pixel =
                surface->GetPixelBytes() + std::ptrdiff_t(i / width) * surface->GetPitch() + std::ptrdiff_t(i % width) * 4;
            *out++ = pixel[0];
            *out++ = pixel[1];
            *out++ = pixel[2];
        }
    }
    kivotasuGameKit::CTextFileWriter writer(name);
    writer.WriteBytes(file, size);
    writer.Close();
}
