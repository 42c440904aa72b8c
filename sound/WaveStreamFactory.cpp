#include "sound/WaveStreamFactory.h"

#include "frame/file/File.h"
#include "frame/file/ObjectCreater.h"
#include "sound/ACMStream.h"
#include "sound/NullWaveStream.h"
#include "sound/WaveStream.h"

namespace kivotasuGameKit {

namespace {

// The reader under an owning pointer when it opens the file.
CSmartPtr<IWaveStream> Opened(IWaveStream* reader, const CTextString& fileName)
{
    CSmartPtr<IWaveStream> stream(reader);
    if (reader && stream->Open(fileName) != 0)
        stream.Release();
    return stream;
}

} // namespace

CWaveStreamFactory::CWaveStreamFactory() : m_keyValueFile(new CKeyValueFile) {}

CSmartPtr<IWaveStream> CWaveStreamFactory::CreateStream(const CTextString& fileName)
{
    std::string ext = CFile::GetSuffix(CFile::NormalizePath(fileName.GetStr()));
    MakeLower(ext);
    if (ext == "wav")
        if (CSmartPtr<IWaveStream> stream = Opened(new CWaveStream, fileName))
            return stream;
    for (const auto& [key, className] : m_keyValueFile->GetMap()) {
        std::string lowerKey = key;
        MakeLower(lowerKey);
        if (lowerKey != ext)
            continue;
        auto* reader = static_cast<IWaveStream*>(CObjectCreater::GetInstance()->Create(className));
        if (CSmartPtr<IWaveStream> stream = Opened(reader, fileName))
            return stream;
    }
    if (CSmartPtr<IWaveStream> stream = Opened(new CACMStream, fileName))
        return stream;
    return CSmartPtr<IWaveStream>(new CNullWaveStream);
}

} // namespace kivotasuGameKit
