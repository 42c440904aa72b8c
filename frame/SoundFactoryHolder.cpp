#include "frame/SoundFactoryHolder.h"

#include "frame/Exceptions.h"

namespace kivotasuGameKit {

CSoundFactoryHolder SoundFactoryHolder;

CSmartPtr<ISoundFactory>& CSoundFactoryHolder::GetMyEntry()
{
    return SoundFactoryHolder.CThreadLocal::GetMyEntry();
}

int CSoundFactoryHolder::CreateSound(CSmartPtr<ISound>& out, const CTextString& fileName)
{
    out.Release();
    CSmartPtr<ISoundFactory> factory = SoundFactoryHolder.Get();
    if (factory.IsNull()) throw KTL::CRuntimeException("sound-factoryが設定されていない");
    out = factory->CreateSoundByFile(fileName);
    return out.IsNull() ? 1 : 0;
}

} // namespace kivotasuGameKit
