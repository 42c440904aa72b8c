#include "script/engine/InputState.h"

CInputState& CInputState::GetInstance()
{
    static CInputState instance;
    return instance;
}
