#pragma once

#include "frame/Mutex.h"
#include "frame/TextString.h"

namespace kivotasuGameKit {

// The single-instance test of the process entry: opens `mutex` under `name`
// (empty: the executable's path with every "\" turned into "?") and is true
// when no other instance holds it. Raising the other instance's window is not
// possible on Linux display servers, so a second instance only ends.
bool IsFirstInstance(KTL::CMutex& mutex, const CTextString& name);

// The name used for an empty one.
CTextString DefaultInstanceName();

} // namespace kivotasuGameKit
