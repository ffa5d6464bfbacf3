#include <gtest/gtest.h>

#include <climits>

#include "foundation/NumberFormat.h"

using namespace vt;

TEST(ParseInteger, Cases)
{
    struct Case {
        const char* text;
        qint32 value;
    } cases[] = {
        {"1.234", 1234},
        {" -12", -12},
        {"12,5", 125},
        {"12-", -12},
        {"a1b2c3", 123},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", 0},          // outside the 32-bit range
        {"99999999999999999999", 0}, // twenty digits
        {"00000000000000000042", 42},
        {"                   56789", 5}, // only the first 20 characters count
        {"                   5-", 5},    // the minus sign is the 21st character
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseInteger(QString::fromLatin1(c.text)), c.value) << '"' << c.text << '"';
}

TEST(ParseDecimal, Cases)
{
    struct Case {
        const char* text;
        qint16 decimals;
        double value;
    } cases[] = {
        {"1.234,567", 2, 1234.57},
        {"-0,5", 2, -0.5},
        {"12", 0, 12},
        {"12", 3, 12},
        {"1.000.000", 0, 1000000},
        {"0,125", 2, 0.13},  // half away from zero
        {"-0,125", 2, -0.13},
        {"2,5", 0, 3},
        {"-2,5", 0, -3},
        {",5", 1, 0.5},
        {"12,", 2, 12},
        {"1,2,3", 2, 1.23},  // later commas are ignored
        {"0,0001", 3, 0},
        {"12 345,6", 1, 12345.6},
        {"000000000000000001,577777", 2, 1.5}, // characters 21 to 25 are ignored
        {"1,2.3", 2, 0},      // a point after the decimal comma: not a number
        {"", 2, 0},
        {"abc", 2, 0},
        {"-", 2, 0},
        {",", 2, 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(ParseDecimal(QString::fromLatin1(c.text), c.decimals), c.value)
            << '"' << c.text << "\" " << c.decimals;
}

TEST(ParseDecimal, ZeroIsNeverNegative)
{
    EXPECT_FALSE(std::signbit(ParseDecimal(QStringLiteral("-0,001"), 2)));
}

TEST(RoundTo, Cases)
{
    struct Case {
        double in;
        int decimals;
        double out;
    } cases[] = {
        {2.5, 0, 3},          {-2.5, 0, -3},         {1.005, 2, 1.01},   {0.125, 2, 0.13},
        {-0.125, 2, -0.13},   {1.2345649, 2, 1.23},  {1.004999, 2, 1.01}, // reduced to 1,00500 first
        {1.234564, 5, 1.23456}, {1.2345678, 7, 1.23457}, {123.456, 0, 123}, {-0.4, 0, 0},
        {1234567.891, 255, 1234567.891},
    };
    for (const auto& c : cases) {
        double v = c.in;
        RoundTo(v, c.decimals);
        EXPECT_DOUBLE_EQ(v, c.out) << c.in << " to " << c.decimals;
    }
}

TEST(FormatNumber, Cases)
{
    struct Case {
        double value;
        int width;
        qint16 decimals;
        const char* text;
    } cases[] = {
        {1234.5, 10, 2, "      1.234,50"},
        {-1234567, 8, 0, "-1.234.567"},
        {0, 3, 0, "   0"},
        {0.125, 1, 0, " 0,125"},
        {-1.25, 3, 0, "  -1,25"},
        {-1.25, 3, -1, "  -1,25"},
        {1.1, 4, 0, "    1,1"},
        {0.999999, 2, 0, "  1"},          // the fraction reduces to 1,00000: no decimals
        {1.123456789, 0, 0, "1,12346"},  // at most five automatic decimals
        {2.125, 4, 2, "    2,13"},
        {0.5, 5, 2, "     0,50"},
        {12, 5, 3, "    12,000"},
        {999.999, 2, 2, "1.000,00"},
        {1234567890123456.0, 0, 0, "1234.567.890.123.456"}, // at most four thousands points
        {123456789012345.0, 0, 0, "123.456.789.012.345"},
        {-0.001, 3, 2, "   0,00"},       // rounds to zero: no minus sign
        {1e6, 25, 2, "                 1.000.000,00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatNumber(c.value, c.width, c.decimals).toStdString(), std::string(c.text))
            << c.value << " " << c.width << " " << c.decimals;
}

TEST(FormatNumber, SurvivesExtremes)
{
    EXPECT_EQ(FormatNumber(std::nan(""), 2, 2), QStringLiteral("  0,00"));
    EXPECT_FALSE(FormatNumber(1e300, 3, 2).isEmpty());
    EXPECT_EQ(FormatNumber(5, -7, 0), QStringLiteral("5"));
    EXPECT_EQ(FormatNumber(5, INT_MAX, 0).size(), 1001);
}
