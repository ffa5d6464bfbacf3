#pragma once
// The change of destination of an accepted e-AD (message IE813), without its window: the e-AD
// taken in hand for it, the form the window opens with, the page checks, the change record built
// from the form, the summary shown before confirming, and the confirmation that stores the change
// in RegistriFolder\yyyy_813.DAT with its transport details in yyyy_813_P.DAT.
//
// The form is the e-AD compilation form (EadForm): the change window shows the same consignee,
// place-of-delivery and transport fields under the same component names, so the layout by type of
// consignee and the copies from the address book are shared with the compilation.
//
// A change and its details are written as one FileGroup change, details first: a failure
// part-way leaves both files as they were, never a change without its details. The confirmation
// runs every check afresh at that moment and writes nothing while one fails; an e-AD without an
// ARC cannot be changed (its IE813 would carry no reference), neither when it is picked nor when
// the change is confirmed.
#include <QList>
#include <QString>
#include <QStringList>

#include "foundation/AppContext.h"
#include "foundation/Check.h"
#include "foundation/EadRecord.h"
#include "messages/ead/EadForm.h"

namespace vt {

inline const QString MsgChangeWithoutArc = QStringLiteral(
    "L'e-AD SCELTO NON HA IL NUMERO DI ARC: IL CAMBIO DI DESTINAZIONE E' POSSIBILE SOLO PER UN e-AD "
    "ACCETTATO DAL SISTEMA TELEMATICO DOGANALE");
inline const QString MsgChangeEadGone =
    QStringLiteral("L'e-AD SCELTO NON E' PIU' PRESENTE O E' STATO ANNULLATO DA UN'ALTRA POSTAZIONE");

// May this e-AD (stored or working form) have its destination changed? It needs its ARC (21
// characters without blanks) and must not be cancelled (state " " or "I").
CheckResult checkChangeableEad(const TRecEad& ead);

// The loader of the change-of-destination sequence (OpCode 'D'): the e-AD PickedEad of
// SelectedYear into EadHeader (a copy in OldEad), only its transport lines into TRASPORTO.DAT,
// PRODOTTI.DAT emptied, WorkYear := SelectedYear. When the e-AD is gone or cannot be changed,
// PickedEad becomes -1 and the reason is shown. IoError passes through.
void loadChangeDestinationEad(AppContext& ctx);

// The message type of an e-AD as the change sees it: "2" stays, anything else counts as "1".
QString changeMessageType(const TRecEad& ead);

// The form the window opens with, from the e-AD in hand: language, customs office, invoice,
// type of consignee, consignee, place of delivery, export office, transport organiser, transport
// company, mode and note, journey time; panels laid out by the type of consignee and the e-AD's
// message type (held in TIPMES, which the window does not show). No dispatch place, exemption or
// fallback block belongs to a change.
EadForm changeFormFromEad(const TRecEad& ead);

// The panels of a change after the layout by type of consignee: never the exemption nor the
// place of dispatch.
void changePanels(EadPanels& p);

// "Rientro in Azienda": the goods go back to the company. TIPDES := the company's authorisation
// type; consignee := its excise number, name and head office, language "it"; place of delivery :=
// its premises (the second address), language "it".
void copyCompanyReturn(const TRecAzienda& company, EadForm& f);

// Page checks. Every failing rule moves the focus to its field (the last one checked keeps it);
// one message at the end, "CAMPO OBBLIGATORIO NON COMPILATO" unless a rule has its own. Some rules
// empty a field instead (an identification a type does not carry, a note a mode does not want, a
// transport company the organiser does not need).
// Page 1 is the compilation's page-1 check on the layout of the codes as they stand, and an export
// (type "6") needs its office of export.
CheckResult checkChangePage1(EadForm& f, const CodeCheck& valid);
CheckResult checkChangePage2(EadForm& f, const CodeCheck& valid, int transportLines);

// The change record (working form) from the form and the e-AD it changes: change number 0 (given
// when stored), state " ", no flow. The e-AD's ARC, number, date of dispatch and premises of
// dispatch go with it (the IE813 header names the premises).
TRecEad changeRecordFromForm(const EadForm& f, const TRecEad& ead, const TRecAzienda& company);

// A line of the list of transport details: "n. " + position + " = " + unit + " " + identity + " " +
// complementary information + " " + seal identification + " " + seal information (trimmed).
QString changeDetailEntry(const TRecDettaglio& line, int n);

// The summary as the window shows it (and saves it in RIEPILOGO.RTF on confirming): a first line
// naming the e-AD changed (ARC and date of dispatch), then the lines of the change.
QStringList changeScreenSummary(const EadForm& f, const TRecEad& change, const QList<TRecDettaglio>& details);

// Stores the change of `year` and the lines of TRASPORTO.DAT as its details, as one change of
// both files: change number := largest + 1; each detail gets the next running number of
// yyyy_813_P.DAT and the change number. Under the same locks the e-AD changed is read again: gone,
// cancelled, without ARC or with another ARC than the change's, nothing is written. A change
// without details is refused. Returns the change as stored. IoError passes through (nothing
// written).
TRecEad saveChange(AppContext& ctx, const TRecEad& change, const QString& year);

// The confirmation. Runs both page checks on the form as it stands (the form may be changed by
// them, as the pages would be) and the ARC check of the e-AD in hand; when one fails nothing is
// written and the verdict says which page (1, 2; 0 for the e-AD) and field. The e-AD as its file
// holds it is checked when saving (IoError with the reason). Otherwise writes the
// summary into RIEPILOGO.RTF and stores the change: MessageRecord becomes the stored change and
// WorkYear the year of the e-AD's date of dispatch, for the IE813 flow window.
struct ChangeOutcome {
    bool saved = false;
    int page = 0;
    CheckResult result;
    QStringList summary;
};
ChangeOutcome confirmChange(AppContext& ctx, EadForm& form);

} // namespace vt
