#include "frame/file/File.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "frame/file/Scramble.h"
#include "platform/FileSystem.h"

namespace kivotasuGameKit {

namespace {

bool IsLineEnd(const std::uint8_t* p, const std::uint8_t* end) { return p[0] == '\r' && p + 1 < end && p[1] == '\n'; }

const std::uint8_t* FindLineEnd(const std::uint8_t* p, const std::uint8_t* end)
{
    while (p < end && !IsLineEnd(p, end)) ++p;
    return p;
}

int WriteText(std::FILE* stream, const std::string& text)
{
    return std::fprintf(stream, "%s", text.c_str()) < 0 ? -1 : 0;
}

} // namespace

CFile::~CFile() { CloseAll(); }

int CFile::Open(const std::string& name, const std::string& mode)
{
    Close();
    const std::string path = NormalizePath(name);
    std::FILE* stream = platform::FileSystem().OpenStream(path, mode);
    if (!stream) return 1;
    m_file = stream;
    m_name = path;
    return 0;
}

int CFile::Write(const std::string& name, const void* buffer, std::uint32_t size)
{
    std::unique_ptr<platform::IWriteFile> out = platform::FileSystem().CreateWrite(NormalizePath(name));
    if (!out) return 1;
    if (!out->Write(buffer, size)) return 2;
    return out->Commit() ? 0 : 3;
}

int CFile::Out(const std::string& text)
{
    if (!m_file) return -1;
    return WriteText(m_file, text);
}

int CFile::Close()
{
    if (m_file) {
        const int result = std::fclose(m_file);
        m_file = nullptr;
        return result;
    }
    ReleaseImage();
    m_unread.reset();
    if (m_temporary) {
        m_temporary = false;
        Delete(m_name);
    }
    m_fromArchive = false;
    m_name.clear();
    return 0;
}

void CFile::CloseAll()
{
    if (m_file) Close();
    Close();
}

void CFile::ReleaseImage()
{
    if (!m_borrowed) delete[] m_data;
    m_data = nullptr;
    m_size = 0;
    m_pos = nullptr;
    m_borrowed = false;
    m_scrambled = false;
}

std::FILE* CFile::GetFilePtr() { return m_file; }

platform::ReadResult CFile::Read(const std::string& name, FileKind kind, ReadFailure* failure)
{
    const std::uint64_t bound = MostBytes(kind);
    std::uint64_t size = 0;
    ReadFailure failed = ReadFailure::None;
    const platform::ReadResult result = InnerRead(*this, name, bound, &size, &failed);
    if (failed == ReadFailure::OverBound) SayOverBound("ファイルが大きすぎて読めません: ", NormalizePath(name), size, bound);
    if (failure) *failure = failed;
    return result;
}

platform::ReadResult CFile::ReadAtMost(const std::string& name, std::uint64_t mostBytes, std::uint64_t& size,
                                       ReadFailure* failure)
{
    return InnerRead(*this, name, mostBytes, &size, failure);
}

void CFile::TakeImage(CFile& from)
{
    CloseAll();
    m_data = std::exchange(from.m_data, nullptr);
    m_size = std::exchange(from.m_size, 0);
    m_pos = std::exchange(from.m_pos, nullptr);
    m_name = std::move(from.m_name);
    m_scrambled = std::exchange(from.m_scrambled, false);
    m_temporary = std::exchange(from.m_temporary, false);
    m_fromArchive = std::exchange(from.m_fromArchive, false);
    m_borrowed = std::exchange(from.m_borrowed, false);
    m_unread = std::move(from.m_unread);
    from.m_name.clear();
}

std::string CFile::GetName() const { return m_name; }

std::string CFile::GetPureFileNameOfName() const { return GetPureFileName(m_name); }

std::string CFile::GetSuffixOfName() const { return GetSuffix(m_name); }

std::uint8_t* CFile::GetMemory() const
{
    if (!m_data) return nullptr;
    return m_scrambled ? m_data + ScrambleMagicSize : m_data;
}

std::uint32_t CFile::GetSize() const { return m_scrambled ? m_size - std::uint32_t(ScrambleMagicSize) : m_size; }

int CFile::ReadLine(std::string& out)
{
    if (!m_data) return 3;
    const std::uint8_t* end = m_data + m_size;
    if (m_pos >= end) {
        out.clear();
        return 1;
    }
    const std::uint8_t* lineEnd = FindLineEnd(m_pos, end);
    out.assign(reinterpret_cast<const char*>(m_pos), std::size_t(lineEnd - m_pos));
    // A last line without CR LF leaves the position at the end, not past it.
    m_pos = lineEnd == end ? end : lineEnd + 2;
    return 0;
}

int CFile::ReadLineToBuffer(char* buffer, int size)
{
    if (!m_data) return 3;
    const std::uint8_t* end = m_data + m_size;
    if (m_pos >= end) {
        if (size >= 1) buffer[0] = 0;
        return 1;
    }
    if (size <= 1) {
        if (size == 1) buffer[0] = 0;
        return 2;
    }
    const std::uint8_t* p = m_pos;
    const std::uint8_t* stop = p + std::min<std::size_t>(std::size_t(size - 1), std::size_t(end - p));
    while (p < stop && !IsLineEnd(p, end)) ++p;
    std::memcpy(buffer, m_pos, std::size_t(p - m_pos));
    buffer[p - m_pos] = 0;
    if (p == end) {
        m_pos = end;
        return 0;
    }
    if (IsLineEnd(p, end)) {
        m_pos = p + 2;
        return 0;
    }
    m_pos = p;
    return 2;
}

int CFile::ReadQuotedText(char* out, int size)
{
    constexpr int LineSize = 256;
    std::vector<char> line(std::size_t(std::max(size, LineSize)));
    std::string text;
    int result = 1;
    if (ReadLineToBuffer(line.data(), LineSize) == 0 && std::strcmp(line.data(), "\"END\"") != 0) {
        text = line[0] ? line.data() + 1 : "";
        result = 0;
        while (text.empty() || text.back() != '"') {
            if (ReadLineToBuffer(line.data(), LineSize) != 0) {
                result = 1;
                break;
            }
            text += '\n';
            text += line.data();
        }
        if (result == 0) text.pop_back();
    }
    std::memcpy(out, text.c_str(), text.size() + 1);
    return result;
}

void CFile::Rewind() { m_pos = GetMemory(); }

int CFile::ReadBytes(void* buffer, std::uint32_t n)
{
    if (!m_data) return 2;
    if (n > std::size_t(m_data + m_size - m_pos)) return 1;
    std::memcpy(buffer, m_pos, n);
    m_pos += n;
    return 0;
}

int CFile::WriteTo(const std::string& name) { return Write(name, GetMemory(), GetSize()); }

int CFile::Encode()
{
    if (!m_data || m_scrambled || HasScrambleMagic(m_pos, std::size_t(m_data + m_size - m_pos))) return 1;
    if (m_size > UINT32_MAX - ScrambleMagicSize - 1) return 1;
    const std::uint32_t size = m_size + std::uint32_t(ScrambleMagicSize);
    std::uint8_t* block = new (std::nothrow) std::uint8_t[std::size_t(size) + 1];
    if (!block) return 1;
    std::memcpy(block, ScrambleMagic, ScrambleMagicSize);
    Scramble(m_data, block + ScrambleMagicSize, m_size);
    block[size] = 0;
    CloseAll();
    m_data = block;
    m_size = size;
    m_pos = block;
    return 0;
}

int CFile::Delete(const std::string& name)
{
    if (name.empty()) return -1;
    return platform::FileSystem().Delete(NormalizePath(name)) ? 0 : 1;
}

int CFile::CreateTemporary(bool force)
{
    if (!m_data && !force) return 1;
    // An unscrambled image differs from its file on disk.
    const bool fromDisk = m_data && !m_fromArchive && !m_borrowed && !m_scrambled && !m_name.empty();
    if (fromDisk && !force) {
        std::string name = m_name;
        CloseAll();
        m_name = std::move(name);
        return 0;
    }
    std::string temporary;
    if (GetTemporaryFileName(temporary) != 0) return 2;
    if (WriteTo(temporary) != 0) {
        platform::FileSystem().Delete(temporary);
        return 2;
    }
    CloseAll();
    m_temporary = true;
    m_name = std::move(temporary);
    return 0;
}

platform::ReadResult CFile::ReadToVector(const std::string& name, FileKind kind, std::vector<std::uint8_t>& out)
{
    const platform::ReadResult result = Read(name, kind);
    if (result == platform::ReadResult::Done) out.assign(GetMemory(), GetMemory() + GetSize());
    return result;
}

int CFile::WriteStrings(const std::string& name, const std::vector<std::string>& strings)
{
    std::FILE* stream = platform::FileSystem().OpenStream(NormalizePath(name), "w");
    if (!stream) return 1;
    int result = 0;
    for (const std::string& text : strings) {
        if (WriteText(stream, text) != 0) {
            result = 2;
            break;
        }
    }
    if (std::fclose(stream) != 0) result = 2;
    return result;
}

int CFile::WriteVector(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    return Write(name, bytes.data(), std::uint32_t(bytes.size()));
}

bool IsFileExist(const char* name) { return name && *name && platform::FileSystem().Exists(name); }

bool IsFileExist(const CTextString& name) { return IsFileExist(name.c_str()); }

} // namespace kivotasuGameKit
