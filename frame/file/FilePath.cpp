#include <mutex>

#include "frame/FunctionCallback.h"
#include "frame/InitExitList.h"
#include "frame/file/File.h"
#include "platform/FileSystem.h"

namespace kivotasuGameKit {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Positions of the last two separators at or behind start, stepping over
// two-byte characters.
struct LastSeparators {
    std::size_t last = std::string::npos;
    std::size_t beforeLast = std::string::npos;
};

LastSeparators FindLastSeparators(const std::string& path, std::size_t start = 0)
{
    LastSeparators found;
    for (std::size_t i = start; i < path.size(); i += CharLengthAt(path, i)) {
        if (IsSeparator(path[i])) {
            found.beforeLast = found.last;
            found.last = i;
        }
    }
    return found;
}

bool EndsWithSeparator(const std::string& path)
{
    return !path.empty() && FindLastSeparators(path).last == path.size() - 1;
}

bool IsNetworkPath(const std::string& path) { return path.size() >= 2 && path[0] == '\\' && path[1] == '\\'; }

std::mutex g_currentDirLock;
std::string g_currentDir;

void FillCurrentDir()
{
    g_currentDir = platform::FileSystem().CurrentDirectory();
    if (!g_currentDir.empty() && !EndsWithSeparator(g_currentDir)) g_currentDir += '\\';
}

// The cache holds the current directory of the moment the process started.
class CStartupCallback : public function_callback {
public:
    void operator()() override { CFile::RefreshCurrentDir(); }
};

[[maybe_unused]] const bool g_startupCallbackAdded = [] {
    CInitExitList::GetInstance()->AddStart(CSmartPtr<function_callback>(new CStartupCallback));
    return true;
}();

} // namespace

std::string CFile::NormalizePath(const std::string& path)
{
    std::string result;
    if (IsNetworkPath(path) || path.find(':') != std::string::npos) {
        result = path;
    } else {
        std::string dir = GetCurrentDir();
        std::size_t i = 0;
        for (;;) {
            const std::string_view rest = std::string_view(path).substr(i);
            if (rest.starts_with("..\\") || rest.starts_with("../")) {
                i += 3;
                ToParentFolder(dir);
            } else if (rest.starts_with(".\\") || rest.starts_with("./")) {
                i += 2;
            } else if (!rest.empty() && IsSeparator(rest[0])) {
                i += 1;
            } else {
                break;
            }
        }
        result = dir + path.substr(i);
    }
    for (std::size_t i = 0; i < result.size(); i += CharLengthAt(result, i)) {
        if (result[i] == '/') result[i] = '\\';
    }
    return result;
}

std::string CFile::GetCurrentDir()
{
    std::lock_guard<std::mutex> lock(g_currentDirLock);
    if (g_currentDir.empty()) FillCurrentDir();
    return g_currentDir;
}

void CFile::SetCurrentDir(const std::string& directory)
{
    std::lock_guard<std::mutex> lock(g_currentDirLock);
    if (!directory.empty() && directory[0] == '"') {
        g_currentDir = directory.substr(1);
        if (g_currentDir.find('.') != std::string::npos) ToParentFolder(g_currentDir);
        return;
    }
    g_currentDir = directory;
    if (!EndsWithSeparator(g_currentDir)) g_currentDir += '\\';
}

void CFile::RefreshCurrentDir()
{
    std::lock_guard<std::mutex> lock(g_currentDirLock);
    FillCurrentDir();
}

int CFile::ToParentFolder(std::string& path)
{
    if (path.empty()) return 1;
    // The server of a network path is never cut.
    const LastSeparators found = FindLastSeparators(path, IsNetworkPath(path) ? 2 : 0);
    if (found.last == std::string::npos) {
        path += '\\';
        return 0;
    }
    if (found.last != path.size() - 1) {
        path.resize(found.last + 1);
        return 0;
    }
    if (found.beforeLast == std::string::npos) return 1;
    path.resize(found.beforeLast + 1);
    return 0;
}

std::string CFile::GetPureFileName(const std::string& path)
{
    const std::size_t last = FindLastSeparators(path).last;
    return last == std::string::npos ? path : path.substr(last + 1);
}

std::string CFile::GetSuffix(const std::string& path)
{
    const std::string name = GetPureFileName(path);
    std::size_t dot = std::string::npos;
    for (std::size_t i = 0; i < name.size(); i += CharLengthAt(name, i)) {
        if (name[i] == '.') dot = i;
    }
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

int CFile::GetTemporaryFileName(std::string& name)
{
    std::string made = platform::FileSystem().MakeTemporaryFile();
    if (made.empty()) return 2;
    name = std::move(made);
    return 0;
}

} // namespace kivotasuGameKit
