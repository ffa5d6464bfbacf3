// The compilation form without its window: page checks (rule, message, focus), the layout by
// type of consignee, the address copies, the place of dispatch and the form <-> header mapping.
#include <gtest/gtest.h>

#include <QSet>

#include "foundation/Dates.h"
#include "foundation/RecordFile.h"
#include "messages/ead/EadForm.h"
#include "messages/ead/Summary.h"
#include "support/Fakes.h"

using namespace vt;
using namespace vt::test;

namespace {

// Codes known to the checks: table + ":" + code.
CodeCheck known(QSet<QString> codes = {"T001:it", "T001:de", "T015:1", "T015:2", "T015:4", "T015:5", "T015:6",
                                       "T015:8", "T004:FR", "T008:3", "T008:0", "T016:1", "T016:3", "T007:1",
                                       "T007:12", "T007:123"})
{
    return [codes](const QString& table, const QString& code) { return codes.contains(table + ":" + code.trimmed()); };
}

TRecAzienda company()
{
    TRecAzienda c = blankCompany();
    trimCompany(c);
    c.TIPOIN = "1";
    c.CACCI1 = "IT00FIT00012S";
    c.DENOM1 = "Cantina del Chianti srl";
    c.INDIR1 = "Via Roma";
    c.NUMCI1 = "1";
    c.C_A_P1 = "50100";
    c.CITTA1 = "FIRENZE";
    c.INDIR2 = "Via del Vino";
    c.NUMCI2 = "7";
    c.C_A_P2 = "50022";
    c.CITTA2 = "GREVE IN CHIANTI";
    c.UFFDO2 = "IT066100";
    c.CONGAR = "GAR00012345";
    return c;
}

// A page 1 that passes: a registered consignee in Germany.
EadForm page1Form()
{
    EadForm f = newEadForm(company(), QDate(2026, 12, 9));
    f["NUMFAT"] = "FT/125";
    f["TIPDES"] = "2";
    applyConsigneeView(consigneeView("2", "1"), f);
    f["COIDDE"] = "DE00123456789";
    f["DENDES"] = "Weinhaus";
    f["INDDES"] = "Hauptstrasse";
    f["NUCDES"] = "12";
    f["CAPDES"] = "80331";
    f["CITDES"] = "MUENCHEN";
    f["LINDES"] = "de";
    return f;
}

EadForm page2Form()
{
    EadForm f = page1Form();
    f["RESTRA"] = "1";
    f["MODTRA"] = "3";
    f["DURGIO"] = "2";
    return f;
}

} // namespace

TEST(EadFormNew, DefaultsComeFromTheCompanyAndToday)
{
    const EadForm f = newEadForm(company(), QDate(2026, 12, 9));
    EXPECT_TRUE(f.panels.dispatch);
    EXPECT_EQ(f["SEDELS"], "001");
    EXPECT_EQ(f["COIDLS"], "IT00FIT00012S");
    EXPECT_EQ(f["DENLSP"], "Cantina del Chianti srl");
    EXPECT_EQ(f["INDLSP"], "Via del Vino"); // the second address: the place of dispatch 001
    EXPECT_EQ(f["CITLSP"], "GREVE IN CHIANTI");
    EXPECT_EQ(f["UFFSPE"], "IT066100");
    EXPECT_EQ(f["DATFAT"], "09/12/2026");
    EXPECT_EQ(f["DATSPE"], "09/12/2026");
    EXPECT_EQ(f["ORASPE"], "23:00");
    EXPECT_EQ(f["LINGUA"], "it");
    EXPECT_EQ(f["TIPMES"], "1");
    EXPECT_EQ(f["INVDIF"], "N");

    TRecAzienda consignor = company();
    consignor.TIPOIN = "2";
    EXPECT_FALSE(newEadForm(consignor, QDate(2026, 12, 9)).panels.dispatch);
    EXPECT_EQ(newEadForm(consignor, QDate(2026, 12, 9))["SEDELS"], "");
}

struct Page1Case {
    const char* story;
    std::function<void(EadForm&)> change;
    const char* focus;
    const char* message;
};

class Page1Check : public ::testing::TestWithParam<Page1Case> {};

TEST_P(Page1Check, FailsOnItsFieldWithItsMessage)
{
    EadForm f = page1Form();
    GetParam().change(f);
    const CheckResult r = checkPage1(f, known());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.focus, GetParam().focus);
    EXPECT_EQ(r.message, QString::fromUtf8(GetParam().message));
    // The check ends with the missing-field message once: after the field's own message, or as it.
    EXPECT_EQ(pageCheckClosing(r), r.message == MsgRequiredField ? QString() : MsgRequiredField);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Page1Check,
    ::testing::Values(
        Page1Case{"no invoice", [](EadForm& f) { f["NUMFAT"] = ""; }, "NUMFAT", "CAMPO OBBLIGATORIO NON COMPILATO"},
        Page1Case{"invoice starting with a space", [](EadForm& f) { f["NUMFAT"] = " 12"; }, "NUMFAT",
                  "CAMPO OBBLIGATORIO NON COMPILATO"},
        Page1Case{"no consignee name", [](EadForm& f) { f["DENDES"] = ""; }, "DENDES", "CAMPO OBBLIGATORIO NON COMPILATO"},
        Page1Case{"unknown consignee language", [](EadForm& f) { f["LINDES"] = "xx"; }, "LINDES",
                  "CAMPO OBBLIGATORIO NON COMPILATO"},
        Page1Case{"unknown type", [](EadForm& f) { f["TIPDES"] = "7"; }, "TIPDES", "CAMPO OBBLIGATORIO NON COMPILATO"},
        Page1Case{"invoice date 31/02", [](EadForm& f) { f["DATFAT"] = "31/02/2026"; }, "DATFAT",
                  "CAMPO OBBLIGATORIO NON COMPILATO"},
        Page1Case{"no excise number of the place of dispatch", [](EadForm& f) { f["COIDLS"] = ""; }, "COIDLS",
                  "CAMPO OBBLIGATORIO NON COMPILATO"},
        // A premises number typed but never left (a tab clicked) is refused by the page check too.
        Page1Case{"premises number not three digits", [](EadForm& f) { f["SEDELS"] = "ABC"; }, "SEDELS",
                  "LUOGO DI SPEDIZIONE: DIGITARE 001 PER LA SEDE PRINCIPALE O IL NUMERO DI TRE CIFRE DI UNA SEDE "
                  "AUTORIZZATA"},
        Page1Case{"premises path", [](EadForm& f) { f["SEDELS"] = "../../x"; }, "SEDELS",
                  "LUOGO DI SPEDIZIONE: DIGITARE 001 PER LA SEDE PRINCIPALE O IL NUMERO DI TRE CIFRE DI UNA SEDE "
                  "AUTORIZZATA"},
        Page1Case{"premises without its file", [](EadForm& f) { f["SEDELS"] = "003"; }, "SEDELS",
                  "LUOGO DI SPEDIZIONE: DIGITARE 001 PER LA SEDE PRINCIPALE O IL NUMERO DI TRE CIFRE DI UNA SEDE "
                  "AUTORIZZATA"},
        Page1Case{"message type 3", [](EadForm& f) { f["TIPMES"] = "3"; }, "TIPMES",
                  "DIGITA: 1 per Standard, 2 per esportazione con domiciliazione"},
        Page1Case{"unknown language", [](EadForm& f) { f["LINGUA"] = "zz"; }, "LINGUA", "CAMPO OBBLIGATORIO NON COMPILATO"},
        // Several failures: the last one checked keeps the focus.
        Page1Case{"no name and no invoice", [](EadForm& f) { f["DENDES"] = ""; f["NUMFAT"] = ""; }, "NUMFAT",
                  "CAMPO OBBLIGATORIO NON COMPILATO"},
        Page1Case{"exempted consignee without member state",
                  [](EadForm& f) {
                      f["TIPDES"] = "5";
                      applyConsigneeView(consigneeView("5", "1"), f);
                      f["STAMEM"] = "";
                  },
                  "STAMEM", "CAMPO OBBLIGATORIO NON COMPILATO"},
        Page1Case{"tax warehouse without place of delivery",
                  [](EadForm& f) {
                      f["TIPDES"] = "1";
                      applyConsigneeView(consigneeView("1", "1"), f);
                      f["LINLDE"] = "de";
                  },
                  "COIDLD", "CAMPO OBBLIGATORIO NON COMPILATO"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(EadFormPage1, PassesAndEmptiesWhatTheTypeDoesNotWant)
{
    EadForm f = page1Form();
    EXPECT_TRUE(checkPage1(f, known()).ok);
    // Other premises are known by their file (here: the check answers for premises 002).
    EadForm other = page1Form();
    other["SEDELS"] = "002";
    EXPECT_TRUE(checkPage1(other, known({"T001:it", "T001:de", "T015:2", "UTENTE:002"})).ok);
    // Without a place-of-dispatch panel (a registered consignor) the premises number is not asked.
    other.panels.dispatch = false;
    other["SEDELS"] = "";
    EXPECT_TRUE(checkPage1(other, known()).ok);

    // Type 5 empties the identifier although its label reads "Identificativo".
    f["TIPDES"] = "5";
    applyConsigneeView(consigneeView("5", "1"), f);
    f["STAMEM"] = "FR";
    EXPECT_TRUE(checkPage1(f, known()).ok);
    EXPECT_EQ(f["COIDDE"], "");

    // Type 4 empties the identifier of the place of delivery.
    EadForm g = page1Form();
    g["TIPDES"] = "4";
    applyConsigneeView(consigneeView("4", "1"), g);
    for (const char* n : {"DENLDE", "INDLDE", "NUCLDE", "CAPLDE", "CITLDE"})
        g[n] = "x";
    g["LINLDE"] = "de";
    g["COIDLD"] = "DE99999999999";
    EXPECT_TRUE(checkPage1(g, known()).ok);
    EXPECT_EQ(g["COIDLD"], "");

    // Export with local clearance hides the consignee, whose fields are then not required.
    EadForm h = page1Form();
    h["TIPMES"] = "2";
    h["DENDES"] = "";
    applyConsigneeView(consigneeView("2", "2"), h);
    EXPECT_TRUE(checkPage1(h, known()).ok);
}

TEST(EadFormLayout, TypeOfConsigneeShapesThePage)
{
    struct Row {
        const char* type;
        bool consignee, place, exemption, exportOffice;
        int coiddeMax, coidldMax;
        const char* label;
    };
    const Row rows[] = {
        {"1", true, true, false, false, 13, 13, "Codice Accisa: Authorized warehouse keeper"},
        {"2", true, false, false, false, 13, 13, "Codice Accisa: Registered consignee"},
        {"3", true, false, false, false, 13, 13, "Codice Accisa: Temporary Authorisation"},
        {"4", true, true, false, false, 13, 0, "Codice Accisa"},
        {"5", true, false, true, false, 18, 13, "Identificativo"},
        {"6", true, false, false, true, 18, 13, "Partita IVA del Rappresentante presso l'ufficio esportazione"},
        {"8", false, false, false, false, 13, 13, "Identific."},
    };
    for (const Row& r : rows) {
        const ConsigneeView v = consigneeView(r.type, "1");
        EXPECT_EQ(v.consignee, r.consignee) << r.type;
        EXPECT_EQ(v.place, r.place) << r.type;
        EXPECT_EQ(v.exemption, r.exemption) << r.type;
        EXPECT_EQ(v.exportOffice, r.exportOffice) << r.type;
        EXPECT_EQ(v.coiddeMax, r.coiddeMax) << r.type;
        EXPECT_EQ(v.coidldMax, r.coidldMax) << r.type;
        EXPECT_EQ(v.coiddeLabel, r.label) << r.type;
    }
    EXPECT_TRUE(consigneeView("8", "1").focusNextPage);
    EXPECT_FALSE(consigneeView("1", "2").consignee); // export with local clearance
    EXPECT_TRUE(consigneeView("1", "9").consignee);  // an unknown message type counts as "1"
}

TEST(EadFormFields, LeaveChecksOfPage2)
{
    QString warning;
    const QDate today(2026, 12, 9);
    EXPECT_TRUE(checkDispatchDate("17/12/2026", today, &warning).ok);
    EXPECT_EQ(warning, "NON INVIARE IL MESSAGGIO PRIMA DI 7 GIORNI DALLA DATA DI SPEDIZIONE");
    EXPECT_TRUE(checkDispatchDate("16/12/2026", today, &warning).ok);
    EXPECT_EQ(warning, "");
    const CheckResult bad = checkDispatchDate("31/11/2026", today, &warning);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.message, "");
    EXPECT_EQ(bad.focus, "DATSPE");
    // Years outside 2008..2060 are refused: no chooser could reach their yearly files.
    EXPECT_EQ(checkDispatchDate("31/12/2007", today, nullptr).message, MsgDispatchYear);
    EXPECT_EQ(checkDispatchDate("01/01/2061", today, nullptr).message, MsgDispatchYear);
    EXPECT_TRUE(checkDispatchDate("01/01/2008", today, nullptr).ok);
    EXPECT_TRUE(checkDispatchDate("31/12/2060", today, nullptr).ok);

    EXPECT_TRUE(checkDays("0").ok);
    EXPECT_TRUE(checkDays("92").ok);
    EXPECT_EQ(checkDays("93").message, "INDICARE UN VALORE COMPRESO TRA 0 e 92");
    EXPECT_EQ(checkHours("25").message, "INDICARE UN VALORE COMPRESO TRA 0 e 24");
    EXPECT_EQ(checkTime("24:00").message, "INDICARE UN VALORE COMPRESO TRA 0 e 23");
    EXPECT_EQ(checkTime("12:60").message, "INDICARE UN VALORE COMPRESO TRA 0 e 59");
    EXPECT_TRUE(checkTime("23:59").ok);
    EXPECT_EQ(checkInvdif("X").message, QString::fromUtf8("DIGITA: N o S se la spezione è già avvenuta con DAA cartaceo"));
    EXPECT_EQ(checkNilodd(" 12").message, QString::fromUtf8("DIGITA IL N° IDENTIFICATIVO LOCALE ATTRIBUITO AL DAA DI RISERVA"));
    EXPECT_TRUE(checkDepositOrExemption("E", "TGASPE").ok);
    EXPECT_EQ(checkDepositOrExemption("X", "TGASPE").focus, "TGASPE");
}

TEST(EadFormPage2, RulesInOrder)
{
    const QDate today(2026, 12, 9);
    EadForm f = page2Form();
    EXPECT_TRUE(checkPage2(f, known(), 1, today).ok);
    EXPECT_EQ(checkPage2(f, known(), 0, today).focus, "UNITRA");

    EadForm zero = page2Form();
    zero["DURGIO"] = "0"; // passes on leaving, fails here
    EXPECT_EQ(checkPage2(zero, known(), 1, today).focus, "DURGIO");

    EadForm hours = page2Form();
    hours.panels.hours = true;
    hours["DURORE"] = "5";
    EXPECT_TRUE(checkPage2(hours, known(), 1, today).ok);

    EadForm other = page2Form();
    other["MODTRA"] = "0";
    EXPECT_EQ(checkPage2(other, known(), 1, today).focus, "INFTRA");
    other["INFTRA"] = "carro";
    EXPECT_TRUE(checkPage2(other, known(), 1, today).ok);
    EadForm road = page2Form();
    road["INFTRA"] = "left over";
    EXPECT_TRUE(checkPage2(road, known(), 1, today).ok);
    EXPECT_EQ(road["INFTRA"], "");

    // A transport company arranged the transport: its block is shown and required.
    EadForm company = page2Form();
    company["RESTRA"] = "3";
    const CheckResult hidden = checkPage2(company, known(), 1, today);
    EXPECT_FALSE(hidden.ok);
    EXPECT_TRUE(company.panels.transport);
    const CheckResult empty = checkPage2(company, known(), 1, today);
    EXPECT_EQ(empty.focus, "PIAZTR");
    EXPECT_EQ(empty.message, "CAMPO OBBLIGATORIO NON COMPILATO");

    EadForm consignor = page2Form();
    consignor["DENAZT"] = "stale";
    EXPECT_TRUE(checkPage2(consignor, known(), 1, today).ok);
    EXPECT_EQ(consignor["DENAZT"], "");

    EadForm year = page2Form();
    year["DATSPE"] = "01/01/2099";
    EXPECT_EQ(checkPage2(year, known(), 1, today).message, MsgDispatchYear);
}

// The mask lets a one-digit hour or minute through: the e-AD holds "hh:mm" all the same.
TEST(EadFormPage2, TimeOfDispatchIsKeptWithTwoDigitsEachSide)
{
    const QDate today(2026, 12, 9);
    const std::pair<const char*, const char*> cases[] = {{"9:30", "09:30"}, {"12:5", "12:05"}, {"9:5", "09:05"},
                                                         {"23:59", "23:59"}};
    for (auto [typed, kept] : cases) {
        EadForm f = page2Form();
        f["ORASPE"] = QString::fromLatin1(typed);
        EXPECT_TRUE(checkTime(f["ORASPE"]).ok) << typed;
        EXPECT_TRUE(checkPage2(f, known(), 1, today).ok) << typed;
        EXPECT_EQ(f["ORASPE"], QString::fromLatin1(kept));
        EadForm unchecked = page2Form();
        unchecked["ORASPE"] = QString::fromLatin1(typed);
        EXPECT_EQ(headerFromForm(unchecked, company()).ORASPE, QString::fromLatin1(kept)) << typed;
    }
    EadForm late = page2Form();
    late["ORASPE"] = "24:5";
    const CheckResult r = checkPage2(late, known(), 1, today);
    EXPECT_EQ(r.focus, "ORASPE");
    EXPECT_EQ(late["ORASPE"], "24:5"); // left as typed, to be put right
}

TEST(EadFormPage4, GuarantorBlocks)
{
    EadForm f = page1Form();
    f["TIPGAR"] = "12";
    const CheckResult r = checkPage4(f, known());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.focus, "CATRAG");
    EXPECT_TRUE(f.panels.guarantor2);
    for (const char* n : {"CATRAG", "PITRAG", "DENTRG", "INDTRG", "NUCTRG", "CAPTRG", "CITTRG"})
        f[n] = "x";
    f["LINTRG"] = "it";
    EXPECT_TRUE(checkPage4(f, known()).ok);
    f["TIPGAR"] = "1";
    EXPECT_TRUE(checkPage4(f, known()).ok);
    EXPECT_FALSE(f.panels.guarantor2);
    EXPECT_EQ(f["DENTRG"], "");
}

TEST(EadFormGuarantees, TypeLaysOutTheRowsAndTakesTheAmount)
{
    EadForm f = page1Form();
    f["TIPGAR"] = "4";
    f["GARSPE"] = "OLD";
    f["IMGASP"] = "5";
    EXPECT_EQ(applyGuaranteeType(f, "GAR00012345", 2.25), "GARDES");
    EXPECT_EQ(f["GARSPE"], "");
    EXPECT_EQ(f["TGASPE"], "C");
    EXPECT_EQ(f["IMGASP"], "");
    EXPECT_EQ(f["IMGADE"], "2,25");

    EadForm g = page1Form();
    g["TIPGAR"] = "12";
    EXPECT_EQ(applyGuaranteeType(g, "GAR00012345", 12.5), "GARSPE");
    EXPECT_EQ(g["GARSPE"], "GAR00012345");
    EXPECT_EQ(g["IMGASP"], "12,5");
    EXPECT_EQ(g["IMGATR"], "");
    EXPECT_TRUE(g.panels.guarantor2);
    EXPECT_FALSE(g.panels.guarantor3);

    // A modified e-AD passing through its type keeps the amount it was stored with.
    EadForm m = page1Form();
    m["TIPGAR"] = "1";
    m["IMGASP"] = "10";
    EXPECT_EQ(applyGuaranteeType(m, "GAR00012345", 0), "GARSPE");
    EXPECT_EQ(m["IMGASP"], "10");
}

// The lines changed after the amount was proposed: a row still holding the old proposal (or
// nothing) follows the lines, an amount the user typed stays.
TEST(EadFormGuarantees, AmountFollowsTheLinesUnlessTyped)
{
    struct Case {
        const char* tipgar;
        const char* row;
        const char* shown;
        double before, now;
        const char* expected;
        bool changed;
    };
    const Case cases[] = {
        {"1", "IMGASP", "1,8", 1.8, 3.6, "3,6", true},   // proposed before: follows
        {"1", "IMGASP", "", 1.8, 3.6, "3,6", true},      // nothing there
        {"1", "IMGASP", "5", 1.8, 3.6, "5", false},      // typed by the user
        {"24", "IMGADE", "0,09", 0.09, 0.18, "0,18", true}, // consignee before transporter
        {"1", "IMGASP", "3,6", 3.6, 3.6, "3,6", false},  // nothing changed
    };
    for (const Case& c : cases) {
        EadForm f = page1Form();
        f["TIPGAR"] = c.tipgar;
        f[c.row] = c.shown;
        EXPECT_EQ(refreshGuaranteeAmount(f, c.before, c.now), c.changed) << c.tipgar << " " << c.shown;
        EXPECT_EQ(f[c.row], c.expected) << c.tipgar << " " << c.shown;
    }
    EadForm none = page1Form();
    EXPECT_FALSE(refreshGuaranteeAmount(none, 0, 3.6));
}

TEST(EadFormAddresses, CopiesOfTheThreeKinds)
{
    TRecIndirizzo r = blankCompany();
    trimCompany(r);
    r.TIPOIN = "1";
    r.CACCI1 = "DE00123456789";
    r.CACCI2 = "DE00987654321";
    r.DENOM1 = "Weinhaus";
    r.DENOM2 = "Lager Nord";
    r.INDIR1 = "Hauptstrasse";
    r.INDIR2 = "Hafenweg";
    r.NUMCI1 = "12";
    r.NUMCI2 = "3";
    r.C_A_P1 = "80331";
    r.C_A_P2 = "20457";
    r.CITTA1 = "MUENCHEN";
    r.CITTA2 = "HAMBURG";
    r.CODUTE = "DE";
    r.SEZDOG = "de";

    EadForm f = newEadForm(company(), QDate(2026, 12, 9));
    copyConsignee(r, f);
    const std::pair<const char*, QString> consignee[] = {
        {"TIPDES", "1"}, {"COIDDE", "DE00123456789"}, {"COIDLD", "DE00987654321"}, {"DENDES", "Weinhaus"},
        {"CERESE", "Lager Nord"}, {"DENLDE", "Lager Nord"}, {"INDDES", "Hauptstrasse"}, {"INDLDE", "Hafenweg"},
        {"NUCDES", "12"}, {"NUCLDE", "3"}, {"CAPDES", "80331"}, {"CAPLDE", "20457"}, {"CITDES", "MUENCHEN"},
        {"CITLDE", "HAMBURG"}, {"STAMEM", "DE"}, {"LINDES", "de"}, {"LINLDE", "de"}};
    for (const auto& [name, value] : consignee)
        EXPECT_EQ(f[name], value) << name;
    EXPECT_TRUE(f.panels.place); // type 1 shows the place of delivery
    EXPECT_FALSE(f.panels.exemption);

    r.TIPOIN = "5";
    copyConsignee(r, f);
    EXPECT_TRUE(f.panels.exemption);
    EXPECT_FALSE(f.panels.place);

    EadForm t = newEadForm(company(), QDate(2026, 12, 9));
    copyTransporter(r, t);
    const std::pair<const char*, QString> transporter[] = {{"PIAZTR", "DE00987654321"}, {"DENAZT", "Weinhaus"},
                                                           {"INDAZT", "Hauptstrasse"}, {"NUCAZT", "12"},
                                                           {"CAPAZT", "80331"}, {"CITAZT", "MUENCHEN"}, {"LINAZT", "de"}};
    for (const auto& [name, value] : transporter)
        EXPECT_EQ(t[name], value) << name;
    EXPECT_EQ(t["COIDDE"], "");

    EadForm g = newEadForm(company(), QDate(2026, 12, 9));
    r.CONGAR = "CONTO";
    r.CAUESO = "E";
    copyGuarantor(r, g);
    const std::pair<const char*, QString> guarantor[] = {{"CATRAG", "DE00123456789"}, {"PITRAG", "DE00987654321"},
                                                         {"DENTRG", "Weinhaus"}, {"INDTRG", "Hauptstrasse"},
                                                         {"NUCTRG", "12"}, {"CAPTRG", "80331"},
                                                         {"CITTRG", "MUENCHEN"}, {"LINTRG", "de"}};
    for (const auto& [name, value] : guarantor)
        EXPECT_EQ(g[name], value) << name;
    // The guarantee account and the deposit/exemption flag are not copied.
    EXPECT_EQ(g["GARTRA"], "");
    EXPECT_EQ(g["TGATRA"], "C");
}

TEST(EadFormDispatch, PremisesNumberIsThreeDigitsOfAnExistingPremises)
{
    TestContext t;
    TRecAzienda premises = blankCompany();
    trimCompany(premises);
    premises.CACCI2 = "IT00FIT00099V";
    premises.DENOM2 = "Magazzino Sud";
    premises.INDIR2 = "Via del Porto";
    premises.NUMCI2 = "9";
    premises.C_A_P2 = "57100";
    premises.CITTA2 = "LIVORNO";
    premises.UFFDO2 = "IT077100";
    RecordFile(t.ctx.datiGen("UTENTE.002"), TRecAzienda::Size).replaceAll({encodeCompany(premises)});

    EXPECT_TRUE(checkSedels(t.ctx, "001").ok);
    EXPECT_TRUE(checkSedels(t.ctx, "002").ok);
    for (const char* bad : {"003", "2", "0002", "000", "../../x", "00a", "", "0 2"}) {
        const CheckResult r = checkSedels(t.ctx, bad);
        EXPECT_FALSE(r.ok) << bad;
        EXPECT_EQ(r.focus, "SEDELS");
        EXPECT_EQ(r.message, MsgSedels);
    }
    EXPECT_FALSE(dispatchPremises(t.ctx, company(), "../UTENTE.002"));

    EadForm f = newEadForm(company(), QDate(2026, 12, 9));
    auto p = dispatchPremises(t.ctx, company(), "002");
    ASSERT_TRUE(p);
    copyDispatchPlace(*p, false, f);
    EXPECT_EQ(f["COIDLS"], "IT00FIT00099V");
    EXPECT_EQ(f["DENLSP"], "Magazzino Sud");
    EXPECT_EQ(f["INDLSP"], "Via del Porto");
    EXPECT_EQ(f["CITLSP"], "LIVORNO");
    EXPECT_EQ(f["UFFSPE"], "IT077100");
}

TEST(EadFormHeader, FormToHeaderAndBack)
{
    EadForm f = page2Form();
    f["ORASPE"] = "08:30";
    f["DATSPE"] = "10/12/2026";
    f["TIPGAR"] = "1";
    f["GARSPE"] = "GAR00012345";
    f["TGASPE"] = "E";
    f["IMGASP"] = "1.234,5";
    // Text left in a block that the type of consignee hides does not reach the e-AD.
    f["DENLDE"] = "typed before the type changed";
    const TRecEad h = headerFromForm(f, company());
    EXPECT_EQ(h.tipoSpeditore, "1");
    EXPECT_EQ(h.accisaSpeditore, "IT00FIT00012S");
    EXPECT_EQ(h.indirizzoSpeditore, "Via Roma"); // the consignor: the registered address
    EXPECT_EQ(h.INDLSP, "Via del Vino");         // the place of dispatch
    EXPECT_EQ(h.UFFSPE, "IT066100");
    EXPECT_EQ(h.ufficioCompetente, "IT066100");
    EXPECT_EQ(h.DENDES, "Weinhaus");
    EXPECT_EQ(h.DENLDE, "");
    EXPECT_EQ(h.DATFAT, dates::fromDate(QDate(2026, 12, 9)));
    EXPECT_EQ(h.DATSPE, dates::fromDate(QDate(2026, 12, 10)));
    EXPECT_EQ(h.ORASPE, "08:30");
    EXPECT_EQ(h.unitaDurata, 0);
    EXPECT_EQ(h.durata, 2);
    EXPECT_EQ(h.IMGASP, 1234.5);
    EXPECT_EQ(h.TGASPE, "E");

    TRecEad stored = h;
    stored.INVDIF = "S";
    stored.riferimentoLocale = "DAA/17";
    stored.RESTRA = "3";
    eadToStoredForm(stored);
    const EadForm back = formFromHeader(stored);
    EXPECT_EQ(back["DATSPE"], "10/12/2026");
    EXPECT_EQ(back["IMGASP"], "1234,5");
    EXPECT_EQ(back["NILODD"], "DAA/17");
    EXPECT_TRUE(back.panels.nilodd);
    EXPECT_TRUE(back.panels.transport);
    EXPECT_TRUE(back.panels.dispatch);
    EXPECT_EQ(back["DURGIO"], "2");
    EXPECT_EQ(back["DENDES"], "Weinhaus");
    EXPECT_EQ(back["TIPDES"], "2");
}

TEST(EadFormAllPages, FirstFailingPageAndTheGuaranteeItself)
{
    const QDate today(2026, 12, 9);
    EadForm f = page2Form();
    f["TIPGAR"] = "1";
    f["TGASPE"] = "C";
    EXPECT_EQ(checkAllPages(f, known(), 1, 1, today).page, 0);
    EXPECT_EQ(checkAllPages(f, known(), 1, 0, today).page, 3);
    EXPECT_EQ(checkAllPages(f, known(), 0, 0, today).page, 2);
    f["TIPGAR"] = "9";
    const AllPagesVerdict v = checkAllPages(f, known(), 1, 1, today);
    EXPECT_EQ(v.page, 4);
    EXPECT_EQ(v.result.focus, "TIPGAR");
    EadForm g = page2Form();
    g["NUMFAT"] = "";
    EXPECT_EQ(checkAllPages(g, known(), 1, 1, today).page, 1);
}
