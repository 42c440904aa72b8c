#include "script/InputState.h"

CInputState& CInputState::GetInstance()
{
    static CInputState instance;
    return instance;
}
