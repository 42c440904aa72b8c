#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>

#include "platform/CloseLatch.h"
#include "platform/HostFileSystem.h"
#include "platform/ServiceSlot.h"

namespace platform {
namespace {

ServiceSlot<IFileSystem, HostFileSystem>& Slot()
{
    static ServiceSlot<IFileSystem, HostFileSystem> slot;
    return slot;
}

const char* JapaneseReason(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT: return "ディスクの空き領域が足りません";
    case EROFS: return "読み取り専用のファイルシステムです";
    case EACCES:
    case EPERM: return "書き込みが許されていません";
    case EISDIR: return "同じ名前のフォルダがあります";
    case ENOENT: return "フォルダがありません";
    case EIO: return "ディスクの読み書きに失敗しました";
    default: return nullptr;
    }
}

} // namespace

ReadResult IReadFile::Read(void* buffer, std::size_t n, std::size_t* read)
{
    auto* bytes = static_cast<char*>(buffer);
    for (std::size_t done = 0; done < n;) {
        if (done > 0 && CloseAsked()) {
            if (read)
                *read = done;
            return ReadResult::Interrupted;
        }
        const std::size_t chunk = std::min(n - done, ChunkBytes);
        if (const ReadResult result = ReadChunk(bytes + done, chunk); result != ReadResult::Done)
            return result;
        done += chunk;
    }
    return ReadResult::Done;
}

bool IReadFile::Link(std::string_view, std::error_code& why)
{
    why = std::make_error_code(std::errc::operation_not_supported);
    return false;
}

std::string FailureText(std::error_code why)
{
    const char* japanese = why.category() == std::generic_category() ? JapaneseReason(why.value()) : nullptr;
    return japanese ? std::string(japanese) + " (" + why.message() + ")" : why.message();
}

IFileSystem& FileSystem()
{
    return Slot().Get();
}

void InstallFileSystem(std::unique_ptr<IFileSystem> fileSystem)
{
    Slot().Install(std::move(fileSystem));
}

} // namespace platform
