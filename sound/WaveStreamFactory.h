#pragma once

#include "frame/SmartPtr.h"
#include "frame/TextString.h"
#include "sound/IWaveStream.h"
#include "sound/KeyValueFile.h"

namespace kivotasuGameKit {

class IWaveStreamFactory {
public:
    virtual ~IWaveStreamFactory() = default;
    // An open reader for the file, or the null reader: never empty.
    virtual CSmartPtr<IWaveStream> CreateStream(const CTextString& fileName) = 0;
};

// Chooses the reader of a file: the WAVE reader for "wav", then the reader
// classes the list names for the extension, then the compressed-audio reader,
// else the null reader.
class CWaveStreamFactory : public IWaveStreamFactory {
public:
    CWaveStreamFactory();
    CSmartPtr<IWaveStream> CreateStream(const CTextString& fileName) override;
    // Extensions (lower case) to reader class names of the object creator.
    CSmartPtr<CKeyValueFile> GetKeyValueFile() const { return m_keyValueFile; }

private:
    CSmartPtr<CKeyValueFile> m_keyValueFile;
};

} // namespace kivotasuGameKit
