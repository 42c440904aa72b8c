#pragma once

#include "frame/ThreadLocal.h"

namespace kivotasuGameKit {

namespace KTL {
class CThread;
}

// The SDK thread object running on each thread; the process entry thread is
// entered with none.
extern CThreadLocal<KTL::CThread*> CurrentThreadMap;

} // namespace kivotasuGameKit
