// The IE810 flow writer and its window's logic: expected lines written by hand from the layout
// (header line, "D" record), the IE810 date rule, and what the confirmation stores.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <functional>
#include <vector>

#include "foundation/Dates.h"
#include "foundation/IoError.h"
#include "foundation/RecordCodec.h"
#include "foundation/RecordFile.h"
#include "messages/ead/EadLifecycle.h"
#include "messages/ead/EadStore.h"
#include "messages/flows/FlowText.h"
#include "messages/ead/Ie810Flow.h"
#include "messages/ead/Ie810Send.h"
#include "support/EadFixtures.h"
#include "support/Fakes.h"

// Readable QString values in failure reports.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

using namespace vt;
using namespace vt::test;

namespace {

TRecAzienda company()
{
    TRecAzienda c = blankCompany();
    trimCompany(c);
    c.CACCI1 = QStringLiteral("IT00ABC00123X");
    c.CODUTE = QStringLiteral("ABCD");
    c.SEZDOG = QStringLiteral("001234");
    c.PARIVA = QStringLiteral("01234567890");
    return c;
}

const QString Arc = QStringLiteral("26ITQXY00012345678901"); // 21 characters

// A Verona e-AD accepted with its ARC, cancelled the same day because the invoice number was
// mistyped (reason "1", no note), as the lifecycle window stores it: a copy of the header, stored.
TRecEad cancellation(const QString& reason, const QString& note, const QString& language)
{
    TRecEad c = blankEad();
    c.progressivo = 7;
    c.progressivoRif = 7;
    c.LINGUA = language;
    c.ARC = Arc;
    c.SEDELS = QStringLiteral("002");
    c.stato = QStringLiteral(" ");
    c.DATSPE = dates::fromDate(QDate(2026, 12, 9));
    c.MOTANN() = reason;
    c.descrizioneMotivo() = QStringLiteral("Errore di digitazione");
    c.NOTMOT() = note;
    eadToStoredForm(c);
    return c;
}

// Line 1 by pieces: user code, 12 spaces, flow name, 12 spaces, customs section, 4 spaces, VAT
// number, 5 spaces, premises of dispatch as stored, " 00002".
const QString Header = QStringLiteral("ABCD") + QString(12, ' ') + QStringLiteral("ABCD1209.C03") + QString(12, ' ') +
                       QStringLiteral("001234") + QString(4, ' ') + QStringLiteral("01234567890") + QString(5, ' ') +
                       QStringLiteral("002") + QStringLiteral(" 00002");
// Prefix: "IE810", excise number, 5 spaces, ARC, flow date.
const QString Prefix = QStringLiteral("IE810") + QStringLiteral("IT00ABC00123X") + QString(5, ' ') + Arc +
                       QStringLiteral("20261209");

Ie810Source source(const TRecEad& c)
{
    return {c, company(), QStringLiteral("ABCD1209.C03"), dates::fromDate(QDate(2026, 12, 9))};
}

} // namespace

TEST(Ie810Flow, AnEmptyNoteLeavesTheLanguageFieldEmpty)
{
    const QStringList lines = ie810Lines(source(cancellation("1", "", "it")));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], Header);
    EXPECT_EQ(lines[0].size(), 75);
    EXPECT_EQ(lines[1], Prefix + "D\t0001\t1\t\t\t");
    EXPECT_EQ(Prefix.size(), 52); // 57 with an excise number of the full 18 characters
}

TEST(Ie810Flow, ANoteIsWrittenTrimmedWithItsLanguage)
{
    const QStringList lines = ie810Lines(source(cancellation("0", "  Merce rispedita al mittente  ", "en")));
    EXPECT_EQ(lines[1], Prefix + "D\t0001\t0\tMerce rispedita al mittente\ten\t");
}

TEST(Ie810Flow, TheFileIsWindows1252WithCrLf)
{
    const QByteArray bytes = ie810FlowBytes(source(cancellation("0", "Qualità àèé", "it")));
    const QByteArray expected = Header.toLatin1() + "\r\n" + Prefix.toLatin1() + "D\t0001\t0\tQualit\xe0 \xe0\xe8\xe9\tit\t\r\n";
    EXPECT_EQ(bytes, expected);
}

TEST(Ie810Flow, TheSharedPrefixKeepsTheReferenceWidthOfEachMessage)
{
    // The IE815 carries the local reference number (22), the others the ARC (21).
    EXPECT_EQ(flow::recordPrefix("IE815", company(), "46000.43750-ABC00123XF", 22, dates::fromDate(QDate(2026, 12, 9))),
              "IE815IT00ABC00123X     46000.43750-ABC00123XF20261209");
    const double day = dates::fromDate(QDate(2026, 12, 9));
    EXPECT_EQ(flow::recordPrefix("IE810", company(), "SHORT", 21, day), "IE810IT00ABC00123X     SHORT" + QString(16, ' ') + "20261209");
    // A full-width excise number of 18 characters fills the prefix to 57.
    TRecAzienda wide = company();
    wide.CACCI1 = QStringLiteral("IT00ABC00123X99999");
    const QString full = flow::recordPrefix("IE810", wide, Arc, 21, day);
    EXPECT_EQ(full, "IE810IT00ABC00123X99999     " + Arc + "20261209");
    EXPECT_EQ(full.size(), 57);
}

TEST(Ie810Flow, TheFlowDateMayNotFollowTheDispatch)
{
    const double dispatch = dates::fromDate(QDate(2026, 12, 9));
    struct Case {
        QDate flow;
        bool refused;
    };
    for (const Case& c : {Case{QDate(2026, 12, 9), false}, Case{QDate(2026, 12, 1), false},
                          Case{QDate(2026, 12, 10), true}, Case{QDate(2027, 1, 1), true}}) {
        EXPECT_EQ(flowDateAfterDispatch(c.flow, dispatch), c.refused) << c.flow.toString().toStdString();
    }
    TRecEad c = cancellation("1", "", "it");
    EXPECT_EQ(ie810DateRule(c)(QDate(2026, 12, 10)), "LA DATA DEL FLUSSO NON PUO' ESSERE SUCCESSIVA ALLA DATA DI SPEDIZIONE");
    EXPECT_EQ(ie810DateRule(c)(QDate(2026, 12, 9)), "");
}

namespace {

// A cancellation prepared through the lifecycle, in a data folder with the flow folders.
struct Ie810Send : ::testing::Test {
    TestContext t;
    AppContext& ctx = t.ctx;
    QString toSign, signedDir;
    TRecEad ead;

    void SetUp() override
    {
        toSign = t.path("fv/dafirmare");
        signedDir = t.path("fv/firmati");
        QDir().mkpath(toSign);
        QDir().mkpath(signedDir);
        ctx.AppConfig.Fld[1] = toSign + "/";
        ctx.AppConfig.Fld[2] = signedDir + "/";
        ctx.CompanyRecord = company();
        ctx.WorkYear = "2026";
        ead = saveSampleEad(ctx, 1, 1);
        ASSERT_TRUE(updateEadInPlace(ctx, "2026", ead.progressivo, [](TRecEad& h) {
            h.ARC = Arc;
            h.stato = "I";
        }));
        prepareCancellation(ctx, "2026", ead.progressivo, {"1", "Errore di digitazione", "", "it"});
    }

    Ie810FlowRequest request(int number = 3) const
    {
        return {"2026", ead.progressivo, QDate(2026, 12, 9), number, QStringLiteral("ABCD1209.C%1").arg(number, 2, 10, QChar('0')), false};
    }

    QByteArray cancellationBytes() const
    {
        const auto all = RecordFile(cancelfiles::cancellations(ctx, "2026"), TRecEad::Size).readAll();
        return all.isEmpty() ? QByteArray() : all.first();
    }
};

} // namespace

TEST_F(Ie810Send, TheFlowIsWrittenAndItsDateAndNumberStored)
{
    const Ie810FlowWritten written = writeIe810Flow(ctx, request());
    EXPECT_EQ(written.flowPath, toSign + "/ABCD1209.C03");
    QFile f(written.flowPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    // The sample e-AD leaves from the head office, premises "001".
    const QByteArray expected = QStringLiteral("ABCD            ABCD1209.C03            001234    01234567890     001 00002\r\n")
                                    .toLatin1() +
                                Prefix.toLatin1() + "D\t0001\t1\t\t\t\r\n";
    EXPECT_EQ(f.readAll(), expected);

    // Flow date (double at 64) and number (int32 at 72) in the cancellation; still unsent (76).
    const QByteArray c = cancellationBytes();
    EXPECT_EQ(codec::getF64(c, 64), dates::fromDate(QDate(2026, 12, 9)));
    EXPECT_EQ(codec::getI32(c, 72), 3);
    EXPECT_EQ(c.mid(76, 2), QByteArray("\x01 ", 2));
    EXPECT_EQ(written.cancellation.numeroFlusso, 3);
}

TEST_F(Ie810Send, RefusalsWriteNoFlow)
{
    struct Case {
        const char* story;
        std::function<void()> arrange;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"sent meanwhile",
         [&] { updateHeaderInPlace(ctx, cancelfiles::cancellations(ctx, "2026"), ead.progressivo, [](TRecEad& c) { c.stato = "I"; }); },
         "RISULTA GIA' INVIATO"},
        {"no ARC (written by an older version)",
         [&] { updateHeaderInPlace(ctx, cancelfiles::cancellations(ctx, "2026"), ead.progressivo, [](TRecEad& c) { c.ARC = QString(21, ' '); }); },
         "NON HA IL NUMERO DI ARC"},
        {"withdrawn meanwhile", [&] { withdrawCancellation(ctx, "2026", ead.progressivo); }, "NON E' PIU' PRESENTE"},
    };
    bool first = true;
    for (const Case& c : cases) {
        if (!first) { // a fresh e-AD and cancellation for every case
            QDir(ctx.RegistriFolder).removeRecursively();
            QDir().mkpath(ctx.RegistriFolder);
            SetUp();
        }
        first = false;
        c.arrange();
        const QByteArray before = cancellationBytes();
        try {
            writeIe810Flow(ctx, request());
            ADD_FAILURE() << c.story << ": not refused";
        } catch (const IoError& e) {
            EXPECT_TRUE(e.text().contains(c.message)) << c.story << ": " << e.text().toStdString();
        }
        EXPECT_TRUE(QDir(toSign).isEmpty()) << c.story;
        EXPECT_EQ(cancellationBytes(), before) << c.story;
    }
}

TEST_F(Ie810Send, APositiveOutcomeMarksTheCancellationSent)
{
    writeIe810Flow(ctx, request());
    storeIe810Sent(ctx, "2026", ead.progressivo);
    const QByteArray c = cancellationBytes();
    EXPECT_EQ(c.mid(76, 2), QByteArray("\x01I", 2));
    EXPECT_EQ(codec::getI32(c, 72), 3) << "the flow data stay";

    EXPECT_THROW(withdrawCancellation(ctx, "2026", ead.progressivo), IoError) << "a sent cancellation stays";
}
