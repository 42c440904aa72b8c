#include "platform/FileSystem.h"

#include <cerrno>

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
