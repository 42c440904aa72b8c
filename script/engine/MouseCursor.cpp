#include "script/engine/MouseCursor.h"

#include "frame/AppManager.h"
#include "frame/file/FileWriter.h"
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
    CAppManager::GetInstance()->Unhook(this);
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
    // Showing a cursor file needs a cursor service of the platform; the
    // registration and the kind in force are what the waits and saves use.
    m_kind = m_files[static_cast<std::size_t>(kind)].IsEmpty() ? Arrow : kind;
}

void CMouseCursor::Reset()
{
    for (CTextString& file : m_files) file.Clear();
    m_kind = Arrow;
}

bool CMouseCursor::Register(const CTextString& name, const CTextString& file)
{
    for (std::size_t kind = 0; kind < KindNames.size(); ++kind) {
        if (name.GetStr() == KindNames[kind]) {
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
