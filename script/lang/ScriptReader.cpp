#include "script/lang/ScriptReader.h"

#include <string>
#include <utility>

#include "frame/EScript.h"
#include "frame/ReadInterrupted.h"
#include "script/lang/FamilyPath.h"
#include "script/lang/SavedValue.h"
#include "script/lang/ScriptError.h"
#include "script/lang/Utf8Script.h"

using kivotasuGameKit::CTextString;
using platform::ReadResult;

namespace {

constexpr std::string_view FullWidthDigits = "０１２３４５６７８９";

// The text with its full-width digits half-width.
std::string NarrowDigits(std::string_view text)
{
    std::string narrow;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = kivotasuGameKit::CharLengthAt(text, pos);
        const std::size_t digit = length == 2 ? FullWidthDigits.find(text.substr(pos, 2)) : std::string_view::npos;
        if (digit != std::string_view::npos && digit % 2 == 0) narrow += static_cast<char>('0' + digit / 2);
        else narrow += text.substr(pos, length);
        pos += length;
    }
    return narrow;
}

} // namespace

CScriptReader::~CScriptReader()
{
    // The reporter keeps a view of the text, which goes with the reader.
    CScriptError::GetInstance().SetScript("", {});
}

ReadResult CScriptReader::Read(const std::string& name) { return Read(name, &CScriptError::Warn); }

ReadResult CScriptReader::Read(const std::string& name, SayFault say, kivotasuGameKit::ReadFailure* failure)
{
    using kivotasuGameKit::FileKind;
    CScriptError& errors = CScriptError::GetInstance();
    // Taken while the text it lies in is still there: the read drops it.
    const CScriptError::Place asked = errors.Here();
    std::uint64_t size = 0;
    kivotasuGameKit::ReadFailure failed = kivotasuGameKit::ReadFailure::None;
    kivotasuGameKit::CFile read;
    const ReadResult result = read.ReadAtMost(name, kivotasuGameKit::MostBytes(FileKind::Text), size, &failed);
    if (failure) *failure = failed;
    // Interrupted, the script in hand stays, for the close to resume in.
    if (result == ReadResult::Interrupted) return result;
    TakeImage(read);
    Opened(result == ReadResult::Done);
    if (failed == kivotasuGameKit::ReadFailure::OverBound) {
        (errors.*say)(kivotasuGameKit::OverBoundText("スクリプトが大きすぎて開けません: ", NormalizePath(name), size,
                                                   kivotasuGameKit::MostBytes(FileKind::Text)),
                    asked);
    }
    return result;
}

void CScriptReader::Take(kivotasuGameKit::CFile& image)
{
    TakeImage(image);
    Opened(true);
}

void CScriptReader::Opened(bool read)
{
    m_pos = 0;
    // A JUMP that failed ended the story it was in, not the one read now
    // (a JUMP sets the mark again once its read is done).
    m_jumpFailed = false;
    // A failed read has dropped the text read before too. Errors name the
    // script by its full path, however the JUMP or CALL wrote it.
    const std::string path = NormalizePath(GetName());
    CScriptError::GetInstance().SetScript(read ? CTextString(path) : CTextString(), Text());
    if (read && !m_saidUtf8.contains(path) && IsJapaneseUtf8(Text())) {
        m_saidUtf8.insert(path);
        SayUtf8Script(path, Text());
        ShowUtf8Script(path, Text());
    }
}

int CScriptReader::Close()
{
    m_pos = 0;
    const int result = CFile::Close();
    CScriptError::GetInstance().SetScript("", {});
    return result;
}

std::string_view CScriptReader::Text() const
{
    const auto* memory = GetMemory();
    if (!memory) return {};
    return {reinterpret_cast<const char*>(memory), GetSize()};
}

void CScriptReader::Seek(std::int64_t offset)
{
    std::size_t size = Text().size();
    m_pos = offset < 0 || static_cast<std::uint64_t>(offset) > size ? size : static_cast<std::size_t>(offset);
}

TagReadResult CScriptReader::ReadTag(CTagAttributes& record)
{
    return CTagLexer(Text(), m_pos).ReadTag(record);
}

TagReadResult CScriptReader::ScanLabel(CTagAttributes& record)
{
    return CTagLexer(Text(), m_pos).ScanLabel(record);
}

void CScriptReader::SetDefaultJumpPath(CTagAttributes& record)
{
    const CTextString& path = record.GetPath();
    if (!path.IsEmpty()) m_defaultJumpPath = path;
}

bool CScriptReader::Jump(CTagAttributes& record)
{
    // Taken before a FILE replaces the script the JUMP is in, when a file is
    // read or a label sought.
    CScriptError& errors = CScriptError::GetInstance();
    const CTextString& file = record.GetFile();
    const bool seeks = record.GetName().IsEmpty() && !record.GetLabel().IsEmpty();
    const CScriptError::Place jump = seeks || !file.IsEmpty() ? errors.Here() : CScriptError::Place{};
    if (!file.IsEmpty()) {
        CTextString name = InFamilyPath(m_defaultJumpPath, file);
        kivotasuGameKit::ReadFailure failure = kivotasuGameKit::ReadFailure::None;
        const ReadResult result = Read(name.GetStr(), &CScriptError::SayEnded, &failure);
        if (result == ReadResult::Interrupted) throw EReadInterrupted();
        // The game ends on the empty script; the line says which file it
        // could not open, and where it was asked for (for one over the bound,
        // Read said so). The label is not sought: it lies in the file meant.
        if (result != ReadResult::Done) {
            if (failure != kivotasuGameKit::ReadFailure::OverBound) errors.SayEnded("スクリプト『" + CTextString(NormalizePath(name.GetStr())) + "』が開けません。", jump);
            m_jumpFailed = true;
            return false;
        }
    }
    if (!record.GetName().IsEmpty()) {
        Seek(record.GetNameNumber());
        m_jumpFailed = false;
        return true;
    }
    CTextString label = record.GetLabel();
    m_jumpFailed = !FindLabel(record, label, jump);
    return !m_jumpFailed;
}

void CScriptReader::Call(CTagAttributes& record)
{
    Push({CTextString(GetName()), GetOffset()});
    bool jumped = false;
    try {
        jumped = Jump(record);
    } catch (...) {
        m_callStack.pop_back();
        throw;
    }
    if (!jumped) m_callStack.pop_back();
}

void CScriptReader::Return(CTagAttributes& record)
{
    if (!record.GetFile().IsEmpty()) {
        // A stack line without NAME returns to the start of its file.
        Push({record.GetFile(), static_cast<std::uint32_t>(record.GetNameNumber())});
        return;
    }
    if (m_callStack.empty()) {
        CScriptError::GetInstance().Report("戻る場所が存在しません。\nENDCALLは、CALLに対応させて使ってください。");
        return;
    }
    const CallEntry& back = m_callStack.back();
    if (back.file.GetStr() != GetName() && Read(back.file.GetStr()) == ReadResult::Interrupted) throw EReadInterrupted();
    Seek(back.offset);
    m_callStack.pop_back();
}

void CScriptReader::Push(CallEntry entry)
{
    if (m_callStack.size() == MaxCallDepth) {
        throw EScript(CTextString("CALLの入れ子が深すぎます。\nCALLしたら、ENDCALLで戻ってください。"));
    }
    m_callStack.push_back(std::move(entry));
}

bool CScriptReader::FindLabel(CTagAttributes& record, const CTextString& label, const CScriptError::Place& from)
{
    if (label.IsEmpty()) return true;
    if (label.GetStr() == "0") {
        m_pos = 0;
        return true;
    }
    if (label.IsNumber()) {
        // Unnamed labels are counted forward from here.
        for (std::int32_t left = ToTagNumber(label.GetStr()); left > 0;) {
            if (ScanLabel(record) != TagRead) {
                CScriptError::GetInstance().Report("無記名ラベルの数が足りません。", from);
                return false;
            }
            if (record.GetLabel().IsEmpty()) --left;
        }
        return true;
    }
    m_pos = 0;
    for (;;) {
        if (ScanLabel(record) != TagRead) {
            CScriptError::GetInstance().Report(MissingLabel(label), from);
            return false;
        }
        if (record.GetLabel() == label) return true;
    }
}

// A label written with a digit of the other width (第3章 sought, 第３章
// written) looks the same on the page: the message names it. One more pass
// over the labels, on a miss only, and a quiet one: what it reads was said
// by the search.
CTextString CScriptReader::MissingLabel(const CTextString& label) const
{
    CTextString message = "ラベル『" + label + "』が見つかりません。";
    const std::string sought = NarrowDigits(label.GetStr());
    if (sought.find_first_of("0123456789") == std::string::npos) return message;
    std::size_t pos = 0;
    CTagLexer lexer(Text(), pos, LexFaults::Raised);
    CTagAttributes record;
    for (;;) {
        const std::size_t before = pos;
        try {
            if (lexer.ScanLabel(record) != TagRead) return message;
        } catch (const EScript&) {
            // A tag that does not close ends the scan, as it ended the search.
            if (pos == before) return message;
            continue;
        }
        if (NarrowDigits(record.GetLabel().GetStr()) == sought)
            return message + "数字の全角と半角だけが違うラベル『" + record.GetLabel() + "』はあります。";
    }
}

std::int32_t CScriptReader::GetProgress() const
{
    std::size_t size = Text().size();
    if (size == 0) return 100;
    return static_cast<std::int32_t>(std::uint64_t{m_pos} * 100 / size);
}

void CScriptReader::WriteSave(CTextString& out) const
{
    out += CTextString("\n[DEFAULTJUMP");
    AppendSavedAttribute(out, "PATH", m_defaultJumpPath);
    out += CTextString("]\n");
    for (const CallEntry& entry : m_callStack) {
        out += CTextString("[ENDCALL");
        AppendSavedAttribute(out, "FILE", entry.file);
        out.AppendAttribute("NAME", CTextString(std::to_string(entry.offset)));
        out += CTextString("]\n");
    }
}
