#include "messages/ead/EadForm.h"

#include <QFile>
#include <QRegularExpression>

#include "foundation/AppContext.h"
#include "foundation/Dates.h"
#include "foundation/NumberFormat.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "messages/ead/Summary.h"

namespace vt {

namespace {

using Member = QString TRecEad::*;
struct Binding {
    const char* name;
    Member member;
};

// Text fields copied one to one between the form and the header, by block.
const Binding kDispatch[] = {{"SEDELS", &TRecEad::SEDELS}, {"COIDLS", &TRecEad::COIDLS}, {"DENLSP", &TRecEad::DENLSP},
                             {"INDLSP", &TRecEad::INDLSP}, {"NUCLSP", &TRecEad::NUCLSP}, {"CAPLSP", &TRecEad::CAPLSP},
                             {"CITLSP", &TRecEad::CITLSP}};
const Binding kConsignee[] = {{"COIDDE", &TRecEad::COIDDE}, {"DENDES", &TRecEad::DENDES}, {"INDDES", &TRecEad::INDDES},
                              {"NUCDES", &TRecEad::NUCDES}, {"CAPDES", &TRecEad::CAPDES}, {"CITDES", &TRecEad::CITDES},
                              {"LINDES", &TRecEad::LINDES}};
const Binding kPlace[] = {{"COIDLD", &TRecEad::COIDLD}, {"DENLDE", &TRecEad::DENLDE}, {"INDLDE", &TRecEad::INDLDE},
                          {"NUCLDE", &TRecEad::NUCLDE}, {"CAPLDE", &TRecEad::CAPLDE}, {"CITLDE", &TRecEad::CITLDE},
                          {"LINLDE", &TRecEad::LINLDE}};
const Binding kExemption[] = {{"CERESE", &TRecEad::CERESE}, {"STAMEM", &TRecEad::STAMEM}};
const Binding kExport[] = {{"uffesp", &TRecEad::uffesp}};
const Binding kTransporter[] = {{"PIAZTR", &TRecEad::PIAZTR}, {"DENAZT", &TRecEad::DENAZT}, {"INDAZT", &TRecEad::INDAZT},
                                {"NUCAZT", &TRecEad::NUCAZT}, {"CAPAZT", &TRecEad::CAPAZT}, {"CITAZT", &TRecEad::CITAZT},
                                {"LINAZT", &TRecEad::LINAZT}};
const Binding kGuarantor2[] = {{"CATRAG", &TRecEad::CATRAG}, {"PITRAG", &TRecEad::PITRAG}, {"DENTRG", &TRecEad::DENTRG},
                               {"INDTRG", &TRecEad::INDTRG}, {"NUCTRG", &TRecEad::NUCTRG}, {"CAPTRG", &TRecEad::CAPTRG},
                               {"CITTRG", &TRecEad::CITTRG}, {"LINTRG", &TRecEad::LINTRG}};
const Binding kGuarantor3[] = {{"CAPROG", &TRecEad::CAPROG}, {"PIPROG", &TRecEad::PIPROG}, {"DENPRG", &TRecEad::DENPRG},
                               {"INDPRG", &TRecEad::INDPRG}, {"NUCPRG", &TRecEad::NUCPRG}, {"CAPPRG", &TRecEad::CAPPRG},
                               {"CITPRG", &TRecEad::CITPRG}, {"LINPRG", &TRecEad::LINPRG}};
const Binding kOther[] = {{"LINGUA", &TRecEad::LINGUA}, {"TIPMES", &TRecEad::TIPMES}, {"TIPDES", &TRecEad::TIPDES},
                          {"UFFSPE", &TRecEad::UFFSPE}, {"NUMFAT", &TRecEad::NUMFAT}, {"RESTRA", &TRecEad::RESTRA},
                          {"MODTRA", &TRecEad::MODTRA}, {"INFTRA", &TRecEad::INFTRA}, {"INVDIF", &TRecEad::INVDIF},
                          {"ORASPE", &TRecEad::ORASPE}, {"TIPGAR", &TRecEad::TIPGAR}};

template <size_t N>
void toHeader(const Binding (&block)[N], const EadForm& f, TRecEad& h, bool shown = true)
{
    for (const Binding& b : block)
        h.*b.member = shown ? trimField(f[QLatin1String(b.name)]) : QString();
}
template <size_t N>
void toForm(const Binding (&block)[N], const TRecEad& h, EadForm& f)
{
    for (const Binding& b : block)
        f[QLatin1String(b.name)] = trimField(h.*b.member);
}
template <size_t N>
void emptyBlock(const Binding (&block)[N], EadForm& f)
{
    for (const Binding& b : block)
        f[QLatin1String(b.name)].clear();
}

bool isDigits(const QString& s, int n)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    return s.size() == n && digits.match(s).hasMatch();
}

QString dateText(double d)
{
    return dates::ddmmyyyy(d);
}

QString amountText(double v)
{
    return v == 0 ? QString() : generalNumber(v);
}

} // namespace

const QStringList& page1Fields()
{
    static const QStringList names{"LINGUA", "TIPMES", "SEDELS", "COIDLS", "DENLSP", "INDLSP", "NUCLSP", "CAPLSP",
                                   "CITLSP", "UFFSPE", "NUMFAT", "DATFAT", "TIPDES", "COIDDE", "DENDES", "INDDES",
                                   "NUCDES", "CAPDES", "CITDES", "LINDES", "COIDLD", "DENLDE", "INDLDE", "NUCLDE",
                                   "CAPLDE", "CITLDE", "LINLDE", "CERESE", "STAMEM", "uffesp"};
    return names;
}

const QStringList& page2Fields()
{
    static const QStringList names{"RESTRA", "PIAZTR", "DENAZT", "INDAZT", "NUCAZT", "CAPAZT", "CITAZT", "LINAZT",
                                   "MODTRA", "INFTRA", "DURGIO", "DURORE", "INVDIF", "NILODD", "DATSPE", "ORASPE"};
    return names;
}

const QStringList& page4Fields()
{
    static const QStringList names{"TIPGAR", "GARSPE", "TGASPE", "IMGASP", "GARDES", "TGADES", "IMGADE", "GARTRA",
                                   "TGATRA", "IMGATR", "GARPRO", "TGAPRO", "IMGPRO", "CATRAG", "PITRAG", "DENTRG",
                                   "INDTRG", "NUCTRG", "CAPTRG", "CITTRG", "LINTRG", "CAPROG", "PIPROG", "DENPRG",
                                   "INDPRG", "NUCPRG", "CAPPRG", "CITPRG", "LINPRG"};
    return names;
}

bool isMissing(const QString& text)
{
    return QString::compare(text, QStringLiteral("!"), Qt::CaseSensitive) < 0;
}

EadForm newEadForm(const TRecAzienda& company, const QDate& today)
{
    EadForm f;
    for (const QStringList* page : {&page1Fields(), &page2Fields(), &page4Fields()})
        for (const QString& n : *page)
            f[n] = QString();
    TRecAzienda c = company;
    trimCompany(c);
    f.panels.dispatch = c.TIPOIN == QLatin1String("1");
    if (f.panels.dispatch)
        copyDispatchPlace(c, true, f);
    f["UFFSPE"] = c.UFFDO2;
    f["uffesp"].clear();
    const QString day = today.toString(QStringLiteral("dd/MM/yyyy"));
    f["DATFAT"] = day;
    f["DATSPE"] = day;
    f["ORASPE"] = QStringLiteral("23:00");
    f["LINGUA"] = QStringLiteral("it");
    f["TIPMES"] = QStringLiteral("1");
    f["INVDIF"] = QStringLiteral("N");
    for (const GuaranteeRow& r : guaranteeRows())
        f[r.kind] = QStringLiteral("C");
    return f;
}

// ---- layout by type of consignee -------------------------------------------------------------

ConsigneeView consigneeView(const QString& tipdes, const QString& tipmes)
{
    ConsigneeView v;
    v.consignee = tipmes != QLatin1String("2");
    const QString t = trimField(tipdes);
    if (t == QLatin1String("1")) {
        v.place = true;
        v.coiddeLabel = QStringLiteral("Codice Accisa: Authorized warehouse keeper");
        v.coidldLabel = QStringLiteral("Codice Accisa: Tax warehouse ");
    } else if (t == QLatin1String("2")) {
        v.coiddeLabel = QStringLiteral("Codice Accisa: Registered consignee");
    } else if (t == QLatin1String("3")) {
        v.coiddeLabel = QStringLiteral("Codice Accisa: Temporary Authorisation");
    } else if (t == QLatin1String("4")) {
        v.place = true;
        v.coiddeLabel = QStringLiteral("Codice Accisa");
        v.coidldMax = 0;
    } else if (t == QLatin1String("5")) {
        v.coiddeMax = 18;
        v.coiddeLabel = QStringLiteral("Identificativo");
        v.exemption = true;
    } else if (t == QLatin1String("6")) {
        v.coiddeMax = 18;
        v.coiddeLabel = QStringLiteral("Partita IVA del Rappresentante presso l'ufficio esportazione");
        v.exportOffice = true;
    } else if (t == QLatin1String("8")) {
        v.consignee = false;
        v.focusNextPage = true;
    }
    return v;
}

void applyConsigneeView(const ConsigneeView& v, EadForm& f)
{
    f.panels.consignee = v.consignee;
    f.panels.place = v.place;
    f.panels.exemption = v.exemption;
    f.panels.exportOffice = v.exportOffice;
}

// ---- field checks ------------------------------------------------------------------------------

CheckResult checkTipmes(const QString& tipmes)
{
    const QString t = trimField(tipmes);
    if (t == QLatin1String("1") || t == QLatin1String("2"))
        return CheckResult::pass();
    return CheckResult::fail(MsgTipmes, QStringLiteral("TIPMES"));
}

CheckResult checkSedels(const AppContext& ctx, const QString& sedels)
{
    const QString s = trimField(sedels);
    // Only three digits may become part of a file name.
    if (isDigits(s, 3) && (s == QLatin1String("001") || (s != QLatin1String("000") && QFile::exists(ctx.datiGen(QStringLiteral("UTENTE.") + s)))))
        return CheckResult::pass();
    return CheckResult::fail(MsgSedels, QStringLiteral("SEDELS"));
}

CheckResult checkDispatchDate(const QString& text, const QDate& today, QString* warning)
{
    if (warning)
        warning->clear();
    const QDate d = dates::parseDdmmyyyy(text);
    if (!d.isValid())
        return CheckResult::fail({}, QStringLiteral("DATSPE"));
    // The e-AD is filed in the yearly files of its year of dispatch, which the choosers offer
    // from 2008 to 2060 only.
    if (d.year() < 2008 || d.year() > 2060)
        return CheckResult::fail(MsgDispatchYear, QStringLiteral("DATSPE"));
    if (warning && today.daysTo(d) > 7)
        *warning = MsgSevenDays;
    return CheckResult::pass();
}

CheckResult checkDays(const QString& text)
{
    const qint32 v = ParseInteger(text);
    return v >= 0 && v <= 92 ? CheckResult::pass() : CheckResult::fail(MsgDays, QStringLiteral("DURGIO"));
}

CheckResult checkHours(const QString& text)
{
    const qint32 v = ParseInteger(text);
    return v >= 0 && v <= 24 ? CheckResult::pass() : CheckResult::fail(MsgHours, QStringLiteral("DURORE"));
}

CheckResult checkInvdif(const QString& text)
{
    const QString t = trimField(text);
    if (t == QLatin1String("S") || t == QLatin1String("N"))
        return CheckResult::pass();
    return CheckResult::fail(MsgInvdif, QStringLiteral("INVDIF"));
}

CheckResult checkNilodd(const QString& text)
{
    if (QString::compare(text, QStringLiteral("0"), Qt::CaseSensitive) < 0)
        return CheckResult::fail(MsgNilodd, QStringLiteral("NILODD"));
    return CheckResult::pass();
}

namespace {
// Hours and minutes of one or two digits (the mask leaves a blank where a digit was not typed).
const QRegularExpression& timeShape()
{
    static const QRegularExpression shape(QStringLiteral("^\\s*(\\d{1,2})\\s*:\\s*(\\d{1,2})\\s*$"));
    return shape;
}
} // namespace

QString normalTime(const QString& text)
{
    if (!checkTime(text).ok)
        return text;
    const auto m = timeShape().match(text);
    return m.captured(1).rightJustified(2, QLatin1Char('0')) + QLatin1Char(':')
           + m.captured(2).rightJustified(2, QLatin1Char('0'));
}

CheckResult checkTime(const QString& text)
{
    const auto m = timeShape().match(text);
    if (!m.hasMatch())
        return CheckResult::fail(MsgHour023, QStringLiteral("ORASPE"));
    if (m.captured(1).toInt() >= 24)
        return CheckResult::fail(MsgHour023, QStringLiteral("ORASPE"));
    if (m.captured(2).toInt() >= 60)
        return CheckResult::fail(MsgMinute059, QStringLiteral("ORASPE"));
    return CheckResult::pass();
}

CheckResult checkDepositOrExemption(const QString& text, const QString& focus)
{
    const QString t = trimField(text);
    if (t == QLatin1String("C") || t == QLatin1String("E"))
        return CheckResult::pass();
    return CheckResult::fail(MsgDepositOrExemptionCE, focus);
}

// ---- page checks -------------------------------------------------------------------------------

QString pageCheckClosing(const CheckResult& r)
{
    if (r.ok || r.focus.isEmpty() || r.message.isEmpty() || r.message == MsgRequiredField)
        return {};
    return MsgRequiredField;
}

CheckResult checkPage1(EadForm& f, const CodeCheck& valid)
{
    PageCheck c;
    const QString tipdes = trimField(f["TIPDES"]);
    if (f.panels.exemption)
        c.require(valid(QStringLiteral("T004"), f["STAMEM"]), "STAMEM");
    if (f.panels.place) {
        c.require(valid(QStringLiteral("T001"), f["LINLDE"]), "LINLDE");
        for (const char* n : {"CITLDE", "CAPLDE", "NUCLDE", "INDLDE", "DENLDE"})
            c.required(f, n);
        if (tipdes == QLatin1String("4"))
            f["COIDLD"].clear();
        else
            c.required(f, "COIDLD");
    }
    if (f.panels.consignee) {
        c.require(valid(QStringLiteral("T001"), f["LINDES"]), "LINDES");
        for (const char* n : {"CITDES", "CAPDES", "NUCDES", "INDDES", "DENDES"})
            c.required(f, n);
        if (tipdes == QLatin1String("5"))
            f["COIDDE"].clear();
        else
            c.required(f, "COIDDE");
    }
    c.require(valid(QStringLiteral("T015"), f["TIPDES"]), "TIPDES");
    c.require(dates::parseDdmmyyyy(f["DATFAT"]).isValid(), "DATFAT");
    c.required(f, "NUMFAT");
    if (f.panels.dispatch) {
        // A premises number typed and never left (a tab clicked) is checked here as well.
        const QString sedels = trimField(f["SEDELS"]);
        c.require(isDigits(sedels, 3) && sedels != QLatin1String("000")
                      && (sedels == QLatin1String("001") || valid(kPremisesTable, sedels)),
                  "SEDELS", MsgSedels);
        c.required(f, "COIDLS");
    }
    const CheckResult tipmes = checkTipmes(f["TIPMES"]);
    c.require(tipmes.ok, "TIPMES", tipmes.message);
    c.require(valid(QStringLiteral("T001"), f["LINGUA"]), "LINGUA");
    return c.result();
}

CheckResult checkPage2(EadForm& f, const CodeCheck& valid, int transportLines, const QDate& today)
{
    PageCheck c;
    c.require(transportLines > 0, "UNITRA");
    c.require(checkInvdif(f["INVDIF"]).ok, "INVDIF");
    if (f.panels.nilodd)
        c.require(checkNilodd(f["NILODD"]).ok, "NILODD");
    c.require(checkTime(f["ORASPE"]).ok, "ORASPE");
    f["ORASPE"] = normalTime(f["ORASPE"]); // the header holds "hh:mm", five characters
    const CheckResult date = checkDispatchDate(f["DATSPE"], today, nullptr);
    c.require(date.ok, "DATSPE", date.message);
    if (f.panels.hours)
        c.require(checkHours(f["DURORE"]).ok && ParseInteger(f["DURORE"]) != 0, "DURORE");
    else
        c.require(checkDays(f["DURGIO"]).ok && ParseInteger(f["DURGIO"]) != 0, "DURGIO");
    checkTransportArrangement(c, f, valid);
    return c.result();
}

void checkTransportArrangement(PageCheck& c, EadForm& f, const CodeCheck& valid)
{
    c.require(valid(QStringLiteral("T008"), f["MODTRA"]), "MODTRA");
    if (trimField(f["MODTRA"]).startsWith(QLatin1Char('0')))
        c.required(f, "INFTRA");
    else
        f["INFTRA"].clear();
    c.require(valid(QStringLiteral("T016"), f["RESTRA"]), "RESTRA");
    const QString restra = trimField(f["RESTRA"]);
    if (restra != QLatin1String("3") && restra != QLatin1String("4")) {
        emptyBlock(kTransporter, f);
    } else if (f.panels.transport) {
        c.require(valid(QStringLiteral("T001"), f["LINAZT"]), "LINAZT");
        for (const char* n : {"CITAZT", "CAPAZT", "NUCAZT", "INDAZT", "DENAZT", "PIAZTR"})
            c.required(f, n);
    } else {
        f.panels.transport = true;
        c.require(false, "PIAZTR");
    }
}

CheckResult checkPage3(int productLines)
{
    PageCheck c;
    c.require(productLines > 0, "COAZPR");
    return c.result();
}

CheckResult checkPage4(EadForm& f, const CodeCheck& valid)
{
    PageCheck c;
    const QString tipgar = f["TIPGAR"];
    f.panels.guarantor2 = tipgar.contains(QLatin1Char('2'));
    if (f.panels.guarantor2) {
        c.require(valid(QStringLiteral("T001"), f["LINTRG"]), "LINTRG");
        for (const char* n : {"CITTRG", "CAPTRG", "NUCTRG", "INDTRG", "DENTRG", "PITRAG", "CATRAG"})
            c.required(f, n);
    } else {
        emptyBlock(kGuarantor2, f);
    }
    f.panels.guarantor3 = tipgar.contains(QLatin1Char('3'));
    if (f.panels.guarantor3) {
        c.require(valid(QStringLiteral("T001"), f["LINPRG"]), "LINPRG");
        for (const char* n : {"CITPRG", "CAPPRG", "NUCPRG", "INDPRG", "DENPRG", "PIPROG", "CAPROG"})
            c.required(f, n);
    } else {
        emptyBlock(kGuarantor3, f);
    }
    return c.result();
}

AllPagesVerdict checkAllPages(EadForm& f, const CodeCheck& valid, int transportLines, int productLines,
                              const QDate& today)
{
    if (CheckResult r = checkPage1(f, valid); !r.ok)
        return {1, r};
    if (CheckResult r = checkPage2(f, valid, transportLines, today); !r.ok)
        return {2, r};
    if (CheckResult r = checkPage3(productLines); !r.ok)
        return {3, r};
    if (CheckResult r = checkPage4(f, valid); !r.ok)
        return {4, r};
    // The guarantee itself: a known type and a deposit or exemption in every row it names.
    if (!valid(QStringLiteral("T007"), f["TIPGAR"]))
        return {4, CheckResult::fail(MsgRequiredField, QStringLiteral("TIPGAR"))};
    for (const GuaranteeRow& row : guaranteeRows())
        if (f["TIPGAR"].contains(row.digit))
            if (CheckResult r = checkDepositOrExemption(f[row.kind], row.kind); !r.ok)
                return {4, r};
    return {};
}

// ---- copies --------------------------------------------------------------------------------------

std::optional<TRecAzienda> dispatchPremises(const AppContext& ctx, const TRecAzienda& company, const QString& sedels)
{
    const QString s = trimField(sedels);
    if (!isDigits(s, 3) || s == QLatin1String("000"))
        return std::nullopt;
    if (s == QLatin1String("001")) {
        TRecAzienda c = company;
        trimCompany(c);
        return c;
    }
    const auto first = RecordFile(ctx.datiGen(QStringLiteral("UTENTE.") + s), TRecAzienda::Size).readFirst();
    if (!first)
        return std::nullopt;
    return decodeCompany(*first);
}

void copyDispatchPlace(const TRecAzienda& p, bool headOffice, EadForm& f)
{
    if (headOffice) {
        f["SEDELS"] = QStringLiteral("001");
        f["COIDLS"] = p.CACCI1;
        f["DENLSP"] = p.DENOM1;
    } else {
        f["COIDLS"] = p.CACCI2;
        f["DENLSP"] = p.DENOM2;
    }
    f["INDLSP"] = p.INDIR2;
    f["NUCLSP"] = p.NUMCI2;
    f["CAPLSP"] = p.C_A_P2;
    f["CITLSP"] = p.CITTA2;
    f["UFFSPE"] = p.UFFDO2;
}

void copyConsignee(const TRecIndirizzo& r, EadForm& f)
{
    f["TIPDES"] = r.TIPOIN;
    applyConsigneeView(consigneeView(r.TIPOIN, f["TIPMES"]), f);
    f["COIDDE"] = r.CACCI1;
    f["COIDLD"] = r.CACCI2;
    f["DENDES"] = r.DENOM1;
    f["CERESE"] = r.DENOM2;
    f["DENLDE"] = r.DENOM2;
    f["INDDES"] = r.INDIR1;
    f["INDLDE"] = r.INDIR2;
    f["NUCDES"] = r.NUMCI1;
    f["NUCLDE"] = r.NUMCI2;
    f["CAPDES"] = r.C_A_P1;
    f["CAPLDE"] = r.C_A_P2;
    f["CITDES"] = r.CITTA1;
    f["CITLDE"] = r.CITTA2;
    f["STAMEM"] = r.CODUTE;
    f["LINDES"] = r.SEZDOG;
    f["LINLDE"] = r.SEZDOG;
}

void copyTransporter(const TRecIndirizzo& r, EadForm& f)
{
    f["PIAZTR"] = r.CACCI2;
    f["DENAZT"] = r.DENOM1;
    f["INDAZT"] = r.INDIR1;
    f["NUCAZT"] = r.NUMCI1;
    f["CAPAZT"] = r.C_A_P1;
    f["CITAZT"] = r.CITTA1;
    f["LINAZT"] = r.SEZDOG;
}

void copyGuarantor(const TRecIndirizzo& r, EadForm& f)
{
    f["CATRAG"] = r.CACCI1;
    f["PITRAG"] = r.CACCI2;
    f["DENTRG"] = r.DENOM1;
    f["INDTRG"] = r.INDIR1;
    f["NUCTRG"] = r.NUMCI1;
    f["CAPTRG"] = r.C_A_P1;
    f["CITTRG"] = r.CITTA1;
    f["LINTRG"] = r.SEZDOG;
}

// ---- guarantees ----------------------------------------------------------------------------------

const QList<GuaranteeRow>& guaranteeRows()
{
    static const QList<GuaranteeRow> rows{{QLatin1Char('1'), "GARSPE", "TGASPE", "IMGASP"},
                                          {QLatin1Char('4'), "GARDES", "TGADES", "IMGADE"},
                                          {QLatin1Char('2'), "GARTRA", "TGATRA", "IMGATR"},
                                          {QLatin1Char('3'), "GARPRO", "TGAPRO", "IMGPRO"}};
    return rows;
}

QString applyGuaranteeType(EadForm& f, const QString& companyAccount, double exciseAmount)
{
    const QString tipgar = f["TIPGAR"];
    for (const GuaranteeRow& row : guaranteeRows()) {
        if (tipgar.contains(row.digit))
            continue;
        f[row.account].clear();
        f[row.kind] = QStringLiteral("C");
        f[row.amount].clear();
    }
    if (tipgar.contains(QLatin1Char('1')) && trimField(f["GARSPE"]).isEmpty())
        f["GARSPE"] = trimField(companyAccount);
    f.panels.guarantor2 = tipgar.contains(QLatin1Char('2'));
    if (!f.panels.guarantor2)
        emptyBlock(kGuarantor2, f);
    f.panels.guarantor3 = tipgar.contains(QLatin1Char('3'));
    if (!f.panels.guarantor3)
        emptyBlock(kGuarantor3, f);
    for (const GuaranteeRow& row : guaranteeRows())
        if (tipgar.contains(row.digit)) {
            // An amount already in the row (stored with a modified e-AD, or typed) is not replaced
            // by passing through the type: only an empty row takes the amount proposed.
            if (trimField(f[row.amount]).isEmpty())
                f[row.amount] = generalNumber(exciseAmount);
            return row.account;
        }
    return {};
}

bool refreshGuaranteeAmount(EadForm& f, double proposedBefore, double proposedNow)
{
    const QString tipgar = f["TIPGAR"];
    for (const GuaranteeRow& row : guaranteeRows()) {
        if (!tipgar.contains(row.digit))
            continue;
        const QString shown = trimField(f[row.amount]);
        double before = proposedBefore;
        RoundTo(before, 2);
        if (!shown.isEmpty() && ParseDecimal(shown, 2) != before)
            return false; // typed by the user
        const QString now = generalNumber(proposedNow);
        if (ParseDecimal(shown, 2) == ParseDecimal(now, 2) && !shown.isEmpty())
            return false;
        f[row.amount] = now;
        return true;
    }
    return false;
}

// ---- form <-> header -------------------------------------------------------------------------------

void page1ToHeader(const EadForm& f, const TRecAzienda& company, TRecEad& h)
{
    TRecAzienda c = company;
    trimCompany(c);
    h.tipoSpeditore = c.TIPOIN;
    h.LINGUA = trimField(f["LINGUA"]);
    h.TIPMES = trimField(f["TIPMES"]);
    h.TIPDES = trimField(f["TIPDES"]);
    h.accisaSpeditore = c.CACCI1;
    h.denominazioneSpeditore = c.DENOM1;
    h.indirizzoSpeditore = c.INDIR1;
    h.civicoSpeditore = c.NUMCI1;
    h.capSpeditore = c.C_A_P1;
    h.cittaSpeditore = c.CITTA1;
    toHeader(kDispatch, f, h, f.panels.dispatch);
    h.UFFSPE = trimField(f["UFFSPE"]);
    h.ufficioCompetente = h.UFFSPE;
    // Only what the user sees goes into the e-AD: a block hidden by the type of consignee keeps
    // no text typed before the type was changed.
    toHeader(kConsignee, f, h, f.panels.consignee);
    toHeader(kExemption, f, h, f.panels.exemption);
    toHeader(kPlace, f, h, f.panels.place);
    toHeader(kExport, f, h, f.panels.exportOffice);
    h.NUMFAT = trimField(f["NUMFAT"]);
    h.DATFAT = dates::fromDate(dates::parseDdmmyyyy(f["DATFAT"]));
}

void page2ToHeader(const EadForm& f, TRecEad& h)
{
    h.RESTRA = trimField(f["RESTRA"]);
    h.MODTRA = trimField(f["MODTRA"]);
    h.INFTRA = trimField(f["INFTRA"]);
    h.unitaDurata = f.panels.hours ? 1 : 0;
    h.durata = ParseInteger(f.panels.hours ? f["DURORE"] : f["DURGIO"]);
    h.DATSPE = dates::fromDate(dates::parseDdmmyyyy(f["DATSPE"]));
    h.ORASPE = normalTime(trimField(f["ORASPE"]));
    h.INVDIF = trimField(f["INVDIF"]);
    toHeader(kTransporter, f, h, f.panels.transport);
}

void page4ToHeader(const EadForm& f, TRecEad& h)
{
    h.TIPGAR = trimField(f["TIPGAR"]);
    h.GARSPE = trimField(f["GARSPE"]);
    h.TGASPE = trimField(f["TGASPE"]);
    h.IMGASP = ParseDecimal(f["IMGASP"], 2);
    h.GARDES = trimField(f["GARDES"]);
    h.TGADES = trimField(f["TGADES"]);
    h.IMGADE = ParseDecimal(f["IMGADE"], 2);
    h.GARTRA = trimField(f["GARTRA"]);
    h.TGATRA = trimField(f["TGATRA"]);
    h.IMGATR = ParseDecimal(f["IMGATR"], 2);
    h.GARPRO = trimField(f["GARPRO"]);
    h.TGAPRO = trimField(f["TGAPRO"]);
    h.IMGPRO = ParseDecimal(f["IMGPRO"], 2);
    toHeader(kGuarantor2, f, h, f.panels.guarantor2);
    toHeader(kGuarantor3, f, h, f.panels.guarantor3);
}

TRecEad headerFromForm(const EadForm& f, const TRecAzienda& company)
{
    TRecEad h = blankEad();
    eadToWorkingForm(h);
    page1ToHeader(f, company, h);
    page2ToHeader(f, h);
    page4ToHeader(f, h);
    return h;
}

EadForm formFromHeader(const TRecEad& stored)
{
    TRecEad h = stored;
    eadToWorkingForm(h);
    EadForm f;
    for (const QStringList* page : {&page1Fields(), &page2Fields(), &page4Fields()})
        for (const QString& n : *page)
            f[n] = QString();
    toForm(kDispatch, h, f);
    toForm(kConsignee, h, f);
    toForm(kPlace, h, f);
    toForm(kExemption, h, f);
    toForm(kExport, h, f);
    toForm(kTransporter, h, f);
    toForm(kGuarantor2, h, f);
    toForm(kGuarantor3, h, f);
    toForm(kOther, h, f);
    f["DATFAT"] = dateText(h.DATFAT);
    f["DATSPE"] = dateText(h.DATSPE);
    f.panels.hours = h.unitaDurata == 1;
    f[f.panels.hours ? QStringLiteral("DURORE") : QStringLiteral("DURGIO")] = QString::number(h.durata);
    f.panels.dispatch = h.tipoSpeditore == QLatin1String("1");
    f.panels.nilodd = h.INVDIF == QLatin1String("S");
    if (f.panels.nilodd)
        f["NILODD"] = h.riferimentoLocale;
    f.panels.transport = h.RESTRA == QLatin1String("3") || h.RESTRA == QLatin1String("4");
    applyConsigneeView(consigneeView(h.TIPDES, h.TIPMES), f);
    for (const GuaranteeRow& row : guaranteeRows()) {
        const Member acc = row.digit == QLatin1Char('1') ? &TRecEad::GARSPE
            : row.digit == QLatin1Char('4')              ? &TRecEad::GARDES
            : row.digit == QLatin1Char('2')              ? &TRecEad::GARTRA
                                                         : &TRecEad::GARPRO;
        const Member kind = row.digit == QLatin1Char('1') ? &TRecEad::TGASPE
            : row.digit == QLatin1Char('4')               ? &TRecEad::TGADES
            : row.digit == QLatin1Char('2')               ? &TRecEad::TGATRA
                                                          : &TRecEad::TGAPRO;
        const double amount = row.digit == QLatin1Char('1') ? h.IMGASP
            : row.digit == QLatin1Char('4')                 ? h.IMGADE
            : row.digit == QLatin1Char('2')                 ? h.IMGATR
                                                            : h.IMGPRO;
        f[row.account] = h.*acc;
        f[row.kind] = (h.*kind).isEmpty() ? QStringLiteral("C") : h.*kind;
        f[row.amount] = h.TIPGAR.contains(row.digit) ? generalNumber(amount) : amountText(amount);
    }
    f.panels.guarantor2 = h.TIPGAR.contains(QLatin1Char('2'));
    f.panels.guarantor3 = h.TIPGAR.contains(QLatin1Char('3'));
    return f;
}

SummaryBlocks summaryBlocks(const EadForm& f)
{
    SummaryBlocks b;
    b.consignee = f.panels.consignee;
    b.exportOffice = f.panels.exportOffice;
    b.placeOfDelivery = f.panels.place;
    b.exemption = f.panels.exemption;
    b.transportCompany = f.panels.transport;
    return b;
}

} // namespace vt
