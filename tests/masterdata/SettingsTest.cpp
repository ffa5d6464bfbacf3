// The settings stores: excise bands, protocol order, configuration files, signing folders.
#include <QDir>
#include <QFile>

#include <functional>

#include <gtest/gtest.h>

#include "foundation/Dates.h"
#include "foundation/Tables.h"
#include "masterdata/CodeTables.h"
#include "masterdata/Company.h"
#include "masterdata/DriveWindow.h"
#include "masterdata/Settings.h"
#include "support/CodeTableFixture.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;
using namespace vt::test::drive;

TEST(ExciseBands, BandsAreCheckedAndBlankBandsStoredAsZeros)
{
    struct Case {
        int band;               // 0, 1 still; 2, 3 sparkling
        const char *from, *to, *excise;
        bool ok;
        const char* focus;      // field refused
        double a, b, c;         // stored values of the band's slot
    };
    const Case cases[] = {
        {0, "5", "10", "0", true, "", 0, 0, 0},              // no excise: three zeros
        {0, "5", "10", "", true, "", 0, 0, 0},
        {1, "10", "8", "20", false, "R21", 0, 0, 0},         // "to" below "from"
        {3, "10", "8", "20", false, "R26", 0, 0, 0},
        {0, "10", "8", "0", true, "", 0, 0, 0},              // bounds not read without excise
        {0, "1,5", "1,5", "7,25", true, "", 1.5, 1.5, 7.25}, // equal bounds are fine
        {2, "8,5", "22", "1.234,567", true, "", 8.5, 22, 1234.57},
    };
    for (const Case& c : cases) {
        ExciseForm f;
        f.state = QStringLiteral("FR");
        f.bands[c.band] = {QString::fromLatin1(c.from), QString::fromLatin1(c.to), QString::fromLatin1(c.excise)};
        TRecTabella row;
        const CheckResult r = BuildExciseRow(f, row);
        SCOPED_TRACE(c.band);
        EXPECT_EQ(r.ok, c.ok);
        if (!c.ok) {
            EXPECT_EQ(r.focus, QString::fromLatin1(c.focus));
            continue;
        }
        const int s = ExciseSlots[c.band];
        EXPECT_EQ(row.ValA[s], c.a);
        EXPECT_EQ(row.ValB[s], c.b);
        EXPECT_EQ(row.ValC[s], c.c);
        EXPECT_EQ(row.Fld[0], QStringLiteral("FR"));
        EXPECT_EQ(row.Ext[0], QStringLiteral("ACCISE"));
    }
    EXPECT_EQ(ExciseSlots, (std::array<int, 4>{0, 1, 5, 6}));
}

TEST(ExciseBands, StoredRowIsShownWithTwoDecimals)
{
    TRecTabella row = blankRow();
    TrimRow(row);
    row.Fld[0] = QStringLiteral("DE");
    row.ValA[6] = 8.5;
    row.ValB[6] = 1234;
    row.ValC[6] = 136;
    const ExciseForm f = ExciseFormOf(row);
    EXPECT_EQ(f.state, QStringLiteral("DE"));
    EXPECT_EQ(f.bands[3].from, QStringLiteral("8,50"));
    EXPECT_EQ(f.bands[3].to, QStringLiteral("1.234,00"));
    EXPECT_EQ(f.bands[3].excise, QStringLiteral("136,00"));
    EXPECT_EQ(f.bands[0].excise, QStringLiteral("0,00"));
}

TEST(Protocols, BulkFlagAndDates)
{
    const std::pair<const char*, bool> flags[] = {{"S", true}, {"N", true}, {"SI", true}, {"X", false}, {"", false},
                                                  {"s", false}, {" S", false}};
    for (const auto& [text, ok] : flags) {
        const CheckResult r = CheckProtocolBulk(QString::fromLatin1(text));
        EXPECT_EQ(r.ok, ok) << text;
        if (!ok) {
            EXPECT_EQ(r.message, QStringLiteral("DIGITA: S per sfuso N per condizionato"));
            EXPECT_EQ(r.focus, QStringLiteral("le1"));
        }
    }
    const QDate good(2011, 7, 1);
    EXPECT_TRUE(CheckProtocolDates(good, good).ok);
    EXPECT_TRUE(CheckProtocolDates(QDate(2012, 1, 1), good).ok); // no order between them
    EXPECT_EQ(CheckProtocolDates(QDate(), good).focus, QStringLiteral("R10"));
    EXPECT_EQ(CheckProtocolDates(good, QDate()).focus, QStringLiteral("R11"));
}

class ProtocolStore : public ::testing::Test {
protected:
    void add(const char* number, const QDate& from, std::optional<std::int32_t> replacing = std::nullopt)
    {
        ProtocolForm f{QString::fromLatin1(number), QStringLiteral("S"), QStringLiteral("Ufficio di Asti"),
                       QStringLiteral("Ufficio di Alba"), QDate(2010, 3, 4), from};
        ASSERT_TRUE(BuildProtocolRow(f, t.ctx.EditRow).ok);
        SaveProtocol(t.ctx, replacing);
    }
    // (protocol, number, valid from) of every row in file order
    QList<std::tuple<QString, int, QDate>> rows()
    {
        QList<std::tuple<QString, int, QDate>> out;
        for (const QByteArray& r : records(tablePath(t.ctx, QStringLiteral("PROTOCOLLI"), ".TAB")))
            out.append({fld(r, 0).trimmed(), RecordFile::numberOf(r), dates::toDate(valA(r, 1))});
        return out;
    }
    TestContext t;
};

TEST_F(ProtocolStore, RowsAreKeptInOrderOfTheValidFromDate)
{
    add("P2012", QDate(2012, 1, 1));
    add("P2011", QDate(2011, 7, 1));
    add("P2013", QDate(2013, 1, 1));
    add("P2011B", QDate(2011, 7, 1)); // equal dates keep the order of entry
    using R = QList<std::tuple<QString, int, QDate>>;
    EXPECT_EQ(rows(), (R{{"P2011", 2, QDate(2011, 7, 1)},
                         {"P2011B", 4, QDate(2011, 7, 1)},
                         {"P2012", 1, QDate(2012, 1, 1)},
                         {"P2013", 3, QDate(2013, 1, 1)}}));
    // The stored row, field by field.
    const QByteArray r = records(tablePath(t.ctx, QStringLiteral("PROTOCOLLI"), ".TAB")).first();
    EXPECT_EQ(r.size(), 5304);
    EXPECT_EQ(fld(r, 0), QStringLiteral("P2011").leftJustified(250));
    EXPECT_EQ(fld(r, 1), QStringLiteral("S").leftJustified(250));
    EXPECT_EQ(fld(r, 2).trimmed(), QStringLiteral("Ufficio di Asti"));
    EXPECT_EQ(fld(r, 3).trimmed(), QStringLiteral("Ufficio di Alba"));
    EXPECT_EQ(ext(r, 0).trimmed(), QStringLiteral("PROTOCOLLI"));
    EXPECT_EQ(valA(r, 0), 40241.0); // 04/03/2010
    EXPECT_EQ(valA(r, 1), 40725.0); // 01/07/2011
}

TEST_F(ProtocolStore, ModifyingGivesANewNumberAndMovesTheRowToItsDate)
{
    add("A", QDate(2011, 1, 1));
    add("B", QDate(2012, 1, 1));
    add("C", QDate(2013, 1, 1));
    add("A", QDate(2012, 6, 1), 1); // A now applies from June 2012
    using R = QList<std::tuple<QString, int, QDate>>;
    EXPECT_EQ(rows(), (R{{"B", 2, QDate(2012, 1, 1)}, {"A", 4, QDate(2012, 6, 1)}, {"C", 3, QDate(2013, 1, 1)}}));
}

TEST(RowOrder, ValueKeysSortAsNumbers)
{
    const double values[] = {-1e9, -2.5, -0.0, 0.0, 1e-9, 1, 40725, 40726.5, 1e12};
    auto key = [](double v) {
        TRecTabella r = blankRow();
        r.ValA[1] = v;
        return orderByValA(1)(encodeRow(r));
    };
    for (size_t i = 1; i < std::size(values); ++i)
        EXPECT_LE(key(values[i - 1]), key(values[i])) << values[i - 1] << " " << values[i];
    EXPECT_LT(key(-2.5), key(-1));
    EXPECT_LT(key(40725), key(40725.0001));
}

TEST(ConfigFiles, OpeningCreatesOneBlankRecordAndSavingStoresItPadded)
{
    TestContext t;
    const QString path = appConfigPath(t.ctx);
    EXPECT_EQ(path, QDir(t.ctx.DatiGenFolder).filePath(QStringLiteral("APPL.CFG")));
    EXPECT_FALSE(QFile::exists(path));
    const TRecTabella first = OpenConfig(path);
    EXPECT_TRUE(first.Fld[0].isEmpty());
    ASSERT_EQ(QFileInfo(path).size(), 5304);
    EXPECT_EQ(fld(records(path)[0], 0), QString(250, QLatin1Char(' ')));

    SaveAppPaths(t.ctx, {QStringLiteral("C:\\FV\\FirmaVerifica.exe"), QStringLiteral("C:\\FV\\dafirmare\\"),
                         QStringLiteral("C:\\FV\\firmati\\"), QStringLiteral(" C:\\EMCS\\ ")});
    const QList<QByteArray> recs = records(path);
    ASSERT_EQ(recs.size(), 1);
    EXPECT_EQ(fld(recs[0], 0), QStringLiteral("C:\\FV\\FirmaVerifica.exe").leftJustified(250));
    EXPECT_EQ(fld(recs[0], 3), QStringLiteral("C:\\EMCS\\").leftJustified(250));
    EXPECT_EQ(fld(recs[0], 4), QString(250, QLatin1Char(' ')));
    EXPECT_EQ(t.ctx.AppConfig.Fld[1], QStringLiteral("C:\\FV\\dafirmare\\"));
    EXPECT_EQ(OpenConfig(path).Fld[2], QStringLiteral("C:\\FV\\firmati\\"));
}

TEST(ConfigFiles, WebAddressIsReadWithoutCreatingTheFile)
{
    TestContext t;
    EXPECT_TRUE(WebAddress(t.ctx, 2).isEmpty());
    EXPECT_FALSE(QFile::exists(webConfigPath(t.ctx)));
    std::array<QString, WebFieldCount> f;
    f[2] = QStringLiteral("https://accise.example/tabella");
    f[9] = QStringLiteral("prova.example:8443");
    SaveWebAddresses(t.ctx, f);
    EXPECT_EQ(WebAddress(t.ctx, 2), QStringLiteral("https://accise.example/tabella"));
    const QByteArray r = records(webConfigPath(t.ctx)).at(0);
    EXPECT_EQ(fld(r, 9).trimmed(), QStringLiteral("prova.example:8443"));
    EXPECT_EQ(t.ctx.WebConfig.Fld[9], QStringLiteral("prova.example:8443"));
}

TEST(SigningFolders, FoldersBesideTheProgramWithItsSeparator)
{
    const SigningFolders win = SigningFoldersBeside(QStringLiteral("C:\\FV\\FirmaVerifica.exe"));
    EXPECT_EQ(win.toSign, QStringLiteral("C:\\FV\\dafirmare\\"));
    EXPECT_EQ(win.signedFiles, QStringLiteral("C:\\FV\\firmati\\"));
    const SigningFolders posix = SigningFoldersBeside(QStringLiteral("/opt/firma verifica/FirmaVerifica"));
    EXPECT_EQ(posix.toSign, QDir::toNativeSeparators(QStringLiteral("/opt/firma verifica/dafirmare/")));
    EXPECT_EQ(posix.signedFiles, QDir::toNativeSeparators(QStringLiteral("/opt/firma verifica/firmati/")));

    EXPECT_EQ(folderSetting(QStringLiteral("/data/emcs")), QDir::toNativeSeparators(QStringLiteral("/data/emcs/")));
    EXPECT_EQ(folderSetting(QStringLiteral("C:\\EMCS\\")), QStringLiteral("C:\\EMCS\\"));
    EXPECT_EQ(folderSetting(QString()), QString());
}

TEST(ServiceHost, HostOrHostAndPort)
{
    const std::pair<const char*, bool> cases[] = {
        {"", true},
        {"telematico.example.it", true},
        {"telematico.example.it:443", true},
        {"10.0.0.1:8443", true},
        {"localhost", true},
        {"https://telematico.example.it", false},
        {"host/path", false},
        {"host:0", false},
        {"host:65536", false},
        {"host:", false},
        {"-host", false},
        {"host name", false},
        {"host;rm", false},
    };
    for (const auto& [text, ok] : cases) {
        const CheckResult r = CheckServiceHost(QString::fromLatin1(text), QStringLiteral("LE8"));
        EXPECT_EQ(r.ok, ok) << text;
        if (!ok) {
            EXPECT_EQ(r.focus, QStringLiteral("LE8"));
        }
    }
}

// Every store a confirmation writes through tells the main window once, so its status bar can
// say "Dati salvati"; reading never does.
TEST(SavedNote, EveryConfirmedWriteIsReportedOnce)
{
    TestContext t;
    int saved = 0;
    t.ctx.NoteListener = [&saved](const QString&) { ++saved; };
    writeStructure(t.ctx, QStringLiteral("T011"), QStringLiteral("Motivi"), 1, {{1, QStringLiteral("CODICE")}});

    const std::pair<const char*, std::function<void()>> writes[] = {
        {"paths", [&] { SaveAppPaths(t.ctx, {}); }},
        {"web addresses", [&] { SaveWebAddresses(t.ctx, {}); }},
        {"company", [&] { WriteCompanyFile(t.ctx, QStringLiteral("001"), blankCompany()); }},
        {"new code", [&] {
             t.ctx.EditRow = blankRow();
             t.ctx.EditRow.Fld[0] = QStringLiteral("1");
             SaveCodeRow(t.ctx, QStringLiteral("T011"), std::nullopt);
         }},
        {"changed code", [&] { SaveCodeRow(t.ctx, QStringLiteral("T011"), t.ctx.EditRow.Num); }},
        {"deleted code", [&] { DeleteCodeRow(t.ctx, QStringLiteral("T011"), t.ctx.EditRow.Num); }},
        {"protocol", [&] {
             t.ctx.EditRow = blankRow();
             t.ctx.EditRow.Fld[0] = QStringLiteral("RG");
             SaveProtocol(t.ctx, std::nullopt);
         }},
    };
    for (const auto& [what, write] : writes) {
        SCOPED_TRACE(what);
        saved = 0;
        write();
        EXPECT_EQ(saved, 1);
    }
    saved = 0;
    OpenConfig(appConfigPath(t.ctx));
    ReadCompanyFile(t.ctx, QStringLiteral("001"));
    EXPECT_EQ(saved, 0);
}
