#include "base/SharedRandom.h"
#include "science/Dice.h"

#include <gtest/gtest.h>

#include <limits>

using namespace kalvion;

namespace {

// The roll RollDice would make from the given shared seed.
std::int32_t RollFrom(std::int32_t seed, std::int32_t count, std::int32_t sides, std::int32_t modifier)
{
    SetSharedRandomSeed(seed);
    return RollDice(count, sides, modifier);
}

} // namespace

TEST(Dice, RollDiceDrawsOncePerDie)
{
    EXPECT_EQ(RollFrom(12345, 3, 6, 2), 8);
    EXPECT_EQ(RollFrom(0, 1, 100, 0), 1);

    SetSharedRandomSeed(10);
    EXPECT_EQ(RollDice(1, 1, 0), 1);
    EXPECT_EQ(SharedRandomSeed(), NextRandomSeed(10)); // still steps

    SetSharedRandomSeed(10);
    EXPECT_EQ(RollDice(0, 6, 4), 4);
    EXPECT_EQ(RollDice(-2, 6, 4), 4);
    EXPECT_EQ(SharedRandomSeed(), 10);

    for (int i = 0; i < 1000; ++i) {
        const int r = d6();
        ASSERT_GE(r, 1);
        ASSERT_LE(r, 6);
    }
    for (int i = 0; i < 1000; ++i) {
        const int r = d100();
        ASSERT_GE(r, 1);
        ASSERT_LE(r, 100);
    }
    EXPECT_LE(d2(), 2);
    EXPECT_LE(d4(), 4);
    EXPECT_LE(d8(), 8);
    EXPECT_LE(d10(), 10);
    EXPECT_LE(d12(), 12);
    EXPECT_LE(d20(), 20);
    EXPECT_LE(d30(), 30);
}

TEST(Dice, OpenRolls)
{
    EXPECT_TRUE(isOpenResult(96, 100));
    EXPECT_FALSE(isOpenResult(95, 100));
    EXPECT_TRUE(isOpenResult(6, 6));
    EXPECT_FALSE(isOpenResult(5, 6));

    // Against a hand-made open roll from the same seed.
    for (std::int32_t seed : {1, 2, 3, 4, 5, 6, 7, 8, 9, 77, 1234}) {
        SetSharedRandomSeed(seed);
        std::int32_t expected = 1;
        for (int die = 0; die < 4; ++die) {
            std::int32_t r = SharedRandomInt(6) + 1;
            expected += r;
            while (r == 6) {
                r = SharedRandomInt(6) + 1;
                expected += r;
            }
        }
        SetSharedRandomSeed(seed);
        EXPECT_EQ(RollDiceOpen(4, 6, 1, true), expected);
    }
    SetSharedRandomSeed(5);
    const std::int32_t closed = RollDiceOpen(4, 6, 1, false);
    EXPECT_EQ(closed, RollFrom(5, 4, 6, 1));

    // A one-sided open die always shows its highest face; it must not re-roll for ever.
    SetSharedRandomSeed(5);
    EXPECT_EQ(RollDiceOpen(3, 1, 0, true), 3);
    EXPECT_EQ(RollDiceOpen(2, 0, 0, true), 2);
}

TEST(Dice, EvalDiceShapes)
{
    struct Case {
        const char *expr;
        std::int32_t count, sides, modifier, factor;
        char op;
    };
    const Case cases[] = {
        {"2 d 6 + 3", 2, 6, 3, 0, '+'},
        {"2D6+3", 2, 6, 3, 0, '+'},
        {"roll 2d6 plus+3!", 2, 6, 3, 0, '+'}, // other letters vanish
        {"2d6-3", 2, 6, -3, 0, '-'},
        {"3d6", 3, 6, 0, 0, 0},
        {"2d10*10", 2, 10, 0, 10, '*'},
        {"1d100/10", 1, 100, 0, 10, '/'},
        {"2d6*0", 2, 6, 0, 0, '*'},
        {"2d6/0", 2, 6, 0, 0, '/'},
    };
    for (const Case &c : cases) {
        std::int32_t expected = RollFrom(4242, c.count, c.sides, c.modifier);
        if (c.op == '*')
            expected *= c.factor;
        if (c.op == '/' && c.factor != 0)
            expected /= c.factor;
        const std::int32_t after = SharedRandomSeed();
        SetSharedRandomSeed(4242);
        EXPECT_EQ(EvalDice(c.expr), expected) << c.expr;
        EXPECT_EQ(SharedRandomSeed(), after) << c.expr;
    }
}

TEST(Dice, EvalDiceWithoutDiceOrWithBadFields)
{
    EXPECT_EQ(EvalDice("7"), 7);
    EXPECT_EQ(EvalDice("-12"), -12);
    EXPECT_EQ(EvalDice("abc"), 0);
    EXPECT_EQ(EvalDice(""), 0);
    EXPECT_EQ(EvalDice("1+2"), 0);
    EXPECT_EQ(EvalDice("99999999999"), 0);

    EXPECT_THROW(EvalDice("d6"), EDiceConvertError);
    EXPECT_THROW(EvalDice("1d6+2-1"), EDiceConvertError);
    EXPECT_THROW(EvalDice("2d"), EDiceConvertError);
    EXPECT_THROW(EvalDice("2d6+"), EDiceConvertError);
    EXPECT_THROW(EvalDice("-2d6"), EDiceConvertError); // the "-" stands before the "d"
    EXPECT_THROW(EvalDice("1d6d6"), EDiceConvertError);
    EXPECT_THROW(EvalDice("99999999999d6"), EDiceConvertError);
}

TEST(Dice, EvalDiceArithmeticNeverTraps)
{
    // The program's own rolls wrap at 32 bits instead of overflowing.
    EXPECT_EQ(RollDice(1, 1, 2147483647), std::numeric_limits<std::int32_t>::min());
    // Expressions from outside that could leave 32 bits are refused instead.
    EXPECT_THROW(EvalDice("1d1+2147483647"), EDiceRangeError);
    EXPECT_THROW(EvalDice("2d1*2147483647"), EDiceRangeError);
}

// Absurd counts would roll for minutes and wrap; they are refused at once.
TEST(Dice, EvalDiceRefusesAbsurdCountsAndSides)
{
    EXPECT_THROW(EvalDice("2147483647d6"), EDiceRangeError);
    EXPECT_THROW(EvalDice("2147483647d2147483647"), EDiceRangeError);
    EXPECT_THROW(EvalDice("1d2000000"), EDiceRangeError);
    EXPECT_THROW(EvalDice("10000d1000000"), EDiceRangeError);
    EXPECT_THROW(EvalDice("10d6*300000000"), EDiceRangeError);
    EXPECT_THROW(EvalDice("3d6+2147483645"), EDiceRangeError);
    EXPECT_EQ(EvalDice("1d1-2147483647"), -2147483646); // the lowest total still fits
    EXPECT_THROW(EvalDiceInString("{100000d6}"), EDiceRangeError);
    try {
        EvalDice("2147483647d6");
    } catch (const EDiceRangeError &e) {
        EXPECT_NE(std::string(e.what()).find("at most 10000 dice"), std::string::npos);
    }
    // The limits themselves still roll.
    const std::int32_t many = EvalDice("10000d6");
    EXPECT_GE(many, 10000);
    EXPECT_LE(many, 60000);
    const std::int32_t wide = EvalDice("1d1000000+5");
    EXPECT_GE(wide, 6);
    EXPECT_LE(wide, 1000005);
    EXPECT_LE(EvalDice("2d6*100000000"), 1200000000);
}

TEST(Dice, DiceInText)
{
    SetSharedRandomSeed(808);
    const std::int32_t roll = RollDice(2, 6, 0);
    SetSharedRandomSeed(808);
    EXPECT_EQ(EvalDiceInString("You find {2d6} coins"), "You find " + std::to_string(roll) + " coins");

    EXPECT_EQ(EvalDiceInString("no dice here"), "no dice here");
    EXPECT_EQ(EvalDiceInString("a } b { c"), "a } b { c");
    EXPECT_EQ(EvalDiceInString("{7}{abc}"), "70");

    std::string eleven;
    for (int i = 0; i < 11; ++i)
        eleven += "{1d1}";
    EXPECT_EQ(EvalDiceInString(eleven), "1111111111{1d1}");

    EXPECT_THROW(EvalDiceInString("{d6}"), EDiceConvertError);
}
