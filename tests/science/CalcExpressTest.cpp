#include "science/CalcExpress.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace kalvion;

namespace {

double Calc(const std::string &text)
{
    double v = -12345;
    std::string msg = "stale";
    EXPECT_TRUE(CalcExpression(text, v, msg)) << text;
    EXPECT_EQ(msg, "") << text;
    return v;
}

// The message of a failed calculation ("" or "Wrong number.").
std::string Fails(const std::string &text)
{
    double v = -12345;
    std::string msg = "stale";
    EXPECT_FALSE(CalcExpression(text, v, msg)) << text;
    EXPECT_EQ(v, 0) << text;
    return msg;
}

} // namespace

TEST(CalcExpress, PrecedenceAndAssociativity)
{
    EXPECT_EQ(Calc("1+2*3"), 7);
    EXPECT_EQ(Calc("(1+2)*3"), 9);
    EXPECT_EQ(Calc("2^3^2"), 64);
    EXPECT_EQ(Calc("10/4"), 2.5);
    EXPECT_EQ(Calc("10-4-3"), 3);
    EXPECT_EQ(Calc("100/10/5"), 2);
    EXPECT_EQ(Calc("2*3^2"), 18);
    EXPECT_EQ(Calc("  1 +   2 "), 3);
    EXPECT_EQ(Calc("((((7))))"), 7);
    EXPECT_EQ(Calc("1.5e2+2.5E-1"), 150.25);
    EXPECT_EQ(Calc("2^(1)"), 2);
    EXPECT_EQ(Calc("cos(0)^2*3"), 3);
}

TEST(CalcExpress, Signs)
{
    EXPECT_EQ(Calc("-2^2"), 4);     // the minus belongs to the number
    EXPECT_EQ(Calc("-(2)^2"), -4);  // a negated term
    EXPECT_EQ(Calc("-(2)*3"), -6);
    EXPECT_EQ(Calc("- 2^2"), -4);   // not followed by a digit: a negated term
    EXPECT_EQ(Calc("-+3"), -3);
    EXPECT_EQ(Calc("+3"), 3);
    EXPECT_EQ(Calc("2^(-1)"), 0.5);
    EXPECT_EQ(Calc("1-2"), -1);
    EXPECT_EQ(Calc("1 -2"), -1);
    EXPECT_EQ(Calc("3*(-2)"), -6);
    EXPECT_EQ(Calc("(-2)^3"), -8);
}

TEST(CalcExpress, Functions)
{
    EXPECT_EQ(Calc("COS(0)"), 1);
    EXPECT_NEAR(Calc("ctg(1)"), 1 / std::tan(1.0), 1e-15);
    EXPECT_EQ(Calc("abs(-2.5)"), 2.5);
    EXPECT_EQ(Calc("sign(-3)"), -1);
    EXPECT_EQ(Calc("sgn(0)"), 0);
    EXPECT_NEAR(Calc("ln(exp(2))"), 2, 1e-15);
    EXPECT_NEAR(Calc("arcsin(1)"), std::numbers::pi / 2, 1e-15);
    EXPECT_NEAR(Calc("arctan(1)*4"), std::numbers::pi, 1e-15);
    EXPECT_NEAR(Calc("arctg(1)*4"), std::numbers::pi, 1e-15);
    EXPECT_EQ(Calc("heaviside(0)"), 1);
    EXPECT_EQ(Calc("h(-0.1)"), 0);
    EXPECT_EQ(Calc("floor(-1.5)"), -2);
    EXPECT_EQ(Calc("ceil(1.2)"), 2);
    EXPECT_EQ(Calc("round(2.5)"), 2);
    EXPECT_EQ(Calc("round(3.5)"), 4);
    EXPECT_EQ(Calc("round(-2.5)"), -2);
    EXPECT_NEAR(Calc("coth(1)"), std::cosh(1.0) / std::sinh(1.0), 1e-14);
    EXPECT_NEAR(Calc("cth(1)"), Calc("coth(1)"), 0);
    EXPECT_EQ(Calc("sqrt(abs(-16))+1"), 5);
}

TEST(CalcExpress, RemainderAndPower)
{
    EXPECT_EQ(Calc("10 % 4"), 2);
    EXPECT_EQ(Calc("10%3"), 1);
    EXPECT_EQ(Calc("7.5%2"), 1);
    EXPECT_EQ(Calc("-7 % 3"), -1); // the truncated remainder, for every sign
    EXPECT_EQ(Calc("7 % (0-3)"), 1);
    EXPECT_EQ(Calc("2 % 7"), 2);
    EXPECT_EQ(Calc("5 % 0"), 0);

    EXPECT_EQ(Calc("5^0"), 1);
    EXPECT_EQ(Calc("0^3"), 0);
    EXPECT_EQ(Calc("(-2)^3"), -8);
    EXPECT_EQ(Calc("2^10"), 1024);
    EXPECT_EQ(Calc("2^(-2)"), 0.25);
    EXPECT_NEAR(Calc("2^0.5"), std::sqrt(2.0), 1e-15);
    EXPECT_TRUE(std::isnan(Calc("(-2)^0.5")));
    EXPECT_EQ(Calc("1^2147483647"), 1);
    EXPECT_EQ(Calc("(-1)^2147483647"), -1);
    EXPECT_TRUE(std::isinf(Calc("2^2147483647")));
    EXPECT_EQ(Calc("2^(-2147483647)"), 0);
    EXPECT_EQ(Calc("0.5^1074"), std::ldexp(1.0, -1074));
}

TEST(CalcExpress, FloatingFaultsStillSucceed)
{
    EXPECT_TRUE(std::isinf(Calc("1/0")));
    EXPECT_GT(Calc("1/0"), 0);
    EXPECT_TRUE(std::isnan(Calc("0/0")));
    EXPECT_EQ(Calc("ln(0)"), -INFINITY);
    EXPECT_TRUE(std::isnan(Calc("sqrt(0-1)")));
    EXPECT_TRUE(std::isnan(Calc("arcsin(2)")));
}

TEST(CalcExpress, IntegerFunctionsOutOfRangeFail)
{
    EXPECT_EQ(Fails("floor(1/0)"), "");
    EXPECT_EQ(Fails("ceil(3e9)"), "");
    EXPECT_EQ(Fails("round(0/0)"), "");
    EXPECT_EQ(Fails("round(1e19)"), "");
    EXPECT_EQ(Calc("floor(2147483647.5)"), 2147483647);
    EXPECT_EQ(Calc("round(1e18)"), 1e18);
    EXPECT_EQ(Fails("1e999"), ""); // does not convert
}

TEST(CalcExpress, ParseFailures)
{
    for (const char *bad : {"2+-3", "2*-3", "2^-1", "2(3)", "cos 0", "1 2", "(1+2", "1+2)", "", "   ", ".5", "2^(1+1)",
                            "2^(3", "x", "pi*2", "1+", "*2", "()", "1$2", "--3", "2**3", "cos(", "abs()", ")(",
                            "1)+(2", "2^", "\xE9"})
        EXPECT_EQ(Fails(bad), "") << bad;
    EXPECT_EQ(Fails("2."), "Wrong number.");
    EXPECT_EQ(Fails("1e"), "Wrong number.");
    EXPECT_EQ(Fails("1e+"), "Wrong number.");
    EXPECT_EQ(Fails("2.+3"), "Wrong number.");
    // A later grammar error replaces the number's message.
    EXPECT_EQ(Fails("2.x"), "");
}

TEST(CalcExpress, HostileInput)
{
    // Deep nesting is refused instead of exhausting the stack.
    EXPECT_EQ(Calc(std::string(200, '(') + "1" + std::string(200, ')')), 1);
    EXPECT_EQ(Fails(std::string(100000, '(') + "1" + std::string(100000, ')')), "");
    // Long flat chains are evaluated without recursion.
    std::string chain = "1";
    for (int i = 0; i < 200000; ++i)
        chain += "+1";
    EXPECT_EQ(Calc(chain), 200001);
    std::string powers = "1";
    for (int i = 0; i < 100000; ++i)
        powers += "^2";
    EXPECT_EQ(Calc(powers), 1);
}

TEST(CalcExpress, CalculatorObject)
{
    TCalcExpress calc;
    ASSERT_TRUE(calc.HasTree());
    EXPECT_EQ(calc.Evaluate(), 0);

    calc.SetExpression("1+2*3");
    ASSERT_FALSE(calc.HasError());
    // Operands stand before their operator; the root is last.
    const auto &tree = calc.Tree();
    ASSERT_EQ(tree.size(), 5u);
    EXPECT_EQ(tree.back().Kind, CALC_ADD);
    EXPECT_EQ(tree[static_cast<std::size_t>(tree.back().Right)].Kind, CALC_MUL);
    EXPECT_EQ(tree[0].Text, "1");

    calc.SetExpression("2.");
    EXPECT_TRUE(calc.HasError());
    EXPECT_EQ(calc.ErrorMessage(), "Wrong number.");
    EXPECT_FALSE(calc.HasTree());
    EXPECT_THROW(calc.Evaluate(), ECalcEvalError);

    calc.Names = {"x", "y_2"};
    calc.SetExpression("X*10+y_2");
    ASSERT_FALSE(calc.HasError());
    EXPECT_EQ(calc.Evaluate({3, 4}), 34);
    EXPECT_THROW(calc.Evaluate({3}), ECalcEvalError);
}

TEST(CalcExpress, ResultText)
{
    EXPECT_EQ(CalcResultText(64), "64");
    EXPECT_EQ(CalcResultText(2.5), "2.5");
    EXPECT_EQ(CalcResultText(-0.0), "0");
    EXPECT_EQ(CalcResultText(0.1 + 0.2), "0.3");
    EXPECT_EQ(CalcResultText(std::numbers::pi), "3.14159265358979");
    EXPECT_EQ(CalcResultText(1e21), "1e+21");
    EXPECT_EQ(CalcResultText(INFINITY), "INF");
    EXPECT_EQ(CalcResultText(-INFINITY), "-INF");
    EXPECT_EQ(CalcResultText(NAN), "NAN");
}
