#include <gtest/gtest.h>

#include "foundation/Validators.h"

using namespace vt;

TEST(CheckFiscalCode, NoVerdictUnlessSixteenCharacters)
{
    EXPECT_EQ(CheckFiscalCode(QStringLiteral("01234567890")), std::nullopt); // a company's fiscal code
    EXPECT_EQ(CheckFiscalCode(QString()), std::nullopt);
    EXPECT_EQ(CheckFiscalCode(QStringLiteral("RSSMRA85T10A562SX")), std::nullopt);
}

TEST(CheckFiscalCode, Cases)
{
    struct Case {
        const char* code;
        bool ok;
    } cases[] = {
        {"RSSMRA85T10A562S", true},
        {"RSSMRA80A01H501U", true},
        {"MRTMTT25D09F205Z", true},
        {"RSSMRA85T10A562T", false}, // wrong check letter
        {"RSSMRA85T11A562S", false}, // one digit changed
        {"RSSMRB85T10A562S", false}, // one letter changed
        {"rssmra85t10a562s", false}, // lower case is not a capital letter
        {"RSSMRA85T1-A562S", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckFiscalCode(QString::fromLatin1(c.code)), std::optional<bool>(c.ok)) << c.code;
}

TEST(CheckVatNumber, Cases)
{
    struct Case {
        const char* vat;
        bool ok;
    } cases[] = {
        {"12345678903", true},  {"00743110157", true},  {"00488410010", true}, {"06655971007", true},
        {"12345678901", false}, {"00743110158", false}, {"00743110167", false},
        {"1234567890", false},  {"123456789031", false}, {"1234567890A", false}, {"", false},
        {" 2345678903", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckVatNumber(QString::fromLatin1(c.vat)), c.ok) << c.vat;
}

TEST(CheckExciseNumber, Cases)
{
    struct Case {
        const char* text;
        const char* allowed;
        bool ok;
    } cases[] = {
        {"IT00ABC12345A", "VX", false}, // seventh character C
        {"IT00ABV12345A", "VX", true},
        {"IT00ABX12345A", "VX", true},
        {"IT00ABX12345A", "V", false}, // X only for the head office
        {"IT00ABV12345A00001", "V", true},
        {"IT00ABV12345A-x.", "V", true}, // after the 13th nothing is examined
        {"IT01ABV12345A", "VX", false},
        {"it00ABV12345A", "VX", false},
        {"IT00ABV1234", "VX", false},
        {"IT00ABV12345", "VX", false}, // 12 characters
        {"IT00ABV12345a", "VX", false},
        {"IT00AB V2345A", "VX", false},
        {"", "VX", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckExciseNumber(QString::fromLatin1(c.text), QString::fromLatin1(c.allowed)), c.ok)
            << c.text << " / " << c.allowed;
}
