#include "draw/PictureLoader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "draw/effect/PixelConverter.h"
#include "frame/file/Lzss.h"
#include "platform/PictureDecoder.h"
#include "platform/SharedLibrary.h"

namespace kivotasuGameKit {

CSmartPtr<IPictureLoaderFactory> PictureLoaderFactoryInstance(new CPictureLoaderFactory);
CTextString PlugInFolder = "SPI";

namespace {

constexpr uint32_t BmpMinimumSize = 54;
constexpr uint32_t CompressedHeaderSize = 24;

uint32_t Read32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// Converts rows of width x height pixels of one type into the record, clipped to it.
bool ConvertRows(const uint8_t* rows, size_t pitch, SurfaceType type, int width, int height, CSurfaceInfo& target)
{
    if (!CPixelConverter::Serves(type, target.GetType())) return false;
    const int w = std::min(width, target.GetWidth()), h = std::min(height, target.GetHeight());
    for (int y = 0; y < h; ++y)
        CPixelConverter::Convert(rows + size_t(y) * pitch, type,
                                 target.GetPixelBytes() + ptrdiff_t(y) * target.GetPitch(), target.GetType(), w);
    return true;
}

bool ParseBmp(CFile* file, DibView& out)
{
    return file && DibView::ParseFile(file->GetMemory(), file->GetSize(), out);
}

} // namespace

CSmartPtr<IPictureLoader> CPictureLoaderFactory::Create()
{
    return CSmartPtr<IPictureLoader>(new CPictureLoader);
}

CPictureLoader::~CPictureLoader()
{
    Release();
}

int CPictureLoader::Load(CFile& file)
{
    Release();
    m_file = &file;
    if (LoadBMP(file) == 0) return 0;
    if (LoadCompressed(file) == 0) return 0;
    if (LoadByOle(file) == 0) return 0;
    if (LoadPlugIn(file) == 0) return 0;
    return 1;
}

int CPictureLoader::LoadBMP(CFile& file)
{
    const uint8_t* data = file.GetMemory();
    const uint32_t size = file.GetSize();
    if (!data || size < BmpMinimumSize || data[0] != 'B' || data[1] != 'M') return 1;
    // Taken for a BMP by its magic alone; whether its header can be used is
    // asked when it is sized, copied or drawn.
    m_bmpHeader = data + 14;
    return 0;
}

int CPictureLoader::LoadCompressed(CFile& file)
{
    std::string suffix = file.GetSuffixOfName();
    std::transform(suffix.begin(), suffix.end(), suffix.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; });
    if (suffix != "ovk") return 1;
    const uint8_t* data = file.GetMemory();
    if (!data || file.GetSize() < 12 || std::memcmp(data, "ovk", 4) != 0) return 2;
    m_compressedWidth = int32_t(Read32(data + 4));
    m_compressedHeight = int32_t(Read32(data + 8));
    m_compressed = 1;
    return 0;
}

int CPictureLoader::LoadByOle(CFile& file)
{
    const uint8_t* data = file.GetMemory();
    if (!data || file.GetSize() == 0) return 1;
    auto picture = std::make_unique<platform::DecodedPicture>();
    if (!platform::DecodePicture(data, file.GetSize(), *picture)) {
        Release();
        return 2;
    }
    m_picture = std::move(picture);
    return 0;
}

int CPictureLoader::LoadPlugIn(CFile& file)
{
    const std::string name = CFile::NormalizePath(PlugInFolder.GetStr() + "/if" + file.GetSuffixOfName() + ".so");
    m_plugIn = platform::LoadSharedLibrary(name);
    if (m_plugIn) {
        m_isSupported = reinterpret_cast<ImagePlugInIsSupported>(
            platform::FindSharedLibrarySymbol(m_plugIn, ImagePlugInIsSupportedName));
        m_getPictureInfo = reinterpret_cast<ImagePlugInGetPictureInfo>(
            platform::FindSharedLibrarySymbol(m_plugIn, ImagePlugInGetPictureInfoName));
        m_getPicture = reinterpret_cast<ImagePlugInGetPicture>(
            platform::FindSharedLibrarySymbol(m_plugIn, ImagePlugInGetPictureName));
        m_freeBuffer = reinterpret_cast<ImagePlugInFreeBuffer>(
            platform::FindSharedLibrarySymbol(m_plugIn, ImagePlugInFreeBufferName));
        const bool complete = m_isSupported && m_getPictureInfo && m_getPicture && m_freeBuffer;
        if (complete && file.GetMemory() && file.GetSize() >= ImagePlugInHeadSize
            && m_isSupported(nullptr, file.GetMemory()) != 0) {
            m_file = &file;
            return 0;
        }
    }
    Release();
    return 1;
}

bool CPictureLoader::CompressedHeader(uint32_t* flag, uint32_t* rawSize, uint32_t* storedSize) const
{
    if (!m_compressed || !m_file || !m_file->GetMemory() || m_file->GetSize() < CompressedHeaderSize) return false;
    const uint8_t* data = m_file->GetMemory();
    const uint64_t available = m_file->GetSize() - CompressedHeaderSize;
    *flag = Read32(data + 12);
    *rawSize = Read32(data + 16);
    *storedSize = Read32(data + 20);
    if (!platform::IsAcceptedPictureSize(m_compressedWidth, m_compressedHeight)) return false;
    if (uint64_t(*rawSize) != uint64_t(m_compressedWidth) * uint64_t(m_compressedHeight) * 4) return false;
    if (*storedSize > available) return false;
    if (*flag == 0) return *storedSize >= *rawSize;
    return *rawSize <= CLZSS::MaxExpandedSize(*storedSize);
}

int CPictureLoader::GetSize(int* width, int* height)
{
    if (m_bmpHeader) {
        DibView dib;
        if (!ParseBmp(m_file, dib)) return 1;
        *width = dib.width;
        *height = dib.height;
        return 0;
    }
    if (m_compressed) {
        uint32_t flag, rawSize, storedSize;
        if (!CompressedHeader(&flag, &rawSize, &storedSize)) return 1;
        *width = m_compressedWidth;
        *height = m_compressedHeight;
        return 0;
    }
    if (m_picture) {
        *width = m_picture->width;
        *height = m_picture->height;
        return 0;
    }
    if (m_plugIn) {
        ImagePlugInInfo info{};
        if (m_getPictureInfo(m_file->GetMemory(), m_file->GetSize(), 1, &info) != 0
            || !platform::IsAcceptedPictureSize(info.width, info.height))
            return 1;
        *width = info.width;
        *height = info.height;
        return 0;
    }
    return 1;
}

int CPictureLoader::Render(HDC dc)
{
    if (!dc || !dc->IsCreated()) return 1;
    if (m_bmpHeader) {
        DibView dib;
        return ParseBmp(m_file, dib) && dib.Draw(*dc) ? 0 : 1;
    }
    if (m_picture)
        return ConvertRows(m_picture->rows.data(), size_t(m_picture->width) * 3, RGB888, m_picture->width,
                           m_picture->height, *dc)
                   ? 0
                   : 1;
    if (m_plugIn) return RenderPlugIn(dc);
    return 1;
}

int CPictureLoader::RenderPlugIn(HDC dc)
{
    FreePicture();
    if (m_getPicture(m_file->GetMemory(), m_file->GetSize(), 1, &m_plugInInfo, &m_plugInBits, nullptr, 0) != 0) {
        Release();
        return 1;
    }
    // The plug-in's answer is checked like a file: both buffers must hold what
    // the header claims.
    DibView dib;
    const bool drawn = m_plugInInfo && m_plugInBits && m_plugInInfo->data && m_plugInBits->data
                       && DibView::Parse(m_plugInInfo->data, m_plugInInfo->size, m_plugInBits->data,
                                         m_plugInBits->size, dib)
                       && dib.Draw(*dc);
    FreePicture();
    if (!drawn) {
        Release();
        return 1;
    }
    return 0;
}

int CPictureLoader::CopyTo(CSurfaceInfo* surface)
{
    if (m_bmpHeader) return CopyToSurface(surface);
    if (m_compressed) return CopyAlphaToSurface(surface);
    return -1;
}

int CPictureLoader::CopyToSurface(CSurfaceInfo* surface)
{
    DibView dib;
    if (!ParseBmp(m_file, dib)) return 3;
    if (dib.compression != DibView::Rgb) return 2;
    if (dib.bitCount != 16 && dib.bitCount != 24) return 3;
    return dib.Draw(*surface) ? 0 : 3;
}

int CPictureLoader::CopyAlphaToSurface(CSurfaceInfo* surface)
{
    uint32_t flag, rawSize, storedSize;
    if (!CompressedHeader(&flag, &rawSize, &storedSize)) return -1;
    const uint8_t* stored = m_file->GetMemory() + CompressedHeaderSize;
    const int w = m_compressedWidth, h = m_compressedHeight;
    if (flag == 0) return ConvertRows(stored, size_t(w) * 4, ARGB8888, w, h, *surface) ? 0 : 3;

    const auto codec = std::make_unique<CLZSS>();
    if (surface->GetType() == ARGB8888 && surface->GetPitch() == w * 4 && surface->GetWidth() == w
        && surface->GetHeight() >= h)
        return codec->DecodeInto(stored, storedSize, surface->GetPixelBytes(), rawSize) == 0 ? 0 : 3;
    std::vector<uint8_t> raw;
    try {
        raw.resize(rawSize);
    } catch (const std::bad_alloc&) {
        return 3;
    }
    if (codec->DecodeInto(stored, storedSize, raw.data(), rawSize) != 0) return 3;
    return ConvertRows(raw.data(), size_t(w) * 4, ARGB8888, w, h, *surface) ? 0 : 3;
}

int CPictureLoader::GetPalette(PALETTEENTRY* table)
{
    if (!m_bmpHeader) return 1;
    for (int i = 0; i < 10; ++i) {
        table[i] = {uint8_t(i), 0, 0, PC_EXPLICIT};
        table[255 - i] = {uint8_t(255 - i), 0, 0, PC_EXPLICIT};
    }
    DibView dib;
    uint32_t count = 0;
    if (ParseBmp(m_file, dib)) {
        switch (dib.bitCount) {
        case 1: count = 2; break;
        case 2: count = 4; break;
        case 4: count = 16; break;
        case 8: count = 236; break;
        default: break;
        }
        // Only the colours the file holds; the rest stay unused.
        count = std::min(count, dib.colourCount);
    }
    for (uint32_t i = 0; i < 236; ++i) {
        if (i < count) {
            const uint8_t* quad = dib.colours + i * 4;
            table[10 + i] = {quad[2], quad[1], quad[0], PC_RESERVED | PC_NOCOLLAPSE};
        } else {
            table[10 + i] = {0, 0, 0, 0};
        }
    }
    return 0;
}

void CPictureLoader::FreePicture()
{
    if (m_freeBuffer) {
        if (m_plugInBits) m_freeBuffer(m_plugInBits);
        if (m_plugInInfo) m_freeBuffer(m_plugInInfo);
    }
    m_plugInBits = nullptr;
    m_plugInInfo = nullptr;
}

void CPictureLoader::FreePlugIn()
{
    // The buffers go back to the plug-in before it is unloaded.
    FreePicture();
    if (m_plugIn) platform::FreeSharedLibrary(m_plugIn);
    m_plugIn = nullptr;
    m_isSupported = nullptr;
    m_getPictureInfo = nullptr;
    m_getPicture = nullptr;
    m_freeBuffer = nullptr;
}

int CPictureLoader::Release()
{
    m_bmpHeader = nullptr;
    if (m_picture) {
        // A decoded picture is owned here alone: nothing else holds it.
        m_picture.reset();
        return 0;
    }
    FreePlugIn();
    m_compressedWidth = 0;
    m_compressedHeight = 0;
    m_compressed = 0;
    m_file = nullptr;
    return 0;
}

} // namespace kivotasuGameKit
