#include "frame/CurrentThreadMap.h"

namespace kivotasuGameKit {

CThreadLocal<KTL::CThread*> CurrentThreadMap;

} // namespace kivotasuGameKit
