#pragma once

#include <memory>

#include "platform/HeadlessAudioOutput.h"

namespace testkit {

// The headless audio device as the process's output for its lifetime, then
// none. Install the clock first: the device mixes on it.
class ScopedHeadlessAudio {
public:
    ScopedHeadlessAudio()
    {
        auto output = std::make_unique<platform::HeadlessAudioOutput>();
        m_output = output.get();
        platform::InstallAudio(std::move(output));
    }
    ~ScopedHeadlessAudio() { platform::InstallAudio(nullptr); }
    ScopedHeadlessAudio(const ScopedHeadlessAudio&) = delete;
    ScopedHeadlessAudio& operator=(const ScopedHeadlessAudio&) = delete;

    platform::HeadlessAudioOutput* operator->() const { return m_output; }
    platform::HeadlessAudioOutput& operator*() const { return *m_output; }

private:
    platform::HeadlessAudioOutput* m_output;
};

} // namespace testkit
