#include "frame/file/FileWriter.h"

#include <exception>

#include "frame/EScript.h"
#include "frame/ErrorLog.h"
#include "platform/FileSystem.h"

namespace kivotasuGameKit {

namespace {

[[noreturn]] void ThrowWriteFailure(std::error_code why)
{
    throw EUnwritable("ファイルへのデータの書き込みに失敗しました。", why);
}

} // namespace

CFileWriter::CFileWriter(const CTextString& name, std::uint64_t mostBytes)
    : m_uncaughtAtStart(std::uncaught_exceptions()), m_mostBytes(mostBytes)
{
    std::error_code why;
    m_file = platform::FileSystem().CreateWrite(name.GetStr(), why);
    if (!m_file) throw EUnwritable(CTextString("ファイル ") + name + CTextString(" が開けません。"), why);
}

CFileWriter::~CFileWriter()
{
    // Unwinding means the text is incomplete: the old file stays.
    if (!m_file || std::uncaught_exceptions() > m_uncaughtAtStart) return;
    if (!m_file->Commit()) ErrorLog.Out("CFileWriter::~CFileWriter ファイルの置き換えに失敗");
}

void CFileWriter::Write(const void* data, std::size_t size)
{
    if (m_file && size > m_mostBytes - m_written) {
        m_file.reset();
        CTextString bound;
        bound.AppendFormat("書けば読み込める上限の %llu バイトを超えます。", static_cast<unsigned long long>(m_mostBytes));
        throw EUnwritable(bound, {});
    }
    if (m_file && m_file->Write(data, size)) {
        m_written += size;
        return;
    }
    // What was written is incomplete: the old file stays.
    const std::error_code why = m_file ? m_file->Failure() : std::error_code();
    m_file.reset();
    ThrowWriteFailure(why);
}

void CFileWriter::Write(const CTextString& text) { Write(text.GetStr().data(), text.GetStr().size()); }

void CFileWriter::Close()
{
    if (!m_file) return;
    std::unique_ptr<platform::IWriteFile> file = std::move(m_file);
    if (!file->Commit()) ThrowWriteFailure(file->Failure());
}

CTextFileWriter::CTextFileWriter(const CTextString& name, std::uint64_t mostBytes)
    : m_writer(std::make_unique<CFileWriter>(name, mostBytes))
{
}

CTextFileWriter::~CTextFileWriter() = default;

void CTextFileWriter::Write(const CTextString& text) { m_writer->Write(text); }

void CTextFileWriter::WriteBytes(const void* data, std::size_t size) { m_writer->Write(data, size); }

void CTextFileWriter::Close() { m_writer->Close(); }

} // namespace kivotasuGameKit
