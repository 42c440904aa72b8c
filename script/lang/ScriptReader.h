#pragma once
// The engine's one open script: its text and read position, labels, JUMP,
// CALL and ENDCALL with the CALL stack, and the DEFAULTJUMP folder.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "frame/TextString.h"
#include "frame/file/File.h"
#include "script/lang/ScriptError.h"
#include "script/lang/TagLexer.h"

class CScriptReader : public kivotasuGameKit::CFile {
public:
    using CTextString = kivotasuGameKit::CTextString;

    struct CallEntry {
        CTextString file;
        std::uint32_t offset = 0;
    };

    ~CScriptReader() override;

    // Reading or closing a script puts the position at its start, and makes
    // it the script the errors name. A script saved as UTF-8 is said on
    // stderr and in a box the first time it is read, and read as Shift-JIS
    // all the same. One over the text bound is refused, said at the tag read
    // last. A read the close interrupted leaves the script, its place and the
    // CALL stack as they were, and says nothing: so do JUMP, CALL and
    // ENDCALL, which then raise EReadInterrupted.
    platform::ReadResult Read(const std::string& name);
    // As Read, of a file read elsewhere (a save, checked and read through one
    // open); image is left empty.
    void Take(kivotasuGameKit::CFile& image);
    int Close() override;

    TagReadResult ReadTag(CTagAttributes& record);
    TagReadResult ScanLabel(CTagAttributes& record);

    void SetDefaultJumpPath(CTagAttributes& record);
    // JUMP: FILE, then the byte offset NAME or the label LABEL. False when the
    // file cannot be read or the label is not found.
    bool Jump(CTagAttributes& record);
    // The last JUMP or CALL failed, and was reported or said; a script read
    // or taken since clears it.
    bool JumpFailed() const { return m_jumpFailed; }
    // A CALL whose jump fails leaves nothing on the stack.
    void Call(CTagAttributes& record);
    // ENDCALL; with FILE it is a stack line of a save file and only pushes.
    void Return(CTagAttributes& record);
    // Only a script that calls without ever returning gets this deep; its
    // stack would grow the memory and every save without end.
    static constexpr std::size_t MaxCallDepth = 65536;
    // The record is overwritten by the scan. A missing label is said at from,
    // the place of the JUMP or CALL that seeks it.
    bool FindLabel(CTagAttributes& record, const CTextString& label, const CScriptError::Place& from);

    std::uint32_t GetOffset() const { return static_cast<std::uint32_t>(m_pos); }
    std::int32_t GetProgress() const;
    void ClearCallStack() { m_callStack.clear(); }
    const std::vector<CallEntry>& GetCallStack() const { return m_callStack; }
    const CTextString& GetDefaultJumpPath() const { return m_defaultJumpPath; }

    // The DEFAULTJUMP line and one ENDCALL line per stack entry, bottom first;
    // loading them as tags rebuilds both.
    void WriteSave(CTextString& out) const;

    std::string_view Text() const;
    // An offset outside the text puts the position at its end.
    void Seek(std::int64_t offset);

private:
    // How a script over the bound is said: a warning, or for a JUMP or CALL
    // the end of the story.
    using SayFault = void (CScriptError::*)(const CTextString&, const CScriptError::Place&);
    platform::ReadResult Read(const std::string& name, SayFault say, kivotasuGameKit::ReadFailure* failure = nullptr);
    // What Read and Take do once the text is in place, or is not.
    void Opened(bool read);
    // The message of a label not found, naming a label that differs from it
    // only in the width of its digits.
    CTextString MissingLabel(const CTextString& label) const;
    // Raises EScript beyond MaxCallDepth entries.
    void Push(CallEntry entry);

    std::size_t m_pos = 0;
    std::vector<CallEntry> m_callStack;
    CTextString m_defaultJumpPath;
    std::set<std::string> m_saidUtf8;
    bool m_jumpFailed = false;
};
