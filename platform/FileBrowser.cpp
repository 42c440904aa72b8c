#include "platform/FileBrowser.h"

#include "platform/FileSystem.h"
#include "platform/HostPath.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <filesystem>

namespace platform {

namespace fs = std::filesystem;

namespace {

// Whether the host name survives the trip through the program's Shift-JIS.
bool HasSjisForm(std::string_view utf8)
{
    return Cp932ToUtf8(Utf8ToCp932(utf8)) == utf8;
}

bool IsFolder(const std::string& host)
{
    std::error_code error;
    return fs::is_directory(host, error);
}

std::string Parent(const std::string& folder)
{
    const std::string parent = fs::path(folder).parent_path().string();
    return parent.empty() ? "/" : parent;
}

} // namespace

FileBrowser::FileBrowser(const FileDialog& dialog) : m_filters(dialog.filters)
{
    std::optional<std::string> start = ToHostPath(dialog.folder.empty() ? "." : dialog.folder);
    if (!start || !IsFolder(*start))
        start = ToHostPath(FileSystem().CurrentDirectory());
    std::error_code error;
    const fs::path absolute = fs::absolute(start.value_or("/"), error);
    Show(error ? "/" : absolute.lexically_normal().string());
}

void FileBrowser::SetFilter(std::size_t index)
{
    m_filter = index;
    List();
}

void FileBrowser::Enter(std::string_view name)
{
    if (name == "..")
        Up();
    else
        Show((fs::path(m_folder) / name).string());
}

void FileBrowser::Up()
{
    Show(Parent(m_folder));
}

std::optional<std::string> FileBrowser::Accept(std::string_view typed)
{
    m_problemSjis.clear();
    if (typed.empty())
        return std::nullopt;
    const std::string host = typed.front() == '/' ? std::string(typed) : (fs::path(m_folder) / typed).string();
    if (IsFolder(host)) {
        Show(host);
        return std::nullopt;
    }
    std::string internal = ToInternalPath(host);
    if (ToHostPath(internal) != host) {
        m_problemSjis = "この名前は使えません（シフトJISで書けない文字があります）。";
        return std::nullopt;
    }
    return internal;
}

void FileBrowser::Show(const std::string& folder)
{
    std::string normal = fs::path(folder).lexically_normal().string();
    if (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    while (normal != "/" && !IsFolder(normal))
        normal = Parent(normal);
    m_folder = std::move(normal);
    List();
}

void FileBrowser::List()
{
    m_entries.clear();
    const std::string patterns = m_filter < m_filters.size() ? m_filters[m_filter].patterns : "*.*";
    std::error_code error;
    for (fs::directory_iterator it(m_folder, error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.starts_with("."))
            continue;
        std::error_code kindError;
        const bool folder = it->is_directory(kindError);
        if (!folder && !MatchesFilter(name, patterns))
            continue;
        const bool usable = HasSjisForm(name);
        m_entries.push_back({std::move(name), folder, usable});
    }
    std::sort(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) {
        return a.folder != b.folder ? a.folder : a.name < b.name;
    });
}

} // namespace platform
