#include "script/lang/Set.h"

CSet::CSet() : m_impl(new CSet_Implement) {}

CSet& CSet::GetInstance()
{
    static CSet instance;
    return instance;
}
