#include "frame/ImeSwitch.h"

#include "platform/TextInput.h"

namespace kivotasuGameKit {

namespace {

class CImeWindowMapHolder : public CSingleton<CImeWindowMapHolder> {
public:
    CImeWindowMap map;

private:
    friend class CSingleton<CImeWindowMapHolder>;
    CImeWindowMapHolder() = default;
};

} // namespace

CImeWindowMap* GetImeWindowMap()
{
    CImeWindowMapHolder* holder = CImeWindowMapHolder::GetInstance();
    return holder ? &holder->map : nullptr;
}

void ReleaseImeWindowMap()
{
    CImeWindowMapHolder::Release();
}

void CImeSwitch::On() { Switch(SwitchedOn); }

void CImeSwitch::Off() { Switch(SwitchedOff); }

void CImeSwitch::Switch(State state)
{
    if (m_state == state) return;
    m_state = state;
    CImeWindowMap* map = GetImeWindowMap();
    const platform::WindowHandle window = map ? map->Find() : 0;
    if (window == 0) return;
    if (state == SwitchedOn) platform::TextInput().Start(window);
    else platform::TextInput().Stop(window);
}

} // namespace kivotasuGameKit
