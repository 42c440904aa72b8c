// The lexer over arbitrary script bytes, with expansion and evaluation of
// every value and the reader's own tags (SET, JUMP, CALL, ENDCALL) run as the
// dispatcher runs them. Jumps stay inside the fuzzed text: FILE names are
// never read from the disk.
#include <cinttypes>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "frame/EScript.h"
#include "frame/file/File.h"
#include "script/lang/ScriptReader.h"
#include "script/lang/Set.h"

namespace {

// Enough for most inputs to reach their end; one that jumps back on itself
// would run forever, and after its first rounds only repeats its tags.
constexpr int MaxTags = 2048;
constexpr int MaxJumps = 64;

// True when the tag moved the reader elsewhere.
bool RunTag(CScriptReader& reader, CTagAttributes& record)
{
    switch (record.GetId()) {
    case TagId::Set:
        if (!record.GetValue(TagAttributeKey::Variable).IsEmpty() && !record.GetValue(TagAttributeKey::Entity).IsEmpty()) {
            CSet::GetInstance().Set(record.GetValue(TagAttributeKey::Variable), record.GetValue(TagAttributeKey::Entity));
        }
        break;
    case TagId::DefaultJump:
        reader.SetDefaultJumpPath(record);
        break;
    case TagId::Jump:
        record.SetValue(TagAttributeKey::File, "");
        reader.Jump(record);
        return true;
    case TagId::Call:
        record.SetValue(TagAttributeKey::File, "");
        reader.Call(record);
        return true;
    case TagId::EndCall:
        if (!record.GetFile().IsEmpty()) record.SetValue(TagAttributeKey::File, reader.GetName());
        reader.Return(record);
        return true;
    default:
        break;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CSet::GetInstance().Clear();
    const kivotasuGameKit::CMemoryName name(data, size);
    CScriptReader reader;
    if (reader.Read(name.Get()) != platform::ReadResult::Done) return 0;

    CTagAttributes record;
    for (int tags = 0, jumps = 0; tags < MaxTags && jumps < MaxJumps; ++tags) {
        try {
            if (reader.ReadTag(record) != TagRead) break;
            jumps += RunTag(reader, record);
        } catch (const EScript&) {
            // The lexer has moved behind the tag: reading goes on.
        }
    }
    return 0;
}
