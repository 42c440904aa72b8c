#include "draw/KeyInput.h"

#include <cstring>

#include "frame/AppManager.h"
#include "frame/ErrorLog.h"

namespace kivotasuGameKit {

namespace {

bool IsKey(int key) { return key >= 0 && key < 256; }

} // namespace

bool CKeyBase::IsKeyPress(int key)
{
    return IsKey(key) && m_keys[m_current][key] != 0;
}

bool CKeyBase::IsKeyPush(int key)
{
    return IsKey(key) && m_keys[m_current][key] != 0 && m_keys[1 - m_current][key] == 0;
}

int CKeyBase::ResetKey()
{
    std::memset(m_keys, 0, sizeof m_keys);
    return 0;
}

void CKeyBase::HoldCurrent()
{
    std::memcpy(m_keys[1 - m_current], m_keys[m_current], sizeof m_keys[m_current]);
}

CKeyInput::CKeyInput(bool background)
{
    m_device = platform::Keyboards().CreateDevice();
    if (!m_device) {
        ErrorLog.Out("CKeyInput::CKeyInputでDirectInputの初期化CreateDeviceに失敗");
        m_status = 6;
        return;
    }
    if (!m_device->SetCooperativeLevel(CAppManager::GetInstance()->GetHWnd(), background)) {
        ErrorLog.Out("CKeyInput::CKeyInputでDirectInputの初期化SetCooperativeLevelに失敗");
        m_status = 8;
        return;
    }
    CAppManager::GetInstance()->Hook(this);
}

CKeyInput::~CKeyInput()
{
    if (m_status < 3) CAppManager::GetInstance()->Unhook(this);
    if (m_device && m_acquired) m_device->Unacquire();
}

int CKeyInput::Fail(int result)
{
    std::memset(m_keys[m_current], 0, sizeof m_keys[m_current]);
    m_acquired = false;
    return result;
}

int CKeyInput::Input()
{
    if (m_status >= 3) return 1;
    m_current = 1 - m_current;
    if (!m_acquired) {
        if (!m_device->Acquire()) return Fail(1);
        m_acquired = true;
    }
    platform::KeyboardRead read = m_device->GetState(m_keys[m_current]);
    if (read == platform::KeyboardRead::Lost) {
        if (!m_device->Acquire()) return Fail(-1);
        read = m_device->GetState(m_keys[m_current]);
    }
    return read == platform::KeyboardRead::Ok ? 0 : Fail(1);
}

bool CKeyInput::IsKeyPress(int key)
{
    return IsKey(key) && (m_keys[m_current][key] & 0x80) != 0;
}

bool CKeyInput::IsKeyPush(int key)
{
    return IsKey(key) && (m_keys[m_current][key] & 0x80) != 0 && (m_keys[1 - m_current][key] & 0x80) == 0;
}

} // namespace kivotasuGameKit
