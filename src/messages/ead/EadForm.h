#pragma once
// The e-AD compilation form without its window: the texts of the fields as the user sees them
// (keyed by component name), the visibility of the panels, the page checks, the layout by type of
// consignee, the copies from the address book and from the company's premises, and the mapping
// between the form and the e-AD header.
//
// A page check runs its rules in a fixed order; every failing rule moves the focus to its field,
// so with several failures the last one checked keeps it. A rule with a message of its own shows
// it, and every failing check ends with "CAMPO OBBLIGATORIO NON COMPILATO" once. Some rules empty
// a field instead of checking it (a hidden block never carries stale text into the e-AD).
#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "foundation/Check.h"
#include "foundation/CompanyRecord.h"
#include "foundation/EadRecord.h"

namespace vt {

struct AppContext;

inline const QString MsgRequiredField = QStringLiteral("CAMPO OBBLIGATORIO NON COMPILATO");
inline const QString MsgTipmes = QStringLiteral("DIGITA: 1 per Standard, 2 per esportazione con domiciliazione");
inline const QString MsgDays = QStringLiteral("INDICARE UN VALORE COMPRESO TRA 0 e 92");
inline const QString MsgHours = QStringLiteral("INDICARE UN VALORE COMPRESO TRA 0 e 24");
inline const QString MsgInvdif = QStringLiteral("DIGITA: N o S se la spezione è già avvenuta con DAA cartaceo");
inline const QString MsgNilodd = QStringLiteral("DIGITA IL N° IDENTIFICATIVO LOCALE ATTRIBUITO AL DAA DI RISERVA");
inline const QString MsgSevenDays = QStringLiteral("NON INVIARE IL MESSAGGIO PRIMA DI 7 GIORNI DALLA DATA DI SPEDIZIONE");
inline const QString MsgHour023 = QStringLiteral("INDICARE UN VALORE COMPRESO TRA 0 e 23");
inline const QString MsgMinute059 = QStringLiteral("INDICARE UN VALORE COMPRESO TRA 0 e 59");
inline const QString MsgDispatchYear =
    QStringLiteral("LA DATA DI SPEDIZIONE DEVE CADERE TRA IL 2008 E IL 2060");
inline const QString MsgSedels =
    QStringLiteral("LUOGO DI SPEDIZIONE: DIGITARE 001 PER LA SEDE PRINCIPALE O IL NUMERO DI TRE CIFRE DI UNA SEDE AUTORIZZATA");
inline const QString MsgDepositOrExemptionCE = QStringLiteral("DIGITA: C per cauzione, E per esonero");
inline const QString MsgError = QStringLiteral("ERRORE");
// The status note of a page change refused before anything was typed.
inline const QString MsgTypeFirst = QStringLiteral("DIGITARE PRIMA I DATI DELLA PAGINA 1");

// Is `code` a code of `table`? (The window looks it up in the table files; tests give a set.)
// The premises of the company count as the table kPremisesTable: "001" and every nnn with a file
// DatiGenFolder\UTENTE.nnn.
using CodeCheck = std::function<bool(const QString& table, const QString& code)>;
inline const QString kPremisesTable = QStringLiteral("UTENTE");

// Panels and choices that are not texts.
struct EadPanels {
    bool dispatch = false;        // PLUOGOSPEDIZIONE (company kind "1")
    bool consignee = true;        // PDESTINATARIO
    bool place = false;           // PLUOGODESTINAZIONE
    bool exemption = false;       // PESENZIONE
    bool exportOffice = false;    // pesportazione
    bool transport = false;       // PAZIENDADITRASPORTO
    bool nilodd = false;          // NILODD shown (INVDIF "S")
    bool hours = false;           // RTRASPORTO: false days (DURGIO), true hours (DURORE)
    bool guarantor2 = false;      // PGARANTE2
    bool guarantor3 = false;      // PGARANTE3
};

struct EadForm {
    QHash<QString, QString> text; // component name -> text as shown
    EadPanels panels;

    QString operator[](const QString& name) const { return text.value(name); }
    QString& operator[](const QString& name) { return text[name]; }
};

// The text components of each page, in the order of the page.
const QStringList& page1Fields();
const QStringList& page2Fields();
const QStringList& page4Fields();

// "Required": a text that compares less than "!" (empty, or starting with a space or a control
// character) is missing.
bool isMissing(const QString& text);

// The form of a new e-AD: defaults from the company (kind, head office as place of dispatch,
// export customs office) and today.
EadForm newEadForm(const TRecAzienda& company, const QDate& today);

// ---- layout by type of consignee -----------------------------------------------------------
struct ConsigneeView {
    bool consignee = true, place = false, exemption = false, exportOffice = false;
    int coiddeMax = 13, coidldMax = 13; // 0: no limit
    QString coiddeLabel = QStringLiteral("Identific.");
    QString coidldLabel = QStringLiteral("Identific.");
    bool focusNextPage = false; // type "8": the focus goes to "Pagina 2"
};
ConsigneeView consigneeView(const QString& tipdes, const QString& tipmes);
void applyConsigneeView(const ConsigneeView& v, EadForm& f);

// ---- field checks (on leaving a field) -----------------------------------------------------
CheckResult checkTipmes(const QString& tipmes);
// SEDELS: exactly three digits, "001" or a premises whose file exists.
CheckResult checkSedels(const AppContext& ctx, const QString& sedels);
// DATSPE: a real date (else the focus stays, no message) whose year is 2008..2060; more than 7
// days after today gives `warning` (the date is kept).
CheckResult checkDispatchDate(const QString& text, const QDate& today, QString* warning);
CheckResult checkDays(const QString& text);   // DURGIO 0..92
CheckResult checkHours(const QString& text);  // DURORE 0..24
CheckResult checkInvdif(const QString& text);
CheckResult checkNilodd(const QString& text);
CheckResult checkTime(const QString& text);   // ORASPE hh:mm
// A time that checkTime accepts written with two digits each side ("9:30" -> "09:30", "12:5" ->
// "12:05"); any other text as it is.
QString normalTime(const QString& text);
CheckResult checkDepositOrExemption(const QString& text, const QString& focus);

// ---- page checks -----------------------------------------------------------------------------
// Collects the failures of a page check: the last failing field keeps the focus; one message.
class PageCheck {
public:
    void require(bool ok, const char* focus, const QString& message = {})
    {
        if (ok)
            return;
        failed_ = true;
        focus_ = QLatin1String(focus);
        if (!message.isEmpty())
            message_ = message;
    }
    void required(const EadForm& f, const char* name) { require(!isMissing(f[QLatin1String(name)]), name); }
    CheckResult result() const
    {
        if (!failed_)
            return CheckResult::pass();
        return CheckResult::fail(message_.isEmpty() ? MsgRequiredField : message_, focus_);
    }

private:
    bool failed_ = false;
    QString focus_, message_;
};

// The last word of a failed page check shown after its message: "CAMPO OBBLIGATORIO NON
// COMPILATO" when the message was a field's own; empty otherwise (that message was already shown,
// or the result is no page check's: it names no field).
QString pageCheckClosing(const CheckResult& r);

CheckResult checkPage1(EadForm& f, const CodeCheck& valid);
CheckResult checkPage2(EadForm& f, const CodeCheck& valid, int transportLines, const QDate& today);
// The end of page 2, shared with the change of destination: mode (T008) and its note (required for
// mode "0", emptied otherwise), organiser (T016) and, for organisers "3" and "4", the transport
// company (panel shown and filled; emptied for the others).
void checkTransportArrangement(PageCheck& c, EadForm& f, const CodeCheck& valid);
CheckResult checkPage3(int productLines);
CheckResult checkPage4(EadForm& f, const CodeCheck& valid);

// Every page check in order, on a copy of the form: the first page that fails (1..4) and its
// verdict, or 0 when all pass. The confirmation runs this afresh before anything is written.
struct AllPagesVerdict {
    int page = 0;
    CheckResult result;
};
AllPagesVerdict checkAllPages(EadForm& f, const CodeCheck& valid, int transportLines, int productLines,
                              const QDate& today);

// ---- copies into the form --------------------------------------------------------------------
// The place of dispatch of premises SEDELS: the head office ("001", from the company record) or
// DatiGenFolder\UTENTE.nnn. Nothing when the number is not three digits or the file is missing.
std::optional<TRecAzienda> dispatchPremises(const AppContext& ctx, const TRecAzienda& company, const QString& sedels);
void copyDispatchPlace(const TRecAzienda& premises, bool headOffice, EadForm& f);

// Address book records (working form) into the form: a consignee (TIPDES and its layout first,
// language companions left to the window), a transport company, a guarantor (block "2").
void copyConsignee(const TRecIndirizzo& r, EadForm& f);
void copyTransporter(const TRecIndirizzo& r, EadForm& f);
void copyGuarantor(const TRecIndirizzo& r, EadForm& f);

// ---- guarantees -------------------------------------------------------------------------------
// Rows in the order consignor "1", consignee "4", transporter "2", owner "3".
struct GuaranteeRow {
    QChar digit;
    QString account, kind, amount;
};
const QList<GuaranteeRow>& guaranteeRows();
// Leaving TIPGAR with a valid code: rows of absent digits emptied ("C"), their panels emptied and
// hidden; the consignor's account from the company when empty; the amount into the first present
// row when it holds none. Returns the name of the account field to focus (empty when no row is
// present).
QString applyGuaranteeType(EadForm& f, const QString& companyAccount, double exciseAmount);
// The product lines changed since the amount was proposed: the first present row that still holds
// the amount proposed before (or nothing) takes the new one; an amount the user typed stays.
// True when the row was changed.
bool refreshGuaranteeAmount(EadForm& f, double proposedBefore, double proposedNow);

// ---- form <-> header ---------------------------------------------------------------------------
// The header built from the form (working form): clear, then every page in turn.
void page1ToHeader(const EadForm& f, const TRecAzienda& company, TRecEad& h);
void page2ToHeader(const EadForm& f, TRecEad& h);
void page4ToHeader(const EadForm& f, TRecEad& h);
TRecEad headerFromForm(const EadForm& f, const TRecAzienda& company);
// The form of a loaded header (modify mode).
EadForm formFromHeader(const TRecEad& stored);

// The blocks the summary shows, from the panels.
struct SummaryBlocks;
SummaryBlocks summaryBlocks(const EadForm& f);

} // namespace vt
