#include "draw/FastPlane.h"

#include "draw/FastDraw.h"
#include "frame/ErrorLog.h"
#include "platform/PictureDecoder.h"

namespace kivotasuGameKit::Draw {

namespace {

constexpr char NotDefined[] = "#notdefined#";

} // namespace

CFastPlane::CFastPlane(CFastDraw* owner) : m_owner(owner) {}

CFastPlane::~CFastPlane()
{
    m_restoring = false;
    Release();
}

CFastDraw* CFastPlane::GetDraw() const
{
    return m_owner ? m_owner : CFastDrawRegistry::Get();
}

SurfaceType CFastPlane::ScreenType() const
{
    CFastDraw* draw = GetDraw();
    return draw ? draw->GetScreenType() : SurfaceType(0);
}

void CFastPlane::Enlist()
{
    if (m_restoring) return;
    if (CFastDraw* draw = GetDraw()) draw->AddPlane(this);
}

void CFastPlane::InitRecord(void* pixels, int32_t pitch, SurfaceType type)
{
    if (m_refusing) {
        m_surface->SetLocker(CSmartPtr<ISurfaceLocker>(new CDefaultSurfaceLocker));
        m_refusing = false;
    }
    const SIZE size{m_width, m_height};
    m_surface->Init(pixels, pitch, &size, type);
}

bool CFastPlane::GetSize(int* width, int* height)
{
    *width = m_width;
    *height = m_height;
    return !m_surface->IsCreated();
}

int CFastPlane::Resize(int width, int height)
{
    if (width == m_width && height == m_height) return 0;
    return CreateSurface(width, height, false);
}

int CFastPlane::CreateMemorySurface(int width, int height, SurfaceType type)
{
    return InnerCreateMemorySurface(width, height, type, false);
}

int CFastPlane::InnerCreateMemorySurface(int width, int height, SurfaceType type, bool clear)
{
    // A refused size is never the plane's: GetSize and a save would report it.
    if (type < RGB565 || type > ABGR8888 || type == 9) return 1;
    if (!platform::IsAcceptedPictureSize(width, height)) return 1;
    m_ddSurface.reset();
    try {
        m_memory = platform::PixelMemory(size_t(width) * size_t(height) * size_t(BytesPerPixel(type)));
    } catch (const std::bad_alloc&) {
        return 1;
    }
    m_width = width;
    m_height = height;
    InitRecord(m_memory.data(), width * BytesPerPixel(type), type);
    m_hasAlpha = type >= ARGB4565;
    m_ownsMemory = true;
    if (clear) Clear(nullptr);
    Enlist();
    return 0;
}

int CFastPlane::InnerCreateSurface(int width, int height, bool alpha, bool forceDisplay)
{
    Release();
    if (width <= 0 || height <= 0) return 1;
    m_width = width;
    m_height = height;
    const int result = MakeSurface(alpha, forceDisplay);
    if (result) m_width = m_height = 0;
    return result;
}

int CFastPlane::MakeSurface(bool alpha, bool forceDisplay)
{
    const int width = m_width, height = m_height;
    const SurfaceType screen = ScreenType();

    if (alpha) {
        // A screen of no known type leaves no surface to fall back on.
        if (screen < Pal8 || screen > XBGR8888) return 1;
        return InnerCreateMemorySurface(width, height, CSurfaceInfo::ToAlphaType(screen), true);
    }
    if (forceDisplay) m_screenFormatDisplay = true;
    else if (screen == Pal8) return InnerCreateMemorySurface(width, height, RGB555, true);

    CFastDraw* draw = GetDraw();
    int displayWidth = 0, displayHeight = 0;
    if (draw) draw->GetDisplaySize(&displayWidth, &displayHeight);
    if (width > displayWidth || height > displayHeight) return InnerCreateMemorySurface(width, height, screen, true);

    platform::IDisplay* display = draw ? draw->GetDDraw() : nullptr;
    if (!display) return 1;
    // A 24-bit display wants an even width.
    const int surfaceWidth = BytesPerPixel(screen) == 3 && (width & 1) ? width + 1 : width;
    m_ddSurface = display->CreateSurface(surfaceWidth, height);
    if (!m_ddSurface) {
        ErrorLog.Out("CFastPlane::InnerCreateSurfaceのCreateSurfaceに失敗");
        return 2;
    }
    InitSurfaceInfo();
    Clear(nullptr);
    m_hasAlpha = alpha;
    Enlist();
    return 0;
}

int CFastPlane::CreateSurface(int width, int height, bool alpha)
{
    ResetColorKey();
    if (const int result = InnerCreateSurface(width, height, alpha || m_wantsAlpha, false)) return result;
    UpdateColorKey();
    return 0;
}

int CFastPlane::InitSurfaceInfo()
{
    const SurfaceType type = CDirectDrawSurfaceManager::GetSurfaceType(m_ddSurface.get());
    void* pixels = nullptr;
    int pitch = 0;
    if (m_ddSurface && m_ddSurface->Lock(&pixels, &pitch)) {
        // The pointer stays valid after the unlock: the surface is plain memory.
        InitRecord(pixels, pitch, type);
        m_ddSurface->Unlock();
        return 0;
    }
    if (m_lockFailureAllowed) {
        InitRecord(nullptr, 0, type);
        m_surface->SetLocker(CSmartPtr<ISurfaceLocker>(new CRefusingSurfaceLocker));
        m_refusing = true;
    }
    return 1;
}

int CFastPlane::CreatePrimary(bool* attached, int width, int height)
{
    m_lockFailureAllowed = true;
    Release();
    ResetColorKey();
    CFastDraw* draw = GetDraw();
    platform::IDisplay* display = draw ? draw->GetDDraw() : nullptr;
    if (!display) return 1;
    *attached = false;
    if (width == 0 || height == 0) draw->GetDisplaySize(&width, &height);
    m_ddSurface = display->CreatePrimary(width, height);
    if (!m_ddSurface) {
        ErrorLog.Out("CFastPlane::CreatePrimaryに失敗");
        return 1;
    }
    m_width = width;
    m_height = height;
    InitSurfaceInfo();
    if (GetSurfaceType() == Pal8) m_screenFormatDisplay = true;
    UpdateColorKey();
    return 0;
}

int CFastPlane::CreateSecondary(CFastPlane* primary, bool* attached)
{
    Release();
    ResetColorKey();
    CFastDraw* draw = GetDraw();
    if (!draw || !draw->GetDDraw()) return 1;
    if (*attached) {
        // Presents copy; no display here flips an attached back buffer.
        ErrorLog.Out("CFastPlane::CreateSecondaryのGetAttachedSurfaceに失敗");
        *attached = false;
    }
    if (const int result = InnerCreateSurface(primary->m_width, primary->m_height, false, false)) {
        ErrorLog.Out("CFastPlane::CreateSecondaryに失敗");
        return result;
    }
    UpdateColorKey();
    return 0;
}

int CFastPlane::Release()
{
    if (m_ownsMemory) {
        const SurfaceType type = m_surface->GetType();
        if (type < RGB565 || type > ABGR8888 || type == 9)
            ErrorLog.Out("CFastPlane::Releaseで不明サーフェースのリリース");
        m_memory = {};
        m_ownsMemory = false;
    }
    m_ddSurface.reset();
    m_fileName.clear();
    m_width = m_height = 0;
    m_screenFormatSubstitute = false;
    m_surface->Clear();
    if (!m_restoring)
        if (CFastDraw* draw = GetDraw()) draw->RemovePlane(this);
    return 0;
}

int CFastPlane::Load(const std::string& fileName)
{
    Release();
    ResetColorKey();
    const int result = InnerLoad(fileName);
    m_fileName = fileName;
    return result;
}

int CFastPlane::InnerLoad(const std::string& fileName)
{
    const bool keyByPosition = m_keyByPosition;
    const int32_t keyX = m_keyX, keyY = m_keyY;
    const uint32_t keyValue = m_keyValue;
    const std::string name = fileName;
    Release();
    m_keyByPosition = keyByPosition;
    m_keyX = keyX;
    m_keyY = keyY;
    m_keyValue = keyValue;
    m_fileName = name;

    if (name == NotDefined) return 0;
    SurfaceType type = ScreenType();
    m_screenFormatSubstitute = false;
    if (m_wantsAlpha) {
        type = CSurfaceInfo::ToAlphaType(type);
    } else if (type == Pal8) {
        type = RGB555;
        m_screenFormatSubstitute = true;
    }
    if (const int result = LoadPicture(name, type)) return result;
    UpdateColorKey();
    return 0;
}

bool CFastPlane::Fits(SurfaceType type, SurfaceType screen) const
{
    switch (screen) {
    case Pal8: return type == RGB555 || type == ARGB4555 || (type == Pal8 && m_screenFormatDisplay);
    case RGB555:
        if (m_screenFormatSubstitute && !m_fileName.empty()) return false;
        return type == RGB555 || type == ARGB4555;
    case RGB565: return type == RGB565 || type == ARGB4565;
    case RGB888: case BGR888: case XRGB8888: case XBGR8888:
        return type == screen || type == CSurfaceInfo::ToAlphaType(screen);
    default: return true;
    }
}

int CFastPlane::RestoreSurface()
{
    m_restoring = true;
    int result = 0;
    const SurfaceType type = GetSurfaceType();
    const bool lost = m_ddSurface && m_ddSurface->IsLost();
    if (type != 0 && (lost || !Fits(type, ScreenType()))) {
        if (m_fileName.empty()) {
            if (m_width != 0 && m_height != 0)
                result = InnerCreateSurface(m_width, m_height, m_hasAlpha, m_screenFormatDisplay);
        } else {
            result = InnerLoad(m_fileName);
        }
        UpdateColorKey();
        result |= OnRestored();
    }
    m_restoring = false;
    return result;
}

HDC CFastPlane::BeginPaint()
{
    if (m_painting) {
        ErrorLog.Out("CFastPlane::EndPaintが呼び出されていないのにBeginPaintが呼び出された");
        return nullptr;
    }
    if (!m_ddSurface || !m_surface->IsCreated() || !m_surface->GetPixels()) return nullptr;
    m_painting = true;
    return m_surface.Get();
}

void CFastPlane::EndPaint()
{
    if (!m_painting) {
        ErrorLog.Out("CFastPlane::BeginPaintが呼び出されていないのにEndPaintが呼び出された");
        return;
    }
    m_painting = false;
}

CSmartPtr<CPlaneBase> CFastPlane::CreateNewPlane()
{
    return CSmartPtr<CPlaneBase>(new (std::nothrow) CFastPlane(GetDraw()));
}

} // namespace kivotasuGameKit::Draw
