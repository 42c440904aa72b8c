#pragma once

namespace platform {

// The per-thread component-library initialisation that the wrappers of the
// Windows objects expect. Nothing on Linux needs it, so it only counts; a test
// can make it fail.
int ComInitialize();  // 0 on success
void ComUninitialize();
// How many initialisations the calling thread holds.
int ComInitializeDepth();
void SetComInitializeFailure(bool fail);

} // namespace platform
