#include <gtest/gtest.h>

#include <QFile>

#include "foundation/Dates.h"
#include "foundation/Listing.h"
#include "support/Fakes.h"
#include "support/TableFixtures.h"

using namespace vt;
using namespace vt::test;

namespace {

QStringList cols(const ListingItem& it)
{
    return it.columns;
}

std::array<int, kListingColumns> widths(std::initializer_list<int> w)
{
    std::array<int, kListingColumns> a{};
    std::copy(w.begin(), w.end(), a.begin());
    return a;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

double day(int y, int m, int d)
{
    return dates::fromDate(QDate(y, m, d));
}

struct ListingTest : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;
    QString listingPath() const { return ctx.temp(QStringLiteral("TABELLA.TXT")); }
};

} // namespace

TEST_F(ListingTest, PlainTableShowsFieldsWithDimAndWritesTheFile)
{
    // Field 2 does not exist (DIM 0); field 3 does, though empty in one row.
    auto s = structureRecord("T004", 1, "Stati", "Codice;Descrizione;Note", {2, 50, 0, 10});
    writeTable(ctx, "T004", &s,
               {tableRow(3, {"IT", "Italia", "ignorato", "x"}), tableRow(7, {"FR", "Francia", "", ""})});
    ctx.TableName = QStringLiteral("T004");
    const Listing l = OpenListing(ctx);

    EXPECT_EQ(l.title, QStringLiteral("Stati"));
    EXPECT_EQ(l.columnTitles, (QStringList{"Codice", "Descrizione", "Note"}));
    ASSERT_EQ(l.items.size(), 2);
    EXPECT_EQ(cols(l.items[0]), (QStringList{"IT", "Italia", "x"}));
    EXPECT_EQ(l.items[0].number, 3);
    EXPECT_EQ(cols(l.items[1]), (QStringList{"FR", "Francia", ""}));
    EXPECT_EQ(l.items[1].number, 7);
    EXPECT_EQ(l.widths, widths({2, 7, 1}));
    EXPECT_EQ(l.shownWidth(0), 5);
    EXPECT_EQ(l.shownWidth(1), 7);
    EXPECT_EQ(fileBytes(listingPath()), QByteArray("IT\r\n@3\r\n\tItalia\r\n\tx\r\nFR\r\n@7\r\n\tFrancia\r\n\t\r\n"));
    EXPECT_EQ(ReadListingFile(listingPath()).size(), 2);
    EXPECT_EQ(ReadListingFile(listingPath())[1].number, 7);
    EXPECT_EQ(ctx.PickedCode, -1);
}

TEST_F(ListingTest, Protocolli)
{
    auto s = structureRecord("PROTOCOLLI", 1, "Protocolli", "Anno;Dal;Prot.;Al;Registro", {4, 6, 20});
    TRecTabella r = tableRow(1, {"2026", "ABC", "Registro vini"});
    r.ValA[0] = day(2026, 1, 15);
    r.ValA[1] = day(2026, 2, 20);
    writeTable(ctx, "PROTOCOLLI", &s, {r});
    const Listing l = BuildListing(ctx, QStringLiteral("PROTOCOLLI"));
    ASSERT_EQ(l.items.size(), 1);
    EXPECT_EQ(cols(l.items[0]), (QStringList{"2026", "15/01/2026", "ABC", "20/02/2026", "Registro vini"}));
    EXPECT_EQ(l.widths, widths({10, 10, 6, 10, 13}));
}

TEST_F(ListingTest, AcciseShowsTwelveAmounts)
{
    auto s = structureRecord("ACCISE", 1, "Aliquote", "Stato", {2});
    TRecTabella r = tableRow(4, {"IT"});
    r.ValA[0] = 1.5;
    r.ValC[0] = 1234.5678;
    r.ValB[5] = -2;
    r.ValC[6] = 0.001;
    r.ValA[2] = 99; // not listed
    writeTable(ctx, "ACCISE", &s, {r});
    const Listing l = BuildListing(ctx, QStringLiteral("ACCISE"));
    ASSERT_EQ(l.items.size(), 1);
    EXPECT_EQ(cols(l.items[0]),
              (QStringList{"IT", "  1,500", "  0,000", "1.234,568", "  0,000", "  0,000", "  0,000", "  0,000",
                           " -2,000", "  0,000", "  0,000", "  0,000", "  0,001"}));
    std::array<int, kListingColumns> eight;
    eight.fill(8);
    EXPECT_EQ(l.widths, eight);
}

TEST_F(ListingTest, Praz)
{
    auto s = structureRecord("PRAZ", 1, "Prodotti", "Codice;Descrizione", {10, 50});
    TRecTabella r = tableRow(2, {"P1", "Vino rosso", "", "", "", "", "L"});
    r.ValA[0] = 12.5;
    r.Dim[0] = 75;
    writeTable(ctx, "PRAZ", &s, {r});
    const Listing l = BuildListing(ctx, QStringLiteral("PRAZ"));
    ASSERT_EQ(l.items.size(), 1);
    EXPECT_EQ(cols(l.items[0]), (QStringList{"P1", "Vino rosso", " 12,50000", "  0,00000", "L", "75"}));
    EXPECT_EQ(l.widths, widths({2, 10, 9, 9, 5, 5}));
}

TEST_F(ListingTest, Ta20)
{
    auto s = structureRecord("TA20", 1, "Prodotti Alcoli", "Codice;Descrizione;Inizio;Fine", {8, 80});
    TRecTabella r = tableRow(9, {"22042138", "Vino bianco"});
    r.ValA[0] = day(2020, 1, 1);
    r.ValA[1] = day(2099, 12, 31);
    writeTable(ctx, "TA20", &s, {r});
    const Listing l = BuildListing(ctx, QStringLiteral("TA20"));
    ASSERT_EQ(l.items.size(), 1);
    EXPECT_EQ(cols(l.items[0]), (QStringList{"22042138", "Vino bianco", "01/01/2020", "31/12/2099"}));
    EXPECT_EQ(l.widths, widths({8, 11, 10, 10}));
}

namespace {
TRecIndirizzo address(std::int32_t code, const QString& name)
{
    TRecIndirizzo a = blankCompany();
    a.number = code;
    a.DENOM1 = name;
    a.INDIR1 = QStringLiteral("Via Roma");
    a.NUMCI1 = QStringLiteral("12");
    a.CITTA1 = QStringLiteral("Verona");
    a.C_A_P1 = QStringLiteral("37100");
    a.SEZDOG = QStringLiteral("it");
    return a;
}
} // namespace

TEST_F(ListingTest, Consignees)
{
    auto s = structureRecord("INDIRIZZI_D", 1, "Destinatari", "Nome;Tipo;Accisa;Indirizzo;Citta;Luogo", {});
    TRecIndirizzo a = address(5, "Weinhaus");
    a.TIPOIN = "5";
    a.CODUTE = "DE";
    a.DENOM2 = "CERT1";
    a.SEZDOG = "de";
    TRecIndirizzo b = address(2, "Cantina");
    b.TIPOIN = "1";
    b.CACCI1 = "IT00VRA00012X";
    b.CACCI2 = "IT00VRV00034Z";
    b.INDIR2 = "Via Po";
    b.NUMCI2 = "3";
    b.C_A_P2 = "10100";
    b.CITTA2 = "Torino";
    TRecIndirizzo c = address(8, "Altro");
    c.TIPOIN = "2";
    c.CACCI2 = "IGNORATO";
    writeAddresses(ctx, "INDIRIZZI_D", {a, b, c});
    writeTable(ctx, "INDIRIZZI_D", &s, {});
    const Listing l = BuildListing(ctx, QStringLiteral("INDIRIZZI_D"));
    ASSERT_EQ(l.items.size(), 3);
    EXPECT_EQ(l.items[0].number, 5);
    EXPECT_EQ(cols(l.items[0]), (QStringList{"Weinhaus", "5", "", "Via Roma 12", "Verona 37100", "DE CERT1     de"}));
    EXPECT_EQ(cols(l.items[1]), (QStringList{"Cantina", "1", "IT00VRA00012X", "Via Roma 12", "Verona 37100",
                                             "IT00VRV00034Z  Via Po 3 10100 Torino it"}));
    EXPECT_EQ(cols(l.items[2]).last(), QStringLiteral("      it"));
    EXPECT_EQ(l.widths, widths({8, 5, 13, 11, 12, 39}));
    EXPECT_EQ(l.title, QStringLiteral("Destinatari"));
}

TEST_F(ListingTest, GuarantorsSuppliersTransporters)
{
    TRecIndirizzo g = address(1, "Banca");
    g.CACCI1 = "IT00VRA";
    g.CACCI2 = "01234567890";
    g.CAUESO = "C";
    g.CONGAR = "GAR123";
    for (const char* file : {"INDIRIZZI_G", "INDIRIZZI_F", "INDIRIZZI_T"}) {
        auto s = structureRecord(file, 1, file, "Nome", {});
        writeTable(ctx, file, &s, {});
        writeAddresses(ctx, file, {g});
    }
    Listing l = BuildListing(ctx, QStringLiteral("INDIRIZZI_G"));
    ASSERT_EQ(l.items.size(), 1);
    EXPECT_EQ(cols(l.items[0]),
              (QStringList{"Banca", "IT00VRA", "01234567890", "Via Roma 12", "Verona 37100", "C GAR123", "it"}));
    EXPECT_EQ(l.widths, widths({5, 7, 11, 11, 12, 8, 6}));

    l = BuildListing(ctx, QStringLiteral("INDIRIZZI_F"));
    EXPECT_EQ(cols(l.items[0]), (QStringList{"Banca", "IT00VRA", "01234567890", "Via Roma 12", "Verona 37100", "it"}));
    EXPECT_EQ(l.widths, widths({5, 7, 11, 11, 12, 6}));

    l = BuildListing(ctx, QStringLiteral("INDIRIZZI_T"));
    EXPECT_EQ(cols(l.items[0]), (QStringList{"Banca", "01234567890", "Via Roma 12", "Verona 37100", "it"}));
    EXPECT_EQ(l.widths, widths({5, 11, 11, 12, 6}));
}

TEST_F(ListingTest, ExciseColumnAtLeastFiveWhenShort)
{
    TRecIndirizzo f = address(1, "Fornitore");
    f.CACCI1 = "AB";
    auto s = structureRecord("INDIRIZZI_F", 1, "Fornitori", "Nome", {});
    writeTable(ctx, "INDIRIZZI_F", &s, {});
    writeAddresses(ctx, "INDIRIZZI_F", {f});
    EXPECT_EQ(BuildListing(ctx, QStringLiteral("INDIRIZZI_F")).widths[1], 5);
}

TEST_F(ListingTest, MissingFilesGiveAnEmptyListingAndAnEmptyFile)
{
    ctx.TableName = QStringLiteral("T999");
    Listing l = OpenListing(ctx);
    EXPECT_TRUE(l.items.isEmpty());
    EXPECT_TRUE(l.shownColumns().isEmpty());
    EXPECT_EQ(fileBytes(listingPath()), QByteArray());

    auto s = structureRecord("T998", 1, "Senza dati", "Codice", {2, 10});
    writeTable(ctx, "T998", &s, {tableRow(1, {"A"})});
    QFile::remove(ctx.datiGen("T998.TAB"));
    ctx.TableName = QStringLiteral("T998");
    EXPECT_TRUE(OpenListing(ctx).items.isEmpty());
    EXPECT_FALSE(QFile::exists(ctx.datiGen("T998.TAB"))); // a listing creates nothing
}

TEST(ListingFile, ReadsTheThreeKindsOfLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("TABELLA.TXT");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Citt\xe0\r\n@12\r\n\tuno\r\n\tdue\r\nSecondo\r\n@abc\r\n\r\n@-4\r\n");
    f.close();
    const auto items = ReadListingFile(path);
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0].columns, (QStringList{QStringLiteral("Citt\u00e0"), "uno", "due"}));
    EXPECT_EQ(items[0].number, 12);
    EXPECT_EQ(items[1].number, 0); // unreadable number
    EXPECT_EQ(items[2].columns, QStringList{""});
    EXPECT_EQ(items[2].number, -4);
}

TEST(SortListing, ByCharacterCodesAscendingAndAgainTheSame)
{
    Listing l;
    for (const char* s : {"b", "B", "a", "10", "9"})
        l.items << ListingItem{{QString::fromLatin1(s)}, 0};
    SortListing(l, 0);
    QStringList order;
    for (const auto& it : l.items)
        order << it.columns[0];
    EXPECT_EQ(order, (QStringList{"10", "9", "B", "a", "b"}));
    SortListing(l, 0);
    EXPECT_EQ(l.items[0].columns[0], QStringLiteral("10")); // no reversal
}
