#include <gtest/gtest.h>

#include "foundation/CompanyRecord.h"

using namespace vt;

TEST(CompanyRecord, LayoutHasEveryOffsetOfTheTable)
{
    const std::vector<std::pair<std::string, int>> expected = {
        {"number", 0},   {"CACCI1", 4},   {"CACCI2", 23},  {"DENOM1", 42},  {"DENOM2", 143}, {"PARIVA", 244},
        {"CODFIS", 256}, {"INDIR1", 273}, {"INDIR2", 339}, {"NUMCI1", 405}, {"NUMCI2", 417}, {"C_A_P1", 429},
        {"C_A_P2", 440}, {"CITTA1", 451}, {"CITTA2", 502}, {"CODUTE", 553}, {"UFFDO1", 558}, {"UFFDO2", 567},
        {"SEZDOG", 576}, {"CONGAR", 583}, {"CAUESO", 601}, {"TIPOIN", 603}};
    auto fields = TRecAzienda::fields();
    ASSERT_EQ(fields.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(fields[i].name, expected[i].first);
        EXPECT_EQ(fields[i].offset, expected[i].second) << expected[i].first;
    }
    EXPECT_EQ(TRecAzienda::Size, 608);
    EXPECT_EQ(encodeCompany(blankCompany()).size(), 608);
}

TEST(CompanyRecord, HandBuiltImageDecodesAndEncodesToTheSameBytes)
{
    QByteArray img(608, '\0');
    // Every slot blank (length = width, spaces), then a few values.
    const std::vector<std::pair<int, int>> textSlots = {{4, 18},  {23, 18}, {42, 100}, {143, 100}, {244, 11}, {256, 16}, {273, 65},
                            {339, 65}, {405, 11}, {417, 11}, {429, 10},  {440, 10},  {451, 50}, {502, 50},
                            {553, 4},  {558, 8},  {567, 8},  {576, 6},   {583, 17},  {601, 1},  {603, 1}};
    for (auto [off, width] : textSlots) {
        img[off] = char(width);
        for (int i = 1; i <= width; ++i)
            img[off + i] = ' ';
    }
    img[0] = 7; // number 7, little-endian
    auto put = [&](int off, const char* t) { for (int i = 0; t[i]; ++i) img[off + 1 + i] = t[i]; };
    put(42, "Rossi srl");
    put(451, "CITT\xC0");    // "CITTÀ" in Windows-1252
    put(603, "2");

    TRecAzienda r = decodeCompany(img);
    EXPECT_EQ(r.number, 7);
    EXPECT_EQ(r.DENOM1, QStringLiteral("Rossi srl"));
    EXPECT_EQ(r.CITTA1, QStringLiteral("CITTÀ"));
    EXPECT_EQ(r.TIPOIN, QStringLiteral("2"));
    EXPECT_EQ(r.CACCI1, QString());
    EXPECT_EQ(encodeCompany(r), img);
}

TEST(CompanyRecord, BlankRecordReadsBackEmpty)
{
    TRecAzienda r = decodeCompany(encodeCompany(blankCompany()));
    EXPECT_EQ(r.number, 0);
    for (const auto& f : TRecAzienda::fields()) {
        if (f.kind == FieldKind::Text) {
            EXPECT_TRUE(static_cast<const QString*>(f.cref(r))->isEmpty()) << f.name;
        }
    }
}

TEST(CompanyRecord, TextOutsideWindows1252IsRefusedNotWritten)
{
    TRecAzienda r = blankCompany();
    r.DENOM1 = QStringLiteral("Cantina \u4E2D");
    EXPECT_STREQ(unencodableField(r), "DENOM1");
    EXPECT_THROW(encodeCompany(r), EncodingError);
    r.DENOM1 = QStringLiteral("Caffè € “ok”");
    EXPECT_EQ(unencodableField(r), nullptr);
    EXPECT_EQ(decodeCompany(encodeCompany(r)).DENOM1, r.DENOM1);
}
