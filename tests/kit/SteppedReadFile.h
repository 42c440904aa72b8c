#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <system_error>

#include "platform/FileSystem.h"

// Another file read through, each chunk asked of it handed to the step first:
// the step counts the bytes, or lets a slow disk's time pass and a close come
// meanwhile. Unless it answers Done, its answer is the chunk's.
class SteppedReadFile : public platform::IReadFile {
public:
    using Step = std::function<platform::ReadResult(std::size_t bytes)>;
    SteppedReadFile(std::unique_ptr<platform::IReadFile> inner, Step step) : m_inner(std::move(inner)), m_step(std::move(step)) {}
    // What a look-up costs, whatever the clock says: the bytes asked, added up.
    static Step Counting(std::uint64_t& asked) { return [&asked](std::size_t n) { return asked += n, platform::ReadResult::Done; }; }

    std::optional<std::uint64_t> Size() override { return m_inner->Size(); }
    bool Seek(std::uint64_t offset) override { return m_inner->Seek(offset); }
    bool Close() override { return m_inner->Close(); }
    bool Link(std::string_view to, std::error_code& why) override { return m_inner->Link(to, why); }

protected:
    platform::ReadResult ReadChunk(void* buffer, std::size_t n) override
    {
        const platform::ReadResult stepped = m_step(n);
        return stepped == platform::ReadResult::Done ? m_inner->Read(buffer, n) : stepped;
    }

private:
    std::unique_ptr<platform::IReadFile> m_inner;
    Step m_step;
};
