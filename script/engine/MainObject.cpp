#include "script/engine/MainObject.h"

#include "frame/AppManager.h"

CMainObject::CMainObject()
{
    kivotasuGameKit::CAppManager::GetInstance()->SetMyMainObject(this);
}

CMainObject::~CMainObject()
{
    kivotasuGameKit::CAppManager::GetInstance()->ResetMainObject(this);
}
