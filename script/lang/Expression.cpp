#include "script/lang/Expression.h"

#include <string>

#include "frame/EScript.h"
#include "script/lang/TagNumber.h"
#include "script/lang/TextScan.h"

using kivotasuGameKit::CTextString;

namespace {

// The half-width marks that make a text an expression, each once, in the
// order they come: "" for a text that is none.
std::string OperatorMarks(std::string_view text)
{
    std::string marks;
    for (std::size_t pos = 0; pos < text.size(); pos += kivotasuGameKit::CharLengthAt(text, pos)) {
        const char c = text[pos];
        if ((c == ',' || c == '@' || c == '!') && marks.find(c) == std::string::npos) marks += c;
    }
    return marks;
}

// A story text or a name that holds a mark by chance ("Hello, world!") was
// never meant as an expression: its error says why it was read as one.
std::string MarksHint(const std::string& marks)
{
    std::string quoted;
    for (char mark : marks) quoted += std::string("「") + mark + "」";
    return "（半角の" + quoted + "があるので、計算式として読みました。）";
}

[[noreturn]] void Raise(const char* message) { throw EScript(CTextString(message)); }

// A "-" with more behind it starts a negative number; every token that is no
// operator is pushed as it stands.
bool IsOperator(std::string_view token)
{
    if (token.empty()) return false;
    if (token[0] == '-') return token.size() == 1;
    return std::string_view("+*/%&|!<>=@").find(token[0]) != std::string_view::npos;
}

} // namespace

void CExpressionEvaluator::Evaluate(CTextString& text)
{
    const std::string marks = OperatorMarks(text.GetStr());
    if (marks.empty()) return;

    m_count = 0;
    std::string work = text.GetStr() + ',';
    std::string_view rest = work;
    try {
        while (!rest.empty()) {
            // The closing "," can be swallowed as the second byte of a trailing
            // lead byte; the token then runs to the end.
            std::size_t comma = FindSjisChar(rest, 0, ',');
            Step(rest.substr(0, comma));
            rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        }
        CTextString result = Pop();
        if (m_count != 0) Raise("演算子が足りません。");
        text = std::move(result);
    } catch (const EScript& error) {
        throw EScript(error.GetMessage() + CTextString(MarksHint(marks)));
    }
}

bool CExpressionEvaluator::LeavesAsItStands(std::string_view text)
{
    if (OperatorMarks(text).empty()) return true;
    // The "," Evaluate appends must end the first token, not be swallowed
    // by a trailing lead byte.
    const std::string work = std::string(text) + ',';
    return FindSjisChar(work, 0, ',') == text.size() && !IsOperator(text);
}

void CExpressionEvaluator::Step(std::string_view token)
{
    if (!IsOperator(token)) {
        Push(CTextString(token));
        return;
    }
    const char first = token[0];
    const bool alone = token.size() == 1;
    switch (first) {
    case '+': {
        std::int64_t b = PopNumber();
        PushNumber(PopNumber() + b);
        return;
    }
    case '-': {
        std::int64_t b = PopNumber();
        PushNumber(PopNumber() - b);
        return;
    }
    case '*': {
        std::int64_t b = PopNumber();
        PushNumber(PopNumber() * b);
        return;
    }
    case '/':
    case '%': {
        std::int64_t b = PopNumber();
        std::int64_t a = PopNumber();
        if (b == 0) Raise("０で除算しました。");
        // In 64 bits the smallest integer divided by -1 is exact and wraps back.
        PushNumber(first == '/' ? a / b : a % b);
        return;
    }
    case '&': {
        std::int32_t b = PopNumber();
        std::int32_t a = PopNumber();
        PushNumber(a != 0 && b != 0);
        return;
    }
    case '|': {
        std::int32_t b = PopNumber();
        std::int32_t a = PopNumber();
        PushNumber(a != 0 || b != 0);
        return;
    }
    case '!':
        if (alone) {
            std::int32_t b = PopNumber();
            PushNumber(PopNumber() != b);
        } else {
            PushNumber(ToTagNumber(token.substr(1)) == 0);
        }
        return;
    case '<':
    case '>':
        Compare(first);
        return;
    case '=':
        Equal();
        return;
    case '@':
        Random(token.substr(1));
        return;
    }
}

void CExpressionEvaluator::Push(CTextString value)
{
    if (m_count == StackSize) Raise("演算式が長すぎます。");
    m_stack[m_count++] = std::move(value);
}

void CExpressionEvaluator::PushNumber(std::int64_t value)
{
    CTextString text;
    text.SetNumber(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
    Push(std::move(text));
}

CTextString CExpressionEvaluator::Pop()
{
    if (m_count == 0) Raise("演算子が多すぎます。");
    return std::move(m_stack[--m_count]);
}

std::int32_t CExpressionEvaluator::PopNumber()
{
    CTextString value = Pop();
    if (!value.IsNumber()) Raise("比較演算以外では文字列を使用できません。");
    return ToTagNumber(value.GetStr());
}

void CExpressionEvaluator::Compare(char op)
{
    CTextString b = Pop();
    CTextString a = Pop();
    if (a.IsNumber() != b.IsNumber()) Raise("数字と文字列とでは比較できません。");
    int order;
    if (a.IsNumber()) {
        std::int32_t x = ToTagNumber(a.GetStr());
        std::int32_t y = ToTagNumber(b.GetStr());
        order = x < y ? -1 : (x > y ? 1 : 0);
    } else {
        order = a.GetStr().compare(b.GetStr());
    }
    PushNumber(op == '<' ? order < 0 : order > 0);
}

void CExpressionEvaluator::Equal()
{
    CTextString b = Pop();
    CTextString a = Pop();
    bool textual = b.GetStr().starts_with('0');
    if (a.IsNumber() != b.IsNumber() && !textual) Raise("数字と文字列とでは比較できません。");
    if (a.IsNumber() && b.IsNumber()) {
        PushNumber(ToTagNumber(a.GetStr()) == ToTagNumber(b.GetStr()));
    } else {
        PushNumber(a == b);
    }
}

void CExpressionEvaluator::Random(std::string_view limit)
{
    if (!IsTagNumber(limit)) Raise("文字列はランダムに出来ません。");
    std::int32_t n = ToTagNumber(limit);
    if (n < 0) Raise("負の数はランダムに出来ません。");
    // "@0" names an empty range; it yields 1, the lower bound of every range.
    if (n == 0) {
        PushNumber(1);
        return;
    }
    PushNumber(std::int64_t{m_random.Get() % static_cast<std::uint32_t>(n)} + 1);
}
