// Tags per second when the script reader cuts a 1 MiB script of typical tags
// and story text.
#include <benchmark/benchmark.h>

#include <cinttypes>
#include <cstdio>
#include <string>

#include "script/lang/ScriptReader.h"
#include "script/lang/Set.h"

namespace {

std::string TypicalScript(std::size_t size)
{
    static const char* const page =
        "[BACK FILE=\"bg\\room01.jpg\" EFFECT=\"BLEND\"]\r\n"
        "[ACT NAME=\"mika\" FILE=\"chara\\mika_smile.bmp\" X=\"CENTER\" Y=\"BOTTOM\" EFFECT=\"NONE\"]\r\n"
        "[SET VARIABLE=\"day\" ENTITY=\"{day},1,+\"]\r\n"
        "{name}「おはよう。今日は{day}日目だね」[C]\r\n"
        "窓の外では、朝の光が静かに揺れていた。[L]\r\n"
        "[SOUND FILE=\"se\\door.wav\"][WAIT TIME=\"300\"]\r\n"
        "「……行こうか」[P]\r\n"
        "[LABEL LABEL=\"scene\"][ENDACT NAME=\"mika\"]\r\n";
    std::string script;
    while (script.size() < size) script += page;
    return script;
}

void ReadTags(benchmark::State& state)
{
    const std::string script = TypicalScript(1 << 20);
    const kivotasuGameKit::CMemoryName name(script.data(), script.size());

    CSet& variables = CSet::GetInstance();
    variables.Set("name", "ミカ");
    CScriptReader reader;
    CTagAttributes record;
    std::int64_t tags = 0;
    for (auto _ : state) {
        variables.Set("day", "0");
        reader.Read(name.Get());
        while (reader.ReadTag(record) == TagRead) {
            if (record.GetId() == TagId::Set) variables.Set(record.GetValue(TagAttributeKey::Variable), record.GetValue(TagAttributeKey::Entity));
            ++tags;
        }
    }
    state.SetItemsProcessed(tags);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(script.size()));
}
BENCHMARK(ReadTags)->Unit(benchmark::kMillisecond);

} // namespace
