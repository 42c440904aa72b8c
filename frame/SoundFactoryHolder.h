#pragma once

#include "frame/SmartPtr.h"
#include "frame/TextString.h"
#include "frame/ThreadLocal.h"
#include "sound/ISound.h"
#include "sound/ISoundFactory.h"

namespace kivotasuGameKit {

// Each thread's sound factory. A factory enters itself (without ownership) when
// it is made; sounds are then made on that thread through CreateSound.
class CSoundFactoryHolder : public CThreadLocal<CSmartPtr<ISoundFactory>> {
public:
    // The calling thread's cell, made empty on first use.
    static CSmartPtr<ISoundFactory>& GetMyEntry();
    // 0 when a sound was stored in out, 1 when not; throws CRuntimeException
    // when the thread has no factory.
    static int CreateSound(CSmartPtr<ISound>& out, const CTextString& fileName);
};

extern CSoundFactoryHolder SoundFactoryHolder;

} // namespace kivotasuGameKit
