#include "script/engine/MouseCursor.h"

#include "frame/AppManager.h"
#include "frame/ErrorLog.h"
#include "frame/file/File.h"
#include "frame/file/FileWriter.h"
#include "platform/Clock.h"
#include "script/lang/SavedValue.h"

using kivotasuGameKit::CAppManager;
using kivotasuGameKit::CTextString;

namespace {

constexpr std::array<const char*, 3> KindNames = {"C", "L", "P"};

} // namespace

CMouseCursor::CMouseCursor()
{
    CAppManager::GetInstance()->Hook(this);
}

CMouseCursor::~CMouseCursor()
{
    for (std::size_t kind = 0; kind < m_handles.size(); ++kind) Release(kind);
    CAppManager::GetInstance()->Unhook(this);
}

void CMouseCursor::Release(std::size_t kind)
{
    if (m_handles[kind] && m_kind == int(kind)) SetArrowCursor();
    if (m_handles[kind]) platform::Cursors().Destroy(m_handles[kind]);
    m_handles[kind] = 0;
    m_unreadable[kind] = false;
}

std::intptr_t CMouseCursor::WndProc(platform::WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t)
{
    switch (message) {
    case platform::WM_LBUTTONDOWN:
        m_leftHeld = 1;
        m_leftDown = 1;
        m_leftUp = 0;
        break;
    case platform::WM_LBUTTONUP:
        m_leftHeld = 0;
        m_leftUp = 1;
        break;
    case platform::WM_RBUTTONDOWN:
        m_rightDown = 1;
        m_rightUp = 0;
        break;
    case platform::WM_RBUTTONUP:
        m_rightUp = 1;
        break;
    case platform::WM_MOUSEWHEEL:
        m_wheel = platform::HighWord(static_cast<std::intptr_t>(wParam));
        break;
    default:
        break;
    }
    return 0;
}

bool CMouseCursor::Take(std::uint8_t& flag)
{
    bool set = flag != 0;
    flag = 0;
    return set;
}

std::int32_t CMouseCursor::TakeWheel()
{
    std::int32_t wheel = m_wheel;
    m_wheel = 0;
    return wheel;
}

platform::Point CMouseCursor::GetPos() const
{
    return platform::Windows().GetCursorPos(CAppManager::GetInstance()->GetHWnd());
}

void CMouseCursor::SetPos(platform::Point client)
{
    platform::Windows().SetCursorPos(CAppManager::GetInstance()->GetHWnd(), client);
}

bool CMouseCursor::HasInput()
{
    platform::Point now = GetPos();
    bool moved = now.x != m_last.x || now.y != m_last.y;
    m_last = now;
    return moved || m_leftDown || m_rightDown || m_leftUp || m_rightUp;
}

void CMouseCursor::Load(int kind)
{
    if (kind == 0 && m_files[0].IsEmpty()) kind = 1;
    if (kind == 1 && m_files[1].IsEmpty()) kind = 2;
    const std::size_t slot = static_cast<std::size_t>(kind);
    if (m_files[slot].IsEmpty()) {
        SetArrowCursor();
        return;
    }
    m_kind = kind;
    // A file that could not be read is tried again only once registered anew:
    // every wait loads its cursor.
    if (!m_handles[slot] && !m_unreadable[slot]) {
        kivotasuGameKit::CFile file;
        platform::CursorAnimation animation;
        if (file.Read(m_files[slot].GetStr(), kivotasuGameKit::FileKind::Picture) == platform::ReadResult::Done &&
            platform::ReadCursorFile(file.GetMemory(), file.GetSize(), animation))
            m_handles[slot] = platform::Cursors().Create(animation);
        if (!m_handles[slot]) {
            m_unreadable[slot] = true;
            kivotasuGameKit::ErrorLog.Out("CMouseCursor::Loadでカーソル%sを読めない", m_files[slot].c_str());
        }
    }
    if (m_handles[slot]) platform::Cursors().Show(m_handles[slot]);
    else platform::Cursors().ShowSystem(platform::SystemCursor::Wait);
}

void CMouseCursor::SetArrowCursor()
{
    m_kind = Arrow;
    platform::Cursors().ShowSystem(platform::SystemCursor::Arrow);
}

void CMouseCursor::Animate()
{
    platform::Cursors().Animate(platform::Clock().Now());
}

void CMouseCursor::Reset()
{
    for (std::size_t kind = 0; kind < m_files.size(); ++kind) {
        Release(kind);
        m_files[kind].Clear();
    }
    SetArrowCursor();
}

bool CMouseCursor::Register(const CTextString& name, const CTextString& file)
{
    for (std::size_t kind = 0; kind < KindNames.size(); ++kind) {
        if (name.GetStr() == KindNames[kind]) {
            if (m_files[kind] != file) Release(kind);
            m_files[kind] = file;
            return true;
        }
    }
    return false;
}

void CMouseCursor::WriteSave(kivotasuGameKit::CTextFileWriter& writer) const
{
    for (std::size_t kind = 0; kind < KindNames.size(); ++kind) {
        if (m_files[kind].IsEmpty()) continue;
        CTextString line("[CURSOR");
        line.AppendAttribute("NAME", CTextString(KindNames[kind]));
        AppendSavedAttribute(line, "FILE", m_files[kind]);
        line += CTextString("]\n");
        writer.Write(line);
    }
}
