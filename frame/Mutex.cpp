#include "frame/Mutex.h"

namespace kivotasuGameKit::KTL {

int CMutex::Open(const CTextString& name) { return m_lock.Open(name.GetStr()); }

void CMutex::Wait() { m_lock.Wait(); }

void CMutex::Release() { m_lock.Close(); }

} // namespace kivotasuGameKit::KTL
