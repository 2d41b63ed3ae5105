// Reading the numbers of a coastline file: count lines, point lines, and the
// conversion of degrees to stored units.

#include "map/coast_number.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using korvane::CoastPoint;
using korvane::ReadCountLine;
using korvane::ReadPointLine;
using korvane::ToStoredUnits;

constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t kInt32Min = std::numeric_limits<int32_t>::min();

uint64_t Bits(double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof(bits));
    return bits;
}

// What sscanf stores for the line, both numbers starting at 0.
CoastPoint Scanned(const std::string &line)
{
    CoastPoint p;
    std::sscanf(line.c_str(), "%lf %lf", &p.longitudeDeg, &p.latitudeDeg);
    return p;
}

// Expects ReadPointLine to store exactly what sscanf stores, bit for bit.
void ExpectReadsLikeSscanf(const std::string &line)
{
    const CoastPoint expected = Scanned(line);
    const CoastPoint read = ReadPointLine(line.c_str());
    EXPECT_EQ(Bits(read.longitudeDeg), Bits(expected.longitudeDeg))
        << "line \"" << line << "\": longitude " << read.longitudeDeg << ", sscanf " << expected.longitudeDeg;
    EXPECT_EQ(Bits(read.latitudeDeg), Bits(expected.latitudeDeg))
        << "line \"" << line << "\": latitude " << read.latitudeDeg << ", sscanf " << expected.latitudeDeg;
}

TEST(CoastNumberTest, CountLinesReadLikeStrtolHeldWithinInt32)
{
    EXPECT_EQ(ReadCountLine("1421"), 1421);
    EXPECT_EQ(ReadCountLine("  \t57"), 57);
    EXPECT_EQ(ReadCountLine("\v\f\r 8"), 8);
    EXPECT_EQ(ReadCountLine("+12"), 12);
    EXPECT_EQ(ReadCountLine("-7"), -7);
    EXPECT_EQ(ReadCountLine("12.9"), 12);
    EXPECT_EQ(ReadCountLine("3 4"), 3);
    EXPECT_EQ(ReadCountLine("42abc"), 42);
    EXPECT_EQ(ReadCountLine("007"), 7);
    // No digits: 0.
    EXPECT_EQ(ReadCountLine(""), 0);
    EXPECT_EQ(ReadCountLine("abc"), 0);
    EXPECT_EQ(ReadCountLine("-"), 0);
    EXPECT_EQ(ReadCountLine("- 5"), 0);
    EXPECT_EQ(ReadCountLine("+-3"), 0);
    EXPECT_EQ(ReadCountLine("0x10"), 0);
    // The ends of int32 and beyond them: held at the end, never wrapped.
    EXPECT_EQ(ReadCountLine("2147483647"), kInt32Max);
    EXPECT_EQ(ReadCountLine("2147483648"), kInt32Max);
    EXPECT_EQ(ReadCountLine("4294967297"), kInt32Max);
    EXPECT_EQ(ReadCountLine("99999999999999999999999999"), kInt32Max);
    EXPECT_EQ(ReadCountLine("-2147483648"), kInt32Min);
    EXPECT_EQ(ReadCountLine("-2147483649"), kInt32Min);
    EXPECT_EQ(ReadCountLine("-99999999999999999999999999"), kInt32Min);

    // Within int32 the value is strtol's.
    for (const char *line : {"  -123456789xyz", "+2000000000", "0", "-0", "\t65536\r"})
        EXPECT_EQ(ReadCountLine(line), std::strtol(line, nullptr, 10)) << line;
}

TEST(CoastNumberTest, PointLinesStoreWhatSscanfStores)
{
    const std::string longDigits(200, '7');
    const std::vector<std::string> lines = {
        // Common forms.
        "-12.345 67.89", "180 -16.169", "12.34567 -45.6789", "-0.0004 0.0004", "0 0", "-0 -0.0",
        // Signs, white space, exponents, points without digits on one side.
        "+1.5 -2.5", "  \t7 8", "\v\f\r7\t\t8", "1e3 2E-2", "1E+3 2e+02", ".5 -.5", "5. 6.", "-.5e1 +.5E-1",
        // Special values, in any case.
        "inf -INF", "Infinity -iNfInItY", "nan 1", "-NaN 2", "nan(123) 4", "inf(1) 2", "infinite 3", "infin 3",
        "in 3", "na 1", "+inf +nan",
        // Hexadecimal forms.
        "0x1p3 2", "0X1P-3 -0x.8p1", "0x1.8 2", "0xA 1", "0x 5", "0xg 5", "-0x 5", "0x.p1 2", "0x1p 2",
        "0x1e3 2", "0x1p1e 2", "0x1P+ 4",
        // Out of range.
        "1e400 2", "-1e400 2", "1e-400 2", "4.9e-324 -4.9e-324", "2.2250738585072011e-308 1e-310",
        "1.7976931348623157e308 1.7976931348623159e308",
        // Damaged or unusual separators, partial numbers.
        "1.5,2.5", "1.5", "", "   ", "-", "+", ".", "-.", "--1 2", "1 2 3", "abc", "12.5 xyz", "1e 5",
        "1e+ 5", "1e+x 5", "1.5.3 4", "1..5 2", "..5 2", "1-2", "1+2", "1e5e5 6", "1 e5", "3-4",
        "1.0000000000000000000001 2",
        // Long digit strings and many decimals.
        longDigits + " 1", "0." + longDigits + " 2", "1 " + longDigits + "e-200",
        "0.30000000000000004440892098500626161694526672363281250001 0.1",
        "9007199254740993 9007199254740992.5", "123456789012345678901234567890 -1",
        // At the edges of exact conversion: 2^53, 19 digits, 22 and 23 decimals.
        "9007199254740992 -9007199254740992", "1234567890123456789 0.1234567890123456789",
        "0.0000000000000000000001 -0.00000000000000000000001", "1.0000000000000000000001e22 1e22",
        "1.001 -0.07", "0.0029999999999999999 179.99999999999999999",
    };
    for (const std::string &line : lines)
        ExpectReadsLikeSscanf(line);
}

// Random lines built from the characters that numbers are made of, so that
// every branch of the conversion meets every neighbour.
TEST(CoastNumberTest, RandomLinesStoreWhatSscanfStores)
{
    static const char kAlphabet[] = " \t+-.0123456789eEpPxXaAfFiInNtTyY()\r";
    std::mt19937 random(20240611);
    std::uniform_int_distribution<size_t> pick(0, sizeof(kAlphabet) - 2);
    std::uniform_int_distribution<int> length(0, 24);
    int failures = 0;
    for (int i = 0; i < 200000 && failures < 10; ++i) {
        std::string line;
        const int n = length(random);
        for (int c = 0; c < n; ++c)
            line += kAlphabet[pick(random)];
        const CoastPoint expected = Scanned(line);
        const CoastPoint read = ReadPointLine(line.c_str());
        if (Bits(read.longitudeDeg) != Bits(expected.longitudeDeg) ||
            Bits(read.latitudeDeg) != Bits(expected.latitudeDeg)) {
            ADD_FAILURE() << "line \"" << line << "\": read " << read.longitudeDeg << " " << read.latitudeDeg
                          << ", sscanf " << expected.longitudeDeg << " " << expected.latitudeDeg;
            ++failures;
        }
    }

    // Ordinary coordinates with random digits, in fixed and exponent form.
    std::uniform_real_distribution<double> degrees(-180.0, 180.0);
    for (int i = 0; i < 20000; ++i) {
        char line[64];
        std::snprintf(line, sizeof(line), "%.*f %.*e", i % 12, degrees(random), i % 17, degrees(random));
        ExpectReadsLikeSscanf(line);
    }
}

TEST(CoastNumberTest, StoredUnitsTruncateTowardZeroAndHoldAtTheLimits)
{
    constexpr double k = 1000.0;
    EXPECT_EQ(ToStoredUnits(12.34567, k), 12345);
    EXPECT_EQ(ToStoredUnits(-45.6789, k), -45678);
    EXPECT_EQ(ToStoredUnits(-12.3456, k), -12345);
    EXPECT_EQ(ToStoredUnits(-0.0004, k), 0);
    EXPECT_EQ(ToStoredUnits(0.0004, k), 0);
    EXPECT_EQ(ToStoredUnits(-0.0, k), 0);
    EXPECT_EQ(ToStoredUnits(180.0, k), 180000);
    EXPECT_EQ(ToStoredUnits(-90.0, k), -90000);
    // Near the ends of int32: 2147483647.5 and -2147483648.5 units.
    EXPECT_EQ(ToStoredUnits(2147483.6475, k), kInt32Max);
    EXPECT_EQ(ToStoredUnits(-2147483.6475, k), -2147483647);
    EXPECT_EQ(ToStoredUnits(-2147483.6485, k), kInt32Min);
    // Values no coastline holds: held at the limits, "nan" at 0.
    EXPECT_EQ(ToStoredUnits(3.0e6, k), kInt32Max);
    EXPECT_EQ(ToStoredUnits(-3.0e6, k), kInt32Min);
    EXPECT_EQ(ToStoredUnits(1e300, k), kInt32Max);
    EXPECT_EQ(ToStoredUnits(std::numeric_limits<double>::infinity(), k), kInt32Max);
    EXPECT_EQ(ToStoredUnits(-std::numeric_limits<double>::infinity(), k), kInt32Min);
    EXPECT_EQ(ToStoredUnits(std::nan(""), k), 0);
    EXPECT_EQ(ToStoredUnits(-std::nan(""), k), 0);

    // The path a line takes: "1e400 2" overflows to infinity, then is held.
    const CoastPoint huge = ReadPointLine("1e400 2");
    EXPECT_EQ(ToStoredUnits(huge.longitudeDeg, k), kInt32Max);
    EXPECT_EQ(ToStoredUnits(huge.latitudeDeg, k), 2000);
    const CoastPoint notANumber = ReadPointLine("nan -inf");
    EXPECT_EQ(ToStoredUnits(notANumber.longitudeDeg, k), 0);
    EXPECT_EQ(ToStoredUnits(notANumber.latitudeDeg, k), kInt32Min);
}

} // namespace
