#pragma once
// The variables of the scripts with brace expansion and expression evaluation.

#include <cstdint>
#include <map>

#include "frame/MersenneTwister.h"
#include "frame/TextString.h"
#include "script/lang/Expression.h"

namespace kivotasuGameKit { class CTextFileWriter; }

class CSet_Implement {
public:
    using CTextString = kivotasuGameKit::CTextString;

    // Self-referring variables would expand forever: past the count the
    // reference being replaced is reported as an undefined variable, past the
    // growth as a text grown too long.
    static constexpr int MaxReplacements = 1024;
    static constexpr std::size_t MaxGrowth = 256 * 1024;

    CSet_Implement();
    virtual ~CSet_Implement() = default;

    // Drops every variable, the global ones too unless kept, and defines
    // KARUTEMI again.
    void Clear(bool keepGlobals = false);
    // A variable once global stays global.
    void Set(const CTextString& name, const CTextString& value, bool global);
    void Expand(CTextString& text) const;
    bool IsDefined(const CTextString& name) const { return m_variables.count(name) != 0; }
    void Evaluate(CTextString& text) { m_evaluator.Evaluate(text); }
    void WriteLocals(kivotasuGameKit::CTextFileWriter& writer) const;
    void WriteGlobals(kivotasuGameKit::CTextFileWriter& writer) const;

private:
    struct Entry {
        CTextString value;
        std::uint8_t global = 0;
    };
    using Variables = std::map<CTextString, Entry>;

    // The SET lines of the global or the local variables, in pieces: a file
    // past its writer's bound is refused there, not built whole first.
    void WriteSetLines(kivotasuGameKit::CTextFileWriter& writer, std::uint8_t global) const;
    static void WriteSetLine(const Variables::value_type& variable, const CTextString& folder, CTextString& out);

    Variables m_variables;
    kivotasuGameKit::CMersenneTwister m_random;
    CExpressionEvaluator m_evaluator;
};
