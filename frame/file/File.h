#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "frame/TextString.h"
#include "frame/file/FileBounds.h"
#include "platform/FileSystem.h"

namespace kivotasuGameKit {

class CArchive;
struct ArchiveEntry;

// Why a read failed; the number is the one the logs show.
enum class ReadFailure {
    None = 0,
    // An empty name.
    NoName = -1,
    // Not there (on the disk, in an archive, as a live memory name), or no
    // regular file.
    NotFound = 1,
    SizeUnknown = 2,
    NoMemory = 3,
    // A read failed, or an archive member is corrupt.
    Unreadable = 4,
    CloseFailed = 5,
    BadMemoryName = 6,
    // Larger than the bound asked for.
    OverBound = 7,
};

// A whole file in memory (read from the disk, from an archive member, or a
// block named "!address,size"), served as lines and bytes; or a stdio stream
// for text output. Names are internal paths (Shift-JIS, "Z:\" is the host
// root). Results: 0 is success throughout; a read answers how it ended, and
// why it failed to a caller that asks with failure.
class CFile {
public:
    CFile() = default;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    virtual ~CFile();

    // 1 when the stream cannot be opened. A mode without "b" writes "\n" as "\r\n".
    virtual int Open(const std::string& name, const std::string& mode);
    // Replaces the file whole (the old one survives a failure): 1 cannot
    // create, 2 write failed, 3 close failed.
    virtual int Write(const std::string& name, const void* buffer, std::uint32_t size);
    // -1 when no stream is open or the output failed.
    virtual int Out(const std::string& text);
    // Closes the stream when one is open, and only that; else drops the image
    // (deleting a temporary file) and the name.
    virtual int Close();
    virtual std::FILE* GetFilePtr();
    // See InnerRead, bounded by the kind's MostBytes: a file over it is said
    // (SayOverBound) and refused as OverBound.
    platform::ReadResult Read(const std::string& name, FileKind kind, ReadFailure* failure = nullptr);
    // A file (or member) of more than mostBytes is refused before a byte of it
    // is read or a block made for it: OverBound, with its size in size.
    platform::ReadResult ReadAtMost(const std::string& name, std::uint64_t mostBytes, std::uint64_t& size,
                                    ReadFailure* failure = nullptr);
    // As ReadAtMost, of a file on the disk alone (no archive member, no
    // memory name): checked and read through one open, so the bytes are those
    // of the file whose kind and size were checked, whatever replaces it
    // meanwhile. NotFound with the system's reason in why when it does not
    // open. Interrupted by the close, it holds the bytes read before it, as
    // they are on the disk: what a copy of the file need not read again.
    platform::ReadResult ReadOnDisk(const std::string& name, std::uint64_t mostBytes, std::uint64_t& size,
                                    std::error_code& why, ReadFailure* failure = nullptr);
    // A file on the disk alone opened to be read a piece at a time, its bytes
    // as Read would hold them: a scrambled one's behind its magic,
    // unscrambled. Null when it does not open, or cannot go back to its start.
    static std::unique_ptr<platform::IReadFile> OpenOnDisk(const std::string& name);
    // After a ReadOnDisk the close interrupted: the open it read through,
    // where the bytes held end, for a copy to read the rest of the same file
    // from; null otherwise.
    platform::IReadFile* Unread() const { return m_unread.get(); }
    // Takes over what from has read (from is left empty), as if read here.
    void TakeImage(CFile& from);
    virtual std::string GetName() const;
    virtual std::string GetPureFileNameOfName() const;
    virtual std::string GetSuffixOfName() const;
    // Behind the magic of an unscrambled file.
    virtual std::uint8_t* GetMemory() const;
    virtual std::uint32_t GetSize() const;
    // The bytes up to the next CR LF (a lone CR or LF is an ordinary byte):
    // 0, 1 at the end, 3 nothing loaded.
    virtual int ReadLine(std::string& out);
    // As ReadLine into at most size - 1 bytes and a 0: 2 when the buffer
    // filled before the line ended (the next call goes on with it).
    virtual int ReadLineToBuffer(char* buffer, int size);
    // A text between double quotes over one or more lines, joined by "\n":
    // 0, or 1 at the line "END" in quotes, at the end or on a failed read.
    // out must hold the whole text.
    virtual int ReadQuotedText(char* out, int size);
    virtual void Rewind();
    // 0; 1 when fewer than n bytes remain (nothing is copied); 2 nothing loaded.
    virtual int ReadBytes(void* buffer, std::uint32_t n);
    virtual int WriteTo(const std::string& name);
    // Replaces the image by its scrambled form, magic first: 1 when nothing is
    // loaded or it is scrambled already.
    virtual int Encode();
    // 1 failed, -1 empty name.
    virtual int Delete(const std::string& name);
    // Makes the image available as a file for services that need a path: a
    // file read from the disk serves as it is (unless forced); anything else
    // goes to a temporary file that the next Close deletes. 1 nothing loaded,
    // 2 no temporary file could be made or written.
    virtual int CreateTemporary(bool force);
    virtual platform::ReadResult ReadToVector(const std::string& name, FileKind kind, std::vector<std::uint8_t>& out);
    // Text stream "w", the strings one after another: 1 cannot open, 2 a write failed.
    virtual int WriteStrings(const std::string& name, const std::vector<std::string>& strings);
    virtual int WriteVector(const std::string& name, const std::vector<std::uint8_t>& bytes);

    // Relative paths go on from the cached current directory; "/" becomes "\".
    static std::string NormalizePath(const std::string& path);
    // Ends in a separator; filled from the process's current directory when empty.
    static std::string GetCurrentDir();
    // A quoted program path becomes its folder; else a separator is added.
    static void SetCurrentDir(const std::string& directory);
    static void RefreshCurrentDir();
    // In place, to the enclosing folder: 1 for an empty path or a root.
    static int ToParentFolder(std::string& path);
    static std::string GetPureFileName(const std::string& path);
    static std::string GetSuffix(const std::string& path);
    // A new empty file "KVO*" in the temporary folder: 0, or 2.
    static int GetTemporaryFileName(std::string& name);

    // A memory name, the plain file, or a member of the archive of an
    // enclosing folder (nearest first). Done; Interrupted by the close (a
    // long read, an archive's look-up); or Failed, and then why in *failure
    // (OverBound with its size in *size). Memory names are those of live
    // CMemoryName objects.
    static platform::ReadResult InnerRead(CFile& file, const std::string& name, std::uint64_t mostBytes = UINT64_MAX,
                                          std::uint64_t* size = nullptr, ReadFailure* failure = nullptr);
    // Whether Read would find name (on the disk, in an enclosing folder's
    // archive, or a live memory name) without reading it: Done when it
    // would, Failed when not, Interrupted when the close stopped the look-up
    // and nothing is known.
    static platform::ReadResult Find(const std::string& name);

private:
    void CloseAll();
    // The rest of a read once the file (or the archive of member) is open:
    // sized, bounded, read whole with a 0 behind, unscrambled; interrupted,
    // the bytes read before are kept when asked.
    platform::ReadResult ReadOpened(const std::string& name, platform::IReadFile& in, CArchive* archive,
                                    const ArchiveEntry* member, std::uint64_t mostBytes, std::uint64_t* sizeFound,
                                    ReadFailure* failure, bool keepInterrupted = false);
    void ReleaseImage();

    std::FILE* m_file = nullptr;
    std::uint8_t* m_data = nullptr;
    std::uint32_t m_size = 0;
    const std::uint8_t* m_pos = nullptr;
    std::string m_name;
    bool m_scrambled = false;
    bool m_temporary = false;
    bool m_fromArchive = false;
    bool m_borrowed = false;
    std::unique_ptr<platform::IReadFile> m_unread;
};

// The name "!address,size" (with ".suffix" when given) under which a block of
// the program's own reads like a file while this object lives. Only names so
// made open memory: the same text from a script, a save or the options file
// is an ordinary file name.
class CMemoryName {
public:
    CMemoryName(const void* data, std::size_t size, std::string_view suffix = {});
    CMemoryName(const CMemoryName&) = delete;
    CMemoryName& operator=(const CMemoryName&) = delete;
    ~CMemoryName();

    const std::string& Get() const { return m_name; }
    // A name made here and still alive.
    static bool IsLive(const std::string& name);

private:
    std::string m_name;
};

// A file or a folder of that name exists.
bool IsFileExist(const char* name);
bool IsFileExist(const CTextString& name);

} // namespace kivotasuGameKit
