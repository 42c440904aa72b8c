#pragma once
// What every wave buffer is made with: its control flags and the reader
// factory that opens the sounds' files. Nothing in the player changes a flag.

#include "frame/SmartPtr.h"
#include "sound/WaveStreamFactory.h"

namespace kivotasuGameKit {

class CWaveSoundSettings {
public:
    CWaveSoundSettings();
    virtual ~CWaveSoundSettings() = default;

    virtual bool SetGlobalFocus(bool on) { return m_globalFocus = on; }
    virtual bool IsGlobalFocus() const { return m_globalFocus; }
    virtual bool SetCtrlPan(bool on) { return m_ctrlPan = on; }
    virtual bool IsCtrlPan() const { return m_ctrlPan; }
    virtual bool SetCtrlFrequency(bool on) { return m_ctrlFrequency = on; }
    virtual bool IsCtrlFrequency() const { return m_ctrlFrequency; }
    virtual void SetStreamFactory(CSmartPtr<CWaveStreamFactory> factory) { m_streamFactory = factory; }
    virtual CSmartPtr<CWaveStreamFactory> GetStreamFactory() const { return m_streamFactory; }

    // Points settings at a new default object.
    static void MakeDefault(CSmartPtr<CWaveSoundSettings>& settings);

private:
    bool m_globalFocus = false;
    bool m_ctrlPan = false;
    bool m_ctrlFrequency = false;
    CSmartPtr<CWaveStreamFactory> m_streamFactory;
};

} // namespace kivotasuGameKit
