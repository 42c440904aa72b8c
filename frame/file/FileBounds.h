#pragma once
// The most bytes the player reads whole of each kind of file, and the one
// line that says a file refused by its size. Every whole read is bounded
// before a byte of it is read: a file named by a script, or one replaced under
// the player, may be of any size, and reading it would hold the memory and the
// thread for as long as it takes.

#include <cstdint>
#include <functional>
#include <string>

#include "frame/TextString.h"

namespace kivotasuGameKit {

enum class FileKind {
    // Scripts, the game-folder script, options, globals and key-value files.
    Text,
    Save,
    // Pictures and cursors.
    Picture,
    // Sounds read into memory rather than streamed from their file.
    Sound,
};

// A text or save of tens of MiB is already absurd (the deepest CALL stack
// saves in some 3.5 MB); a 4096 x 4096 32-bit BMP takes 64 MiB; a CD-quality
// WAVE of 25 minutes takes 256 MiB.
constexpr std::uint64_t MostBytes(FileKind kind)
{
    switch (kind) {
    case FileKind::Text: return std::uint64_t{32} << 20;
    case FileKind::Save: return std::uint64_t{64} << 20;
    case FileKind::Picture: return std::uint64_t{128} << 20;
    case FileKind::Sound: return std::uint64_t{256} << 20;
    }
    return 0;
}

// "<lead><path> は <size> バイトあり、上限の <bound> バイトを超えています。",
// path being the internal one.
CTextString OverBoundText(const CTextString& lead, const std::string& path, std::uint64_t size, std::uint64_t bound);
// Says it as SayRefusal does.
void SayOverBound(const CTextString& lead, const std::string& path, std::uint64_t size, std::uint64_t bound);
// Says why the file layer, or the reader of its kind, refused a file to the
// sink the engine sets (the script-error reporter, which names the tag that
// asked for the file), else to the log and as one stderr line.
void SayRefusal(const CTextString& message);
void SetOverBoundSink(std::function<void(const CTextString&)> sink);

} // namespace kivotasuGameKit
