#include <gtest/gtest.h>

#include <vector>

#include "register/RegisterFixture.h"
#include "foundation/Dates.h"
#include "register/entry/MovementCompose.h"
#include "register/store/RegisterStore.h"

using namespace vt;
using namespace vt::test;

namespace {
class MovementEntry : public ::testing::Test {
protected:
    void SetUp() override
    {
        prepareRegisterData(t);
        t.ctx.CompanyRecord.UFFDO1 = QStringLiteral("IT000100");
    }

    // An unload as the window shows it after every field has been filled in.
    MovementFields unloadFields()
    {
        MovementFields f;
        f.DATMOV = QDate(2026, 12, 10);
        f.TIPDOC = QStringLiteral("DAA");
        f.tipdocFound = true;
        f.NUMDOC = QStringLiteral("13/B");
        f.DATDOC = QDate(2026, 12, 10);
        f.PRODAZ = kProduct;
        f.TIPSTO = QStringLiteral("S");
        f.PRODDO = kWine;
        f.proddoFound = true;
        f.DOUBL2 = QStringLiteral("12");
        f.DOUBL1 = QStringLiteral("1.000");
        f.CODPAE = QStringLiteral("DE");
        f.codpaeFound = true;
        f.DOUBL5 = QStringLiteral("100,00");
        f.MITDES = QStringLiteral("DE00098765432");
        f.CAUMOV = QStringLiteral("S1");
        f.caumovFound = true;
        return f;
    }

    TestContext t;
};
} // namespace

TEST_F(MovementEntry, ComposesTheUnloadWithProtocolOfficeAndRate)
{
    const Composition c = composeMovement(t.ctx, MovementMode::Insert, blankRegisterRecord(), false, unloadFields());
    ASSERT_TRUE(c.ok) << c.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(c.record.annoProtocollo, QStringLiteral("2026"));
    EXPECT_EQ(c.record.numeroProtocollo, QStringLiteral("CD456"));
    EXPECT_EQ(c.record.ufficioDogana, QStringLiteral("IT000100"));
    EXPECT_EQ(c.record.garanzia, 100.0);
    EXPECT_EQ(c.record.aliquota, 100.0);
    EXPECT_EQ(c.record.litri, 1000.0);
    EXPECT_EQ(c.record.tipoMovimento, QStringLiteral("S"));
    EXPECT_EQ(c.record.riferimentoLocale, QStringLiteral(" ")); // e-AD block hidden
    EXPECT_EQ(c.record.progressivoEad, 0);
}

// One table of what the confirmation refuses, and where the focus goes.
TEST_F(MovementEntry, ConfirmationRefusals)
{
    struct Case {
        const char* what;
        bool load;
        MovementMode mode;
        std::function<void(MovementFields&)> change;
        const char* focus;
        const char* message; // "" none
    };
    const std::vector<Case> cases = {
        {"a load with an e-AD document", true, MovementMode::Insert, [](MovementFields& f) { f.TIPDOC = QStringLiteral("EAD"); }, "TIPDOC",
         "TIPO DOCUMENTO NON AMMESSO PER UN CARICO (EAD E COD SONO DOCUMENTI DI SCARICO)"},
        {"a load with a change of destination", true, MovementMode::Insert, [](MovementFields& f) { f.TIPDOC = QStringLiteral("COD"); }, "TIPDOC",
         "TIPO DOCUMENTO NON AMMESSO PER UN CARICO (EAD E COD SONO DOCUMENTI DI SCARICO)"},
        {"an e-AD without its local reference", false, MovementMode::Insert,
         [](MovementFields& f) { f.TIPDOC = QStringLiteral("EAD"); f.NPRDAA = QStringLiteral("1"); f.NUMCPR = QStringLiteral("1"); }, "NILODD", ""},
        {"a TAB in the note", false, MovementMode::Insert, [](MovementFields& f) { f.ANNOTA = QStringLiteral("a\tb"); }, "ANNOTA",
         "IL TESTO CONTIENE CARATTERI DI CONTROLLO NON AMMESSI"},
        {"a line end in the document number", false, MovementMode::Insert, [](MovementFields& f) { f.NUMDOC = QStringLiteral("13\r\nB"); },
         "NUMDOC", "IL TESTO CONTIENE CARATTERI DI CONTROLLO NON AMMESSI"},
        {"a company product that is not in the table", false, MovementMode::Insert,
         [](MovementFields& f) { f.PRODAZ = QStringLiteral("NESSUNO"); f.prodazFound = false; }, "PRODAZ", ""},
        {"a product that is not wine", false, MovementMode::Insert, [](MovementFields& f) { f.PRODDO = QStringLiteral("B000-22030001-00-0000"); }, "PRODDO", ""},
        {"no litres", false, MovementMode::Insert, [](MovementFields& f) { f.DOUBL1.clear(); }, "DOUBL1", "quantità obbligatoria"},
        {"strength above 99,99999", false, MovementMode::Insert, [](MovementFields& f) { f.DOUBL2 = QStringLiteral("100"); }, "DOUBL2",
         "valore MASSIMO: 99,99999"},
        {"packaged without packages", false, MovementMode::Insert,
         [](MovementFields& f) { f.TIPSTO = QStringLiteral("N"); f.DOUBL3 = QStringLiteral("0,75"); }, "NUMCON",
         "quantità obbligatoria per prodotto condizionato"},
        {"guarantee above the maximum", false, MovementMode::Insert, [](MovementFields& f) { f.DOUBL5 = QStringLiteral("1.000.000.000.000"); },
         "DOUBL5", "quantità MASSIMA: 999.999.999.999,99"},
        {"an e-AD unload with no consignee", false, MovementMode::Insert,
         [](MovementFields& f) {
             f.TIPDOC = QStringLiteral("EAD");
             f.NPRDAA = QStringLiteral("1");
             f.NILODD = QStringLiteral("LRN1");
             f.NUMCPR = QStringLiteral("1");
             f.MITDES.clear();
         },
         "MITDES", "DESTINATARIO OBBLIGATORIO"},
        {"a received e-AD load with no sender", true, MovementMode::Insert,
         [](MovementFields& f) {
             f.TIPDOC = QStringLiteral("ROR");
             f.NPRDAA = QStringLiteral("1");
             f.NILODD = QStringLiteral("LRN1");
             f.NUMCPR = QStringLiteral("1");
             f.MITDES.clear();
             f.CAUMOV = QStringLiteral("C1");
         },
         "MITDES", "MITTENTE OBBLIGATORIO"},
        {"a rectification without a note", false, MovementMode::RectifyModify, [](MovementFields&) {}, "ANNOTA",
         "Nota obbligatoria per le rettifiche"},
    };
    for (const Case& c : cases) {
        MovementFields f = unloadFields();
        c.change(f);
        TRecMovimento old = blankRegisterRecord();
        old.tipoDestinazione = QStringLiteral("1");
        old.data = dates::fromDate(QDate(2026, 12, 10));
        const Composition r = composeMovement(t.ctx, c.mode, old, c.load, f);
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_EQ(r.focus.toStdString(), std::string(c.focus)) << c.what;
        if (*c.message)
            EXPECT_TRUE(r.messages.contains(QString::fromUtf8(c.message))) << c.what << ": " << r.messages.join(QLatin1Char('|')).toStdString();
    }
}

TEST_F(MovementEntry, NoProtocolInForceKeepsTheFormOnTheDateAndTheLastValidRowWins)
{
    MovementFields f = unloadFields();
    f.DATMOV = QDate(2019, 12, 31);
    const Composition c = composeMovement(t.ctx, MovementMode::Insert, blankRegisterRecord(), false, f);
    EXPECT_FALSE(c.ok);
    EXPECT_EQ(c.focus, QStringLiteral("DATMOV"));
    EXPECT_EQ(c.messages, QStringList{MsgNoProtocol});

    EXPECT_EQ(protocolInForce(t.ctx, QDate(2020, 1, 1))->numero, QStringLiteral("AB123"));
    EXPECT_EQ(protocolInForce(t.ctx, QDate(2026, 11, 30))->numero, QStringLiteral("AB123"));
    EXPECT_EQ(protocolInForce(t.ctx, QDate(2026, 12, 1))->numero, QStringLiteral("CD456"));
    EXPECT_EQ(protocolInForce(t.ctx, QDate(2026, 12, 1))->anno, QStringLiteral("2026"));
    // The whole row: the prints show its texts.
    const auto row = protocolInForce(t.ctx, QDate(2026, 12, 31))->row;
    EXPECT_EQ(row.Fld[2].trimmed(), QStringLiteral("VIDIMAZIONE CARICO E SCARICO N. 12"));
    EXPECT_EQ(row.Fld[3].trimmed(), QStringLiteral("VIDIMAZIONE GARANZIE N. 7"));
}

TEST_F(MovementEntry, DuplicateWarnsButStillComposes)
{
    const Composition first = composeMovement(t.ctx, MovementMode::Insert, blankRegisterRecord(), false, unloadFields());
    ASSERT_TRUE(first.ok);
    EXPECT_FALSE(first.messages.contains(MsgDuplicate));
    InsertRegisterRecord(first.record, registerfiles::movements(t.ctx, 2026), t.messenger);
    const Composition second = composeMovement(t.ctx, MovementMode::Insert, blankRegisterRecord(), false, unloadFields());
    EXPECT_TRUE(second.ok);
    EXPECT_TRUE(second.messages.contains(MsgDuplicate));
}

TEST_F(MovementEntry, CounterpartRulesByDestinationType)
{
    struct Case {
        bool load;
        const char* doc;
        const char* type;
        const char* mitdes;
        bool ok;
        const char* replaced; // "" none
    };
    const Case cases[] = {
        {false, "EAD", "8", "", true, "DESTINAZIONE IGNOTA"},
        {false, "EAD", "8", "XX", true, "DESTINAZIONE IGNOTA"},
        {false, "EAD", "5", "", false, ""},
        {false, "COD", "2", "", false, ""},
        {false, "DAA", "2", "", true, ""},
        {true, "FBR", "1", "", false, ""},
        {true, "DAA", "1", "", true, ""},
    };
    for (const Case& c : cases) {
        const Counterpart r = checkCounterpart(t.ctx, QString::fromLatin1(c.mitdes), c.load, QString::fromLatin1(c.doc),
                                               QString::fromLatin1(c.type));
        EXPECT_EQ(r.check.ok, c.ok) << c.doc << " " << c.type << " '" << c.mitdes << "'";
        EXPECT_EQ(r.replaceWith.value_or(QString()), QString::fromLatin1(c.replaced)) << c.doc << " " << c.type;
    }
}
