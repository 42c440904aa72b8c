#pragma once
// Comma-separated postfix expressions of attribute values and story text.

#include <array>
#include <cstdint>
#include <string_view>

#include "frame/MersenneTwister.h"
#include "frame/TextString.h"

class CExpressionEvaluator {
public:
    using CTextString = kivotasuGameKit::CTextString;

    explicit CExpressionEvaluator(kivotasuGameKit::CMersenneTwister& random) : m_random(random) {}

    // Replaces a text that holds ",", "@" or "!" by its value; raises EScript
    // for a malformed expression. Other texts stay as they are.
    void Evaluate(CTextString& text);
    // True when Evaluate gives the text back as it stands: it holds no mark,
    // or it is one token that no operator reads.
    static bool LeavesAsItStands(std::string_view text);

private:
    static constexpr std::size_t StackSize = 256;

    void Step(std::string_view token);
    void Push(CTextString value);
    void PushNumber(std::int64_t value);
    CTextString Pop();
    std::int32_t PopNumber();
    void Compare(char op);
    void Equal();
    void Random(std::string_view limit);

    kivotasuGameKit::CMersenneTwister& m_random;
    std::array<CTextString, StackSize> m_stack;
    std::size_t m_count = 0;
};
