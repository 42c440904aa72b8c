#include "tests/script/ScriptTestKit.h"

#include <set>

#include "script/lang/Expression.h"

namespace {

// The messages as Shift-JIS bytes, independent of how the code spells them.
const std::string TooLong = "\x89\x89\x8EZ\x8E\xAE\x82\xAA\x92\xB7\x82\xB7\x82\xAC\x82\xDC\x82\xB7\x81" "B";
const std::string TooFewOperators = "\x89\x89\x8EZ\x8Eq\x82\xAA\x91\xAB\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81" "B";
const std::string TooManyOperators = "\x89\x89\x8EZ\x8Eq\x82\xAA\x91\xBD\x82\xB7\x82\xAC\x82\xDC\x82\xB7\x81" "B";
const std::string TextInArithmetic = "\x94\xE4\x8Ar\x89\x89\x8EZ\x88\xC8\x8AO\x82\xC5\x82\xCD\x95\xB6\x8E\x9A\x97\xF1\x82\xF0\x8Eg\x97p\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x81" "B";
const std::string DivisionByZero = "\x82O\x82\xC5\x8F\x9C\x8EZ\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81" "B";
const std::string NumberAgainstText = "\x90\x94\x8E\x9A\x82\xC6\x95\xB6\x8E\x9A\x97\xF1\x82\xC6\x82\xC5\x82\xCD\x94\xE4\x8Ar\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x81" "B";
const std::string RandomOfText = "\x95\xB6\x8E\x9A\x97\xF1\x82\xCD\x83\x89\x83\x93\x83_\x83\x80\x82\xC9\x8Fo\x97\x88\x82\xDC\x82\xB9\x82\xF1\x81" "B";
const std::string RandomOfNegative = "\x95\x89\x82\xCC\x90\x94\x82\xCD\x83\x89\x83\x93\x83_\x83\x80\x82\xC9\x8Fo\x97\x88\x82\xDC\x82\xB9\x82\xF1\x81" "B";

class ExpressionTest : public ::testing::Test {
protected:
    std::string Eval(const char* expression)
    {
        CExpressionEvaluator::CTextString text(expression);
        m_evaluator.Evaluate(text);
        return text.GetStr();
    }

    std::string Error(const char* expression)
    {
        return ScriptErrorOf([&] { Eval(expression); });
    }

    kivotasuGameKit::CMersenneTwister m_random;
    CExpressionEvaluator m_evaluator{m_random};
};

TEST_F(ExpressionTest, TextWithoutOperatorMarksStaysAsItIs)
{
    EXPECT_EQ(Eval(""), "");
    EXPECT_EQ(Eval("1+2"), "1+2");
    EXPECT_EQ(Eval("abc"), "abc");
    // "　" is 81 40: its second byte is no "@".
    EXPECT_EQ(Eval("a　b"), "a　b");
}

TEST_F(ExpressionTest, ArithmeticTakesTheSecondOperandFromTheTop)
{
    EXPECT_EQ(Eval("1,2,+"), "3");
    EXPECT_EQ(Eval("10,3,-"), "7");
    EXPECT_EQ(Eval("-3,2,*"), "-6");
    EXPECT_EQ(Eval("7,2,/"), "3");
    EXPECT_EQ(Eval("-7,2,/"), "-3");
    EXPECT_EQ(Eval("7,2,%"), "1");
    EXPECT_EQ(Eval("-7,2,%"), "-1");
    EXPECT_EQ(Eval("1,2,+,4,*"), "12");
    EXPECT_EQ(Eval("9"), "9");
}

TEST_F(ExpressionTest, LogicAndNegation)
{
    EXPECT_EQ(Eval("2,3,&"), "1");
    EXPECT_EQ(Eval("2,0,&"), "0");
    EXPECT_EQ(Eval("0,5,|"), "1");
    EXPECT_EQ(Eval("0,0,|"), "0");
    EXPECT_EQ(Eval("1,2,!"), "1");
    EXPECT_EQ(Eval("2,2,!"), "0");
    EXPECT_EQ(Eval("!0"), "1");
    EXPECT_EQ(Eval("!5"), "0");
    // The number of a word is 0.
    EXPECT_EQ(Eval("!abc"), "1");
}

TEST_F(ExpressionTest, ComparisonsOfNumbersAndOfTexts)
{
    EXPECT_EQ(Eval("1,2,<"), "1");
    EXPECT_EQ(Eval("2,1,<"), "0");
    EXPECT_EQ(Eval("2,1,>"), "1");
    EXPECT_EQ(Eval("-1,1,>"), "0");
    EXPECT_EQ(Eval("a,b,<"), "1");
    EXPECT_EQ(Eval("abc,abd,>"), "0");
    EXPECT_EQ(Eval("5,05,="), "1");
    EXPECT_EQ(Eval("x,x,="), "1");
    EXPECT_EQ(Eval("x,X,="), "0");
    // A second operand starting with 0 compares a word as text.
    EXPECT_EQ(Eval(",0,="), "0");
    EXPECT_EQ(Eval("x,0,="), "0");
    // Texts compare byte by byte, unsigned: Shift-JIS sorts after ASCII.
    EXPECT_EQ(Eval("z,あ,<"), "1");
}

TEST_F(ExpressionTest, ResultsWrapIn32Bits)
{
    EXPECT_EQ(Eval("2147483647,1,+"), "-2147483648");
    EXPECT_EQ(Eval("65536,65536,*"), "0");
    EXPECT_EQ(Eval("-2147483648,-1,/"), "-2147483648");
    EXPECT_EQ(Eval("-2147483648,-1,%"), "0");
    // Operands beyond 32 bits saturate before the arithmetic.
    EXPECT_EQ(Eval("99999999999,0,+"), "2147483647");
    EXPECT_EQ(Eval("-99999999999,1,-"), "2147483647");
}

// Each message says which half-width marks made the text an expression: a
// story text with a comma was never meant as one.
TEST_F(ExpressionTest, ErrorsCarryTheirMessagesAndTheMarksThatMadeAnExpression)
{
    const std::string byComma = "（半角の「,」があるので、計算式として読みました。）";
    const std::string byAt = "（半角の「@」があるので、計算式として読みました。）";
    EXPECT_EQ(Error("5,0,/"), DivisionByZero + byComma);
    EXPECT_EQ(Error("5,0,%"), DivisionByZero + byComma);
    EXPECT_EQ(Error("1,2"), TooFewOperators + byComma);
    EXPECT_EQ(Error("abc,"), TooFewOperators + byComma);
    EXPECT_EQ(Error("+,"), TooManyOperators + byComma);
    EXPECT_EQ(Error("1,+"), TooManyOperators + byComma);
    EXPECT_EQ(Error("a,1,+"), TextInArithmetic + byComma);
    EXPECT_EQ(Error("1, 2,+"), TextInArithmetic + byComma);
    EXPECT_EQ(Error("a,1,<"), NumberAgainstText + byComma);
    EXPECT_EQ(Error("x,1,="), NumberAgainstText + byComma);
    EXPECT_EQ(Error("@-1"), RandomOfNegative + byAt);
    EXPECT_EQ(Error("@x"), RandomOfText + byAt);
    EXPECT_EQ(Error("@"), RandomOfText + byAt);
    EXPECT_EQ(Error("Hello, world! Hello, world!"), TooFewOperators + "（半角の「,」「!」があるので、計算式として読みました。）");
    EXPECT_EQ(Error("!x,@"), RandomOfText + "（半角の「!」「,」「@」があるので、計算式として読みました。）");
}

TEST_F(ExpressionTest, TheValueStackHolds256Values)
{
    std::string values = "1";
    for (int i = 1; i < 256; ++i) values += ",1";
    const std::string byComma = "（半角の「,」があるので、計算式として読みました。）";
    EXPECT_EQ(Error(values.c_str()), TooFewOperators + byComma);
    values += ",1";
    EXPECT_EQ(Error(values.c_str()), TooLong + byComma);
}

TEST_F(ExpressionTest, RandomNumbersRunFromOneToN)
{
    // The store's generator: unseeded, its first word is 2867219139, which is 3 modulo 6.
    EXPECT_EQ(Eval("@6"), "4");
    std::set<std::string> seen;
    for (int i = 0; i < 600; ++i) seen.insert(Eval("@6"));
    EXPECT_EQ(seen, (std::set<std::string>{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(Eval("@1"), "1");
    // An empty range gives its lower bound.
    EXPECT_EQ(Eval("@0"), "1");
    int big = std::stoi(Eval("@99999999999"));
    EXPECT_GE(big, 1);
    EXPECT_EQ(Eval("@3,@3,+,0,>"), "1");
}

} // namespace
