#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <system_error>

#include "frame/EScript.h"
#include "frame/TextString.h"

namespace platform {
class IWriteFile;
}

namespace kivotasuGameKit {

// A file the writer could not open or put in place: the writer's message and
// the system's reason.
class EUnwritable : public EScript {
public:
    EUnwritable(const CTextString& message, std::error_code why) : EScript(message), m_why(why) {}
    std::error_code Why() const noexcept { return m_why; }

private:
    std::error_code m_why;
};

// Writes saves, option files and captures, throwing EUnwritable on failure. The
// bytes go to a temporary file beside the target that Close puts in its
// place, so a failure or a crash on the way leaves the old file whole. After
// a failed Write, and when destroyed while an exception unwinds, the writer
// keeps the old file too.
class CFileWriter {
public:
    // Creates (or will replace) name as it is given, without normalising. A
    // Write that would make the file hold more than mostBytes (what its reader
    // takes) fails before a byte of it is written: the player writes nothing
    // it would refuse to read.
    explicit CFileWriter(const CTextString& name, std::uint64_t mostBytes = UINT64_MAX);
    CFileWriter(const CFileWriter&) = delete;
    CFileWriter& operator=(const CFileWriter&) = delete;
    ~CFileWriter();

    void Write(const void* data, std::size_t size);
    // The string's bytes, without a terminator.
    void Write(const CTextString& text);
    // Puts the file in place; throws when that fails. Nothing after the first call.
    void Close();

private:
    std::unique_ptr<platform::IWriteFile> m_file;
    int m_uncaughtAtStart;
    std::uint64_t m_mostBytes;
    std::uint64_t m_written = 0;
};

// Owns one CFileWriter for the tag text of saves and option files.
class CTextFileWriter {
public:
    explicit CTextFileWriter(const CTextString& name, std::uint64_t mostBytes = UINT64_MAX);
    CTextFileWriter(const CTextFileWriter&) = delete;
    CTextFileWriter& operator=(const CTextFileWriter&) = delete;
    ~CTextFileWriter();

    void Write(const CTextString& text);
    void WriteBytes(const void* data, std::size_t size);
    // Puts the file in place, throwing when that fails; the destructor
    // otherwise does it and can only log a failure.
    void Close();

private:
    std::unique_ptr<CFileWriter> m_writer;
};

} // namespace kivotasuGameKit
