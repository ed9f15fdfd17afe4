// Text and number conversions, random numbers and addresses (framework/utils.h).

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "framework/production.h"
#include "framework/seam.h"
#include "framework/utils.h"
#include "tests/doubles/doubles.h"

namespace {

using fw::Split;
using fw::Str;
using fw::StrComp;
using fw::Val;
using Pieces = std::vector<std::string>;

// Str: plain digits for whole values, "%.15g" otherwise, never the locale's comma, NAN/INF named.
TEST(UtilsTest, StrFormatsNumbers) {
    EXPECT_EQ(Str(std::int64_t{0}), "0");
    EXPECT_EQ(Str(-42), "-42");
    EXPECT_EQ(Str(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(Str(8.0), "8");
    EXPECT_EQ(Str(-3.0), "-3");
    EXPECT_EQ(Str(-0.0), "0");
    EXPECT_EQ(Str(123456789012345.0), "123456789012345");
    EXPECT_EQ(Str(1e15), "1e+15");
    EXPECT_EQ(Str(0.5), "0.5");
    EXPECT_EQ(Str(-2.25), "-2.25");
    EXPECT_EQ(Str(0.1), "0.1");
    EXPECT_EQ(Str(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(Str(1e-5), "1e-05");
    EXPECT_EQ(Str(std::nan("")), "NAN");
    EXPECT_EQ(Str(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(Str(-std::numeric_limits<double>::infinity()), "-INF");
    // A decimal-comma locale (when installed) changes nothing.
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
        EXPECT_EQ(Str(2.5), "2.5");
        EXPECT_EQ(Val("2.5"), 2.5);
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

// Val: blanks skipped, sign, digits, fraction, exponent; the number at the start or 0.
TEST(UtilsTest, ValReadsLeadingNumber) {
    EXPECT_EQ(Val("12abc"), 12.0);
    EXPECT_EQ(Val("abc"), 0.0);
    EXPECT_EQ(Val(""), 0.0);
    EXPECT_EQ(Val(".5"), 0.5);
    EXPECT_EQ(Val("-7"), -7.0);
    EXPECT_EQ(Val("+7"), 7.0);
    EXPECT_EQ(Val("-.5"), -0.5);
    EXPECT_EQ(Val("5."), 5.0);
    EXPECT_EQ(Val("1e3"), 1000.0);
    EXPECT_EQ(Val("2.5E-1x"), 0.25);
    EXPECT_EQ(Val("1e"), 1.0);      // an 'e' without digits is not part of the number
    EXPECT_EQ(Val("1e+"), 1.0);
    EXPECT_EQ(Val("3else"), 3.0);
    EXPECT_EQ(Val("  42\n"), 42.0);
    EXPECT_EQ(Val("\t 9"), 9.0);
    EXPECT_EQ(Val("0x10"), 0.0);    // no hexadecimal
    EXPECT_EQ(Val("."), 0.0);
    EXPECT_EQ(Val("-"), 0.0);
    EXPECT_EQ(Val("- 5"), 0.0);
    EXPECT_EQ(Val("007"), 7.0);
    EXPECT_EQ(Val("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val("-1e999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val("1e-999"), 0.0);
    EXPECT_EQ(Val("0.00001e-400"), 0.0);
    EXPECT_EQ(Val("123456e99999999999999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val(std::string(400, '9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val("inf"), 0.0);
    EXPECT_EQ(Val("nan"), 0.0);
}

// Split: pieces in order, empty pieces kept, one more piece than separators.
TEST(UtilsTest, SplitKeepsEmptyPieces) {
    EXPECT_EQ(Split("", "|"), (Pieces{""}));
    EXPECT_EQ(Split("4b0r|", "|"), (Pieces{"4b0r", ""}));
    EXPECT_EQ(Split("a||b", "|"), (Pieces{"a", "", "b"}));
    EXPECT_EQ(Split("|", "|"), (Pieces{"", ""}));
    EXPECT_EQ(Split("abc", "|"), (Pieces{"abc"}));
    EXPECT_EQ(Split("a::b::", "::"), (Pieces{"a", "b", ""}));
    EXPECT_EQ(Split("a|b", ""), (Pieces{"a|b"}));
}

// StrComp: mode 0 compares unsigned bytes; mode 1 folds ASCII case first; 0 only for identical texts.
TEST(UtilsTest, StrCompModes) {
    EXPECT_EQ(StrComp("abc", "abc", 0), 0);
    EXPECT_EQ(StrComp("abc", "abc", 1), 0);
    EXPECT_LT(StrComp("B", "a", 0), 0);
    EXPECT_GT(StrComp("B", "a", 1), 0);
    EXPECT_LT(StrComp("apple", "Banana", 1), 0);
    EXPECT_LT(StrComp("ab", "abc", 0), 0);
    EXPECT_LT(StrComp("ab", "ABC", 1), 0);
    EXPECT_GT(StrComp("\xff", "a", 0), 0);  // bytes are unsigned
    EXPECT_NE(StrComp("abc", "ABC", 1), 0);
    EXPECT_EQ(StrComp("abc", "ABC", 1), -StrComp("ABC", "abc", 1));
    EXPECT_NE(StrComp(std::string("a\0b", 3), std::string("a\0c", 3), 1), 0);
}

// Random.InRange stays within low..high, reaches both ends (production entropy source); low > high is swapped.
TEST(UtilsTest, RandomInRangeCoversBothBounds) {
    fw::ScopedSeam seam(fw::Seam{nullptr, &fw::production::Entropy(), nullptr, nullptr, nullptr});
    fw::Random random;
    std::set<std::int32_t> seen;
    for (int i = 0; i < 2000; ++i) {
        const auto v = random.InRange(3, 7);
        ASSERT_GE(v, 3);
        ASSERT_LE(v, 7);
        seen.insert(v);
    }
    EXPECT_EQ(seen, (std::set<std::int32_t>{3, 4, 5, 6, 7}));
    EXPECT_EQ(random.InRange(5, 5), 5);
    for (int i = 0; i < 100; ++i) {
        const auto v = random.InRange(7, 3);
        ASSERT_GE(v, 3);
        ASSERT_LE(v, 7);
    }
    const auto lo = std::numeric_limits<std::int32_t>::min();
    const auto hi = std::numeric_limits<std::int32_t>::max();
    (void)random.InRange(lo, hi);
    EXPECT_EQ(random.InRange(hi, hi), hi);
    // Two engines of the entropy source are seeded apart.
    auto a = fw::production::Entropy().NewEngine();
    auto b = fw::production::Entropy().NewEngine();
    std::vector<std::int32_t> x, y;
    for (int i = 0; i < 8; ++i) {
        x.push_back(a->InRange(0, 1000000));
        y.push_back(b->InRange(0, 1000000));
    }
    EXPECT_NE(x, y);
}

// ShowURL hands the address to the seam's URL opener unchanged.
TEST(UtilsTest, ShowUrlGoesThroughSeam) {
    fw::testing::RecordingUrls urls;
    fw::ScopedSeam seam(fw::Seam{nullptr, nullptr, nullptr, nullptr, &urls});
    fw::ShowURL("mailto:someone@example.com");
    fw::ShowURL("https://example.com/a?b=c");
    EXPECT_EQ(urls.opened, (std::vector<std::string>{"mailto:someone@example.com", "https://example.com/a?b=c"}));
}

}  // namespace
