#pragma once

#include <cstdint>

#include "frame/ThreadLocal.h"

namespace kivotasuGameKit {

// Each thread's count of component-library initialisations.
using CCOMThreadMap = CThreadLocal<std::int32_t>;

// Initialises the component library once per thread, however many wrappers
// ask: the first Init does it, the Release that brings the count to 0 undoes it.
class CCOMInitializer {
public:
    static void Init();
    static void Release();
};

} // namespace kivotasuGameKit
