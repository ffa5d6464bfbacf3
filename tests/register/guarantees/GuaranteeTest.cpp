// The guarantee balance with the yearly carry-over, the preparation of the days, and the
// guarantee window's checks and writes, on small registers computed by hand.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "foundation/Dates.h"
#include "register/guarantees/GuaranteeEntry.h"
#include "register/store/RegisterStore.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {

double day(int d, int m, int y)
{
    return dates::fromDate(QDate(y, m, d));
}

TRecMovimento movement(int numero, double date, const char* doc, const char* op, const char* kind, double guarantee,
    const char* state = " ")
{
    TRecMovimento r = blankRegisterRecord();
    r.numero = numero;
    r.data = date;
    r.registro = "C";
    r.tipoDocumento = doc;
    r.operazione = op;
    r.tipoMovimento = kind;
    r.stato = state;
    r.garanzia = guarantee;
    PadRegisterRecord(r);
    return r;
}

TRecGaranzia deposit(
    int numero, double date, double nuova, double imp = 0, double svin = 0, int flow = 0, const char* state = " ")
{
    TRecGaranzia g = blankRegisterRecord();
    g.numero = numero;
    g.data = date;
    g.registro = "F";
    g.operazione = "I";
    g.stato = state;
    g.nuovaCauzione() = nuova;
    g.impegnato() = imp;
    g.svincolato() = svin;
    if (flow) {
        g.dataFlusso = date + 1;
        g.numeroFlusso = flow;
    }
    PadRegisterRecord(g);
    return g;
}

struct Guarantees : ::testing::Test {
    TestContext t;

    void SetUp() override { QDir().mkpath(t.ctx.RegistriFolder); }

    void write(const QString& path, const QList<TRecMovimento>& records)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (const TRecMovimento& r : records)
            f.write(encodeRegisterRecord(r));
    }

    QString gar(int y) { return registerfiles::guarantees(t.ctx, y); }
    QString rgm(int y) { return registerfiles::movements(t.ctx, y); }

    // 1.000,00 carried out of 2024 (the year before the oldest with files). In 2025: 500,00
    // deposited (a superseded 300,00 does not count), 200,00 committed by an e-AD, 150,00
    // released by a conclusion; a cancellation record and a superseded unload count nowhere.
    // End of 2025: 1.000 + 500 - 200 + 150 = 1.450,00. A stale 9.999,00 stored for 2025.
    void twoYears()
    {
        TRecGaranzia c2024 = blankRegisterRecord();
        c2024.numero = 2024;
        c2024.disponibile() = 1000;
        TRecGaranzia c2025 = blankRegisterRecord();
        c2025.numero = 2025;
        c2025.disponibile() = 9999;
        write(registerfiles::carryOvers(t.ctx), {c2024, c2025});
        write(gar(2025), {deposit(1, day(10, 3, 2025), 500, 0, 0, 1), deposit(2, day(11, 3, 2025), 300, 0, 0, 1, "C")});
        write(rgm(2025),
            {movement(1, day(1, 6, 2025), "EAD", "I", "S", 200), movement(2, day(5, 6, 2025), "ROR", "A", "A", 150),
                movement(3, day(6, 6, 2025), "EAD", "C", "S", 999),
                movement(4, day(7, 6, 2025), "DAA", "I", "S", 77, "C")});
        // 2026: 100,00 deposited on 5 January; on the 9th an unload commits 100,00 and a
        // conclusion releases 40,00.
        write(gar(2026), {deposit(1, day(5, 1, 2026), 100)});
        write(rgm(2026),
            {movement(1, day(9, 1, 2026), "EAD", "I", "S", 100), movement(2, day(9, 1, 2026), "ROR", "I", "A", 40)});
    }
};

} // namespace

TEST_F(Guarantees, BalanceAcrossTheYearBoundaryWithTheCarryOver)
{
    twoYears();
    const GuaranteeDay d = guaranteeDay(t.ctx, day(9, 1, 2026) + 0.75); // the time of day does not count
    EXPECT_DOUBLE_EQ(d.before, 1550);                                   // 1.450 + 100 deposited on the 5th
    EXPECT_DOUBLE_EQ(d.impegnato, 100);
    EXPECT_DOUBLE_EQ(d.svincolato, 40);
    EXPECT_DOUBLE_EQ(d.after(500, 0), 1990);
    EXPECT_EQ(storedCarryOver(t.ctx, 2025), 1450.0) << "the stale carry-over is recomputed";
    EXPECT_EQ(storedCarryOver(t.ctx, 2024), 1000.0);
    EXPECT_FALSE(d.sentExists);
    EXPECT_FALSE(d.unsent);

    // First year of use: nothing carried, nothing before.
    TestContext fresh;
    QDir().mkpath(fresh.ctx.RegistriFolder);
    EXPECT_DOUBLE_EQ(guaranteeDay(fresh.ctx, day(9, 1, 2026)).before, 0);
}

TEST_F(Guarantees, PreparationComparesEachDayWithItsSentRecord)
{
    write(rgm(2026),
        {movement(1, day(2, 2, 2026), "EAD", "I", "S", 100), movement(2, day(2, 2, 2026), "ROR", "I", "A", 40),
            movement(3, day(3, 2, 2026), "COD", "I", "A", 60), movement(4, day(4, 2, 2026), "DAA", "I", "S", 80),
            movement(5, day(5, 2, 2026), "EAD", "I", "S", 30, "C")});
    write(gar(2026),
        {deposit(1, day(2, 2, 2026), 0, 100.0004, 40, 1), // same within 0,001
            deposit(2, day(3, 2, 2026), 0, 50, 0, 1),     // differs
            deposit(3, day(5, 2, 2026), 0, 30, 0, 1)});   // its unload was cancelled
    const GuaranteePreparation p = prepareGuaranteeDays(t.ctx, 2026);
    ASSERT_EQ(p.days.size(), 3);
    EXPECT_EQ(p.days[0].numeroFlusso, SentDayMatches);
    EXPECT_DOUBLE_EQ(p.days[0].impegnato(), 100);
    EXPECT_DOUBLE_EQ(p.days[0].svincolato(), 40);
    EXPECT_EQ(p.days[1].numeroFlusso, SentDayDiffers);
    EXPECT_DOUBLE_EQ(p.days[1].impegnato(), 60) << "a change of destination commits";
    EXPECT_EQ(p.days[2].numeroFlusso, NoSentDay);
    EXPECT_EQ(p.toRectify,
        (QStringList{"ATTENZIONE LA GARANZIA DEL 03/02/2026 VA RETTIFICATA",
            "ATTENZIONE LA GARANZIA DEL 05/02/2026 VA RETTIFICATA"}));
}

TEST_F(Guarantees, ADepositIsKeptWhenThePreparationOpensItsDayAgain)
{
    write(rgm(2026), {movement(1, day(9, 1, 2026), "EAD", "I", "S", 100)});
    TRecGaranzia entered = deposit(1, day(9, 1, 2026), 500, 100);
    entered.controparte = QStringLiteral("RSSMRA80A01H501U").leftJustified(16);
    entered.nota = QStringLiteral("versamento").leftJustified(250);
    write(gar(2026), {entered});

    // The preparation's O is the day's totals, with no deposit.
    const TRecGaranzia o = prepareGuaranteeDays(t.ctx, 2026).days[0];
    const GuaranteeDay d = guaranteeDay(t.ctx, o.data);
    const GuaranteeFields f = startingFields('I', o, d);
    EXPECT_EQ(f.DOUBL1, "100,00");
    EXPECT_EQ(f.DOUBL3, "500,00");
    EXPECT_EQ(f.MITDES, "RSSMRA80A01H501U");
    EXPECT_EQ(f.ANNOTA, "versamento");
    const GuaranteeComposition c = composeGuarantee('I', o, d, f, guaranteeRecordsOf(t.ctx, o.data));
    ASSERT_TRUE(c.verdict.ok);
    saveGuarantee(t.ctx, 'I', o, c.record);
    const QList<TRecGaranzia> after = readRegister(gar(2026));
    ASSERT_EQ(after.size(), 1) << "the day's unsent record is replaced";
    EXPECT_DOUBLE_EQ(after[0].nuovaCauzione(), 500);
    EXPECT_DOUBLE_EQ(after[0].disponibile(), 400);
    EXPECT_EQ(after[0].controparte.trimmed(), "RSSMRA80A01H501U");

    // A new deposit ('i') typed for that day starts from it too.
    GuaranteeFields typed;
    typed.DATMOV = QDate(2026, 1, 9);
    EXPECT_TRUE(loadUnsentOfDay(guaranteeDay(t.ctx, day(9, 1, 2026)), typed));
    EXPECT_EQ(typed.DOUBL3, "500,00");
}

TEST_F(Guarantees, ConfirmationChecksInOrder)
{
    write(rgm(2026), {});
    write(gar(2026), {deposit(1, day(5, 1, 2026), 100, 0, 0, 1), deposit(2, day(6, 1, 2026), 50)});
    const TRecGaranzia sentDay = readRegister(gar(2026))[0];
    const TRecGaranzia unsentDay = readRegister(gar(2026))[1];
    auto fieldsFor = [](QDate date) {
        GuaranteeFields f;
        f.DATMOV = date;
        f.DOUBL1 = f.DOUBL2 = f.DOUBL3 = f.DOUBL4 = "0,00";
        return f;
    };
    struct Case {
        const char* story;
        QChar mode;
        TRecGaranzia o;
        GuaranteeFields f;
        const char* message;
        const char* focus;
    };
    GuaranteeFields negative = fieldsFor(QDate(2026, 1, 7));
    negative.DOUBL3 = "-10,00";
    GuaranteeFields noDate = fieldsFor(QDate());
    const QList<Case> cases = {
        {"insert on a day already sent", 'I', sentDay, fieldsFor(QDate(2026, 1, 5)), GuaranteeAlreadyEntered, "DATMOV"},
        {"modify moved onto a day already sent", 'H', unsentDay, fieldsFor(QDate(2026, 1, 5)), GuaranteeAlreadyEntered,
            "DATMOV"},
        {"modify keeping its own day", 'H', unsentDay, fieldsFor(QDate(2026, 1, 6)), nullptr, nullptr},
        {"a negative deposit", 'i', blankRegisterRecord(), negative, "L'IMPORTO NON PUO' ESSERE NEGATIVO", "DOUBL3"},
        {"a rectification without its note", 'j', sentDay, fieldsFor(QDate(2026, 1, 5)),
            "Nota obbligatoria per le rettifiche", "ANNOTA"},
        {"no date", 'i', blankRegisterRecord(), noDate, "", "DATMOV"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.story);
        const double d = c.f.DATMOV.isValid() ? dates::fromDate(c.f.DATMOV) : 0;
        const GuaranteeDay gd = c.f.DATMOV.isValid() ? guaranteeDay(t.ctx, d) : GuaranteeDay{};
        const GuaranteeComposition r = composeGuarantee(c.mode, c.o, gd, c.f, guaranteeRecordsOf(t.ctx, d));
        if (!c.message) {
            EXPECT_TRUE(r.verdict.ok) << r.verdict.message.toStdString();
            continue;
        }
        EXPECT_FALSE(r.verdict.ok);
        EXPECT_EQ(r.verdict.message, QString::fromUtf8(c.message));
        EXPECT_EQ(r.verdict.focus, QString::fromLatin1(c.focus));
    }
    // Modifying the unsent day onto another day that already has its unsent record.
    write(gar(2026),
        {deposit(1, day(5, 1, 2026), 100, 0, 0, 1), deposit(2, day(6, 1, 2026), 50), deposit(3, day(8, 1, 2026), 20)});
    const GuaranteeComposition clash = composeGuarantee('H', unsentDay, guaranteeDay(t.ctx, day(8, 1, 2026)),
        fieldsFor(QDate(2026, 1, 8)), guaranteeRecordsOf(t.ctx, day(8, 1, 2026)));
    EXPECT_EQ(clash.verdict.message, "ESISTE GIA' LA GARANZIA DEL 08/01/2026: MODIFICARE QUELLA");
}

TEST_F(Guarantees, ChangingADayBringsLaterUnsentDaysUpToDateAndNamesSentOnes)
{
    // 5th: 100 deposited (unsent). 7th: sent, balance 100. 8th: unsent, balance 100.
    TRecGaranzia seventh = deposit(2, day(7, 1, 2026), 0, 0, 0, 1);
    seventh.disponibile() = 100;
    TRecGaranzia eighth = deposit(3, day(8, 1, 2026), 0);
    eighth.disponibile() = 100;
    write(rgm(2026), {});
    write(gar(2026), {deposit(1, day(5, 1, 2026), 100), seventh, eighth});
    const TRecGaranzia fifth = readRegister(gar(2026))[0];
    GuaranteeFields f = startingFields('H', fifth, guaranteeDay(t.ctx, fifth.data));
    f.DOUBL3 = "250,00";
    const GuaranteeComposition c =
        composeGuarantee('H', fifth, guaranteeDay(t.ctx, fifth.data), f, guaranteeRecordsOf(t.ctx, fifth.data));
    ASSERT_TRUE(c.verdict.ok) << c.verdict.message.toStdString();
    const QStringList told = saveGuarantee(t.ctx, 'H', fifth, c.record);
    EXPECT_EQ(told, QStringList{"ATTENZIONE LA GARANZIA DEL 07/01/2026 VA RETTIFICATA"});
    const QList<TRecGaranzia> after = readRegister(gar(2026));
    ASSERT_EQ(after.size(), 3);
    EXPECT_DOUBLE_EQ(after[0].disponibile(), 250);
    EXPECT_DOUBLE_EQ(after[1].disponibile(), 100) << "a sent day is not rewritten";
    EXPECT_DOUBLE_EQ(after[2].disponibile(), 250);
}
