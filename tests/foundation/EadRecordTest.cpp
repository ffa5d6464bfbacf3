#include <gtest/gtest.h>

#include <vector>

#include "foundation/EadRecord.h"

using namespace vt;

namespace {
struct Expected {
    const char* name;
    int offset;
    char kind; // 'i' int32, 'd' double, 't' text
    int width; // characters of a text field
};

// Copied from the record layout tables.
const std::vector<Expected> kEad = {
    {"progressivo", 0, 'i', 0},         {"LINGUA", 4, 't', 2},
    {"riferimentoLocale", 7, 't', 22},  {"riservato", 30, 't', 22},
    {"progressivoRif", 56, 'i', 0},     {"dataFlusso", 64, 'd', 0},
    {"numeroFlusso", 72, 'i', 0},       {"stato", 76, 't', 1},
    {"ARC", 78, 't', 21},               {"TIPMES", 100, 't', 1},
    {"TIPDES", 102, 't', 1},            {"unitaDurata", 104, 'i', 0},
    {"durata", 108, 'i', 0},            {"RESTRA", 112, 't', 1},
    {"INVDIF", 114, 't', 1},            {"accisaSpeditore", 116, 't', 18},
    {"denominazioneSpeditore", 135, 't', 100}, {"indirizzoSpeditore", 236, 't', 65},
    {"civicoSpeditore", 302, 't', 11},  {"capSpeditore", 314, 't', 10},
    {"cittaSpeditore", 325, 't', 50},   {"SEDELS", 376, 't', 3},
    {"COIDLS", 380, 't', 18},           {"DENLSP", 399, 't', 100},
    {"INDLSP", 500, 't', 65},           {"NUCLSP", 566, 't', 11},
    {"CAPLSP", 578, 't', 10},           {"CITLSP", 589, 't', 50},
    {"UFFSPE", 640, 't', 8},            {"ufficioCompetente", 649, 't', 8},
    {"COIDDE", 658, 't', 18},           {"DENDES", 677, 't', 100},
    {"INDDES", 778, 't', 65},           {"NUCDES", 844, 't', 11},
    {"CAPDES", 856, 't', 10},           {"CITDES", 867, 't', 50},
    {"LINDES", 918, 't', 2},            {"STAMEM", 921, 't', 2},
    {"CERESE", 924, 't', 100},          {"COIDLD", 1025, 't', 18},
    {"DENLDE", 1044, 't', 100},         {"INDLDE", 1145, 't', 65},
    {"NUCLDE", 1211, 't', 11},          {"CAPLDE", 1223, 't', 10},
    {"CITLDE", 1234, 't', 50},          {"LINLDE", 1285, 't', 2},
    {"uffesp", 1288, 't', 8},           {"MODTRA", 1297, 't', 2},
    {"INFTRA", 1300, 't', 100},         {"PIAZTR", 1401, 't', 18},
    {"DENAZT", 1420, 't', 100},         {"INDAZT", 1521, 't', 65},
    {"NUCAZT", 1587, 't', 11},          {"CAPAZT", 1599, 't', 10},
    {"CITAZT", 1610, 't', 50},          {"LINAZT", 1661, 't', 2},
    {"secondoId", 1664, 't', 18},       {"secondoDenominazione", 1683, 't', 100},
    {"secondoIndirizzo", 1784, 't', 65}, {"secondoCivico", 1850, 't', 11},
    {"secondoCap", 1862, 't', 10},      {"secondoCitta", 1873, 't', 50},
    {"secondoLingua", 1924, 't', 2},    {"NUMFAT", 1927, 't', 35},
    {"DATFAT", 1968, 'd', 0},           {"tipoSpeditore", 1976, 't', 1},
    {"DATSPE", 1984, 'd', 0},           {"ORASPE", 1992, 't', 5},
    {"TIPGAR", 1998, 't', 4},           {"GARSPE", 2003, 't', 17},
    {"TGASPE", 2021, 't', 1},           {"IMGASP", 2024, 'd', 0},
    {"GARDES", 2032, 't', 17},          {"TGADES", 2050, 't', 1},
    {"IMGADE", 2056, 'd', 0},           {"GARTRA", 2064, 't', 17},
    {"TGATRA", 2082, 't', 1},           {"IMGATR", 2088, 'd', 0},
    {"GARPRO", 2096, 't', 17},          {"TGAPRO", 2114, 't', 1},
    {"IMGPRO", 2120, 'd', 0},           {"CATRAG", 2128, 't', 13},
    {"PITRAG", 2142, 't', 18},          {"DENTRG", 2161, 't', 100},
    {"INDTRG", 2262, 't', 65},          {"NUCTRG", 2328, 't', 11},
    {"CAPTRG", 2340, 't', 10},          {"CITTRG", 2351, 't', 50},
    {"LINTRG", 2402, 't', 2},           {"CAPROG", 2405, 't', 13},
    {"PIPROG", 2419, 't', 18},          {"DENPRG", 2438, 't', 100},
    {"INDPRG", 2539, 't', 65},          {"NUCPRG", 2605, 't', 11},
    {"CAPPRG", 2617, 't', 10},          {"CITPRG", 2628, 't', 50},
    {"LINPRG", 2679, 't', 2},
};
const std::vector<std::pair<int, int>> kEadFillers = {{53, 3},    {60, 4},    {1963, 5}, {1978, 6}, {2023, 1},
                                                       {2052, 4}, {2084, 4}, {2116, 4}, {2682, 6}};

const std::vector<Expected> kLine = {
    {"numero", 0, 'i', 0},        {"progressivo", 4, 'i', 0},   {"rigaProdotto", 8, 'i', 0},
    {"categoria", 12, 't', 1},    {"CODIMB", 14, 't', 2},       {"paeseImportazione", 17, 't', 2},
    {"riservato20", 20, 't', 2},  {"codiceAccisa", 23, 't', 4}, {"codiceCadd", 28, 't', 4},
    {"riservato33", 33, 't', 5},  {"zona", 39, 't', 7},         {"codiceNC", 47, 't', 8},
    {"COAZPR", 56, 't', 250},     {"LEDEPR", 307, 't', 250},    {"META20", 558, 't', 250},
    {"SIGIMB", 809, 't', 250},    {"INSIIM", 1060, 't', 250},   {"trattamenti", 1311, 't', 250},
    {"certificazione", 1562, 't', 250}, {"DESCOM", 1813, 't', 250}, {"NUMIMB", 2064, 'i', 0},
    {"NUMCON", 2072, 'd', 0},     {"VOLCON", 2080, 'd', 0},     {"TOTLIT", 2088, 'd', 0},
    {"GRADOA", 2096, 'd', 0},     {"PNETTO", 2104, 'd', 0},     {"PLORDO", 2112, 'd', 0},
    {"riservato2120", 2120, 'd', 0},
};

template <class R>
void expectLayout(const std::vector<Expected>& expected)
{
    auto fields = R::fields();
    ASSERT_EQ(fields.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const auto& f = fields[i];
        const auto& e = expected[i];
        EXPECT_STREQ(f.name, e.name);
        EXPECT_EQ(f.offset, e.offset) << e.name;
        const FieldKind kind = e.kind == 'i' ? FieldKind::Int32 : e.kind == 'd' ? FieldKind::Double : FieldKind::Text;
        EXPECT_EQ(f.kind, kind) << e.name;
        if (e.kind == 't') {
            EXPECT_EQ(f.width, e.width) << e.name;
        }
        // Numbers sit at their natural alignment.
        if (e.kind == 'i') {
            EXPECT_EQ(e.offset % 4, 0) << e.name;
        }
        if (e.kind == 'd') {
            EXPECT_EQ(e.offset % 8, 0) << e.name;
        }
    }
}

// Every byte of the record belongs to exactly one field or filler.
template <class R>
void expectTiling()
{
    std::vector<int> owner(R::Size, 0);
    for (const auto& f : R::fields())
        for (int b = f.offset; b < f.offset + f.byteSize(); ++b) {
            ASSERT_LT(b, R::Size) << f.name;
            ++owner[b];
        }
    for (const auto& g : R::fillers())
        for (int b = g.offset; b < g.offset + g.size; ++b)
            ++owner[b];
    for (int b = 0; b < R::Size; ++b)
        EXPECT_EQ(owner[b], 1) << "byte " << b;
}

void putText(QByteArray& img, int off, int width, const char* text)
{
    img[off] = char(width);
    int i = 0;
    for (; text[i]; ++i)
        img[off + 1 + i] = text[i];
    for (; i < width; ++i)
        img[off + 1 + i] = ' ';
}
} // namespace

TEST(EadRecord, HeaderLayoutMatchesTheTable)
{
    EXPECT_EQ(TRecEad::Size, 2688);
    expectLayout<TRecEad>(kEad);
    auto fillers = TRecEad::fillers();
    ASSERT_EQ(fillers.size(), kEadFillers.size());
    for (size_t i = 0; i < fillers.size(); ++i) {
        EXPECT_EQ(fillers[i].offset, kEadFillers[i].first);
        EXPECT_EQ(fillers[i].size, kEadFillers[i].second);
    }
    expectTiling<TRecEad>();
    EXPECT_EQ(encodeEad(blankEad()).size(), 2688);
}

TEST(EadRecord, LineLayoutMatchesTheTable)
{
    EXPECT_EQ(TRecDettaglio::Size, 2128);
    expectLayout<TRecDettaglio>(kLine);
    ASSERT_EQ(TRecDettaglio::fillers().size(), 1u);
    EXPECT_EQ(TRecDettaglio::fillers()[0].offset, 2068);
    EXPECT_EQ(TRecDettaglio::fillers()[0].size, 4);
    expectTiling<TRecDettaglio>();
    EXPECT_EQ(encodeLine(blankLine()).size(), 2128);
}

TEST(EadRecord, HandBuiltHeaderImageDecodesAndEncodesToTheSameBytes)
{
    QByteArray img(2688, '\0');
    for (const auto& e : kEad)
        if (e.kind == 't')
            putText(img, e.offset, e.width, "");
    img[0] = 0x05;                              // progressive 5
    img[56] = 0x05;
    const unsigned char date[8] = {0, 0, 0, 0, 0x80, 0xCE, 0xE6, 0x40}; // 46708.0 = 17/11/2027
    for (int i = 0; i < 8; ++i)
        img[1984 + i] = char(date[i]);
    img[72] = 0x0C;                             // flow number 12
    putText(img, 76, 1, "I");
    putText(img, 78, 21, "27ITXYZ00000000000012");
    putText(img, 677, 100, "Weinhaus M\xFCller");  // "ü" in Windows-1252
    putText(img, 1992, 5, "23:00");
    putText(img, 1998, 4, "12");
    img[104] = 1;                               // hours
    img[108] = 0x18;                            // 24

    TRecEad r = decodeEad(img);
    EXPECT_EQ(r.progressivo, 5);
    EXPECT_EQ(r.progressivoRif, 5);
    EXPECT_EQ(r.DATSPE, 46708.0);
    EXPECT_EQ(r.numeroFlusso, 12);
    EXPECT_EQ(r.stato, QStringLiteral("I"));
    EXPECT_EQ(r.ARC, QStringLiteral("27ITXYZ00000000000012"));
    EXPECT_EQ(r.DENDES, QStringLiteral("Weinhaus Müller").leftJustified(100, ' '));
    EXPECT_EQ(r.ORASPE, QStringLiteral("23:00"));
    EXPECT_EQ(r.TIPGAR, QStringLiteral("12  "));
    EXPECT_EQ(r.unitaDurata, 1);
    EXPECT_EQ(r.durata, 24);
    EXPECT_EQ(r.LINGUA, QStringLiteral("  "));
    EXPECT_EQ(encodeEad(r), img);

    // Working form trims; encoding pads again to the same bytes.
    eadToWorkingForm(r);
    EXPECT_EQ(r.DENDES, QStringLiteral("Weinhaus Müller"));
    EXPECT_EQ(r.TIPGAR, QStringLiteral("12"));
    EXPECT_EQ(r.LINGUA, QString());
    EXPECT_EQ(encodeEad(r), img);
}

TEST(EadRecord, HandBuiltLineImageDecodesAndEncodesToTheSameBytes)
{
    QByteArray img(2128, '\0');
    for (const auto& e : kLine)
        if (e.kind == 't')
            putText(img, e.offset, e.width, "");
    img[0] = 3;
    img[4] = 7;
    putText(img, 12, 1, "1");
    putText(img, 14, 2, "BO");
    putText(img, 56, 250, "PRAZ01");
    putText(img, 558, 250, "W200-22042138-00-0000");
    img[2064] = 0x78;                             // 120 packages
    const unsigned char litres[8] = {0, 0, 0, 0, 0, 0x20, 0x6C, 0x40}; // 225.0
    for (int i = 0; i < 8; ++i)
        img[2088 + i] = char(litres[i]);

    TRecDettaglio r = decodeLine(img);
    EXPECT_EQ(r.numero, 3);
    EXPECT_EQ(r.progressivo, 7);
    EXPECT_EQ(r.categoria, QStringLiteral("1"));
    EXPECT_EQ(r.CODIMB, QStringLiteral("BO"));
    EXPECT_EQ(r.UNITRA(), QStringLiteral("BO")); // the same slot under its transport name
    EXPECT_EQ(r.META20.trimmed(), QStringLiteral("W200-22042138-00-0000"));
    EXPECT_EQ(r.NUMIMB, 120);
    EXPECT_EQ(r.TOTLIT, 225.0);
    EXPECT_EQ(encodeLine(r), img);
}

TEST(EadRecord, ClearBlanksEveryTextAndZeroesEveryNumber)
{
    TRecEad h;
    h.progressivo = 9;
    h.DATSPE = 46000;
    h.DENDES = QStringLiteral("x");
    clearEad(h);
    EXPECT_EQ(h.progressivo, 0);
    EXPECT_EQ(h.DATSPE, 0.0);
    EXPECT_EQ(h.DENDES, QString(100, QLatin1Char(' ')));
    EXPECT_EQ(h.stato, QStringLiteral(" ")); // a blank state is "compiled, not sent"

    QByteArray bytes = encodeEad(h);
    for (const auto& f : TRecEad::fields())
        if (f.kind == FieldKind::Text) {
            EXPECT_EQ(static_cast<unsigned char>(bytes[f.offset]), f.width) << f.name;
            EXPECT_EQ(bytes.mid(f.offset + 1, f.width), QByteArray(f.width, ' ')) << f.name;
        }
    for (const auto& g : TRecEad::fillers())
        EXPECT_EQ(bytes.mid(g.offset, g.size), QByteArray(g.size, '\0'));

    TRecDettaglio l;
    l.NUMCON = 6;
    l.LEDEPR = QStringLiteral("y");
    clearLine(l);
    EXPECT_EQ(l.NUMCON, 0.0);
    EXPECT_EQ(l.LEDEPR, QString(250, QLatin1Char(' ')));
}

TEST(EadRecord, StoredAndWorkingFormsOfALine)
{
    TRecDettaglio l = blankLine();
    l.COAZPR = QStringLiteral("  PRAZ01 ");
    lineToWorkingForm(l);
    EXPECT_EQ(l.COAZPR, QStringLiteral("PRAZ01"));
    EXPECT_EQ(l.CODIMB, QString());
    lineToStoredForm(l);
    EXPECT_EQ(l.COAZPR, QStringLiteral("PRAZ01").leftJustified(250, ' '));
    EXPECT_EQ(l.CODIMB, QStringLiteral("  "));
}
