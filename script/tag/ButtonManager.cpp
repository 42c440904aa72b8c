#include "script/tag/ButtonManager.h"

#include "draw/KeyInput.h"
#include "frame/EScript.h"
#include "script/engine/InputState.h"
#include "script/engine/KeyCodes.h"

namespace TAG {

void CButtonManager::Reset()
{
    CElementManager::Reset();
    m_inside = false;
}

void CButtonManager::End()
{
    if (!m_inside) throw EScript(kivotasuGameKit::CTextString("BEGINBUTTONがないのにENDBUTTONがきました。"));
    m_inside = false;
}

bool CButtonManager::Update(const CFrameInput& input, kivotasuGameKit::CKeyInput& keys)
{
    if (!input.leftDown && !keys.IsKeyPush(KeyCode::Enter) && !keys.IsKeyPush(KeyCode::PadEnter)) return false;
    CInputState::GetInstance().Event = InputEvent::Decide;
    return true;
}

} // namespace TAG
