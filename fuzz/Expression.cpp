// Brace expansion and expression evaluation. Every line but the last that
// holds "=" defines a variable (name before it, value behind it); the last
// line is expanded and evaluated.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "frame/EScript.h"
#include "script/lang/Set.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CSet& variables = CSet::GetInstance();
    variables.Clear();
    std::string_view input(reinterpret_cast<const char*>(data), size);
    for (std::size_t end; (end = input.find('\n')) != std::string_view::npos; input.remove_prefix(end + 1)) {
        std::string_view line = input.substr(0, end);
        std::size_t equals = line.find('=');
        if (equals != std::string_view::npos) variables.Set(line.substr(0, equals), line.substr(equals + 1));
    }
    CSet::CTextString text(input);
    try {
        variables.Expand(text);
        variables.Evaluate(text);
    } catch (const EScript&) {
    }
    return 0;
}
