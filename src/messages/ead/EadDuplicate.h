#pragma once
// "Duplica e-AD": a new e-AD written from an earlier one. The chosen e-AD (any
// state) is read under the lock of its header file, together with its lines,
// and never changed; its lines go into the work files and the compilation
// window opens as for a new e-AD with everything copied except what identifies
// a dispatch: the number and local reference number (given when it is saved),
// the dates of dispatch and of the document (today), the time of dispatch
// ("23:00" as for a new e-AD), the fallback procedure, the ARC, the state and
// the send data (the compilation builds a fresh header, so they cannot pass
// over).
//
// What the source names may have gone since it was written: besides the page
// checks of a new e-AD, a duplicate checks that its consignee is still in the
// address book and that the codes and products of its copied lines are still
// valid, each with the focus on the field to correct.
#include <QDate>

#include "foundation/Check.h"
#include "foundation/CompanyRecord.h"
#include "foundation/EadRecord.h"
#include "messages/ead/EadForm.h"

namespace vt {

struct AppContext;

// The loader of the duplicate sequence: e-AD PickedEad of SelectedYear into
// EadHeader (as stored) and its lines into the work files, renumbered 1, 2, ...
// and owned by no e-AD. PickedEad becomes -1, with a message, when the e-AD is
// gone.
void loadDuplicateSource(AppContext& ctx);
inline const QString MsgDuplicateGone = QStringLiteral("L'e-AD SCELTO NON E` PIU` PRESENTE: E` STATO CANCELLATO DA "
                                                       "UN'ALTRA POSTAZIONE");

// The compilation form of the duplicate of `source`.
EadForm duplicateForm(const TRecEad& source, const TRecAzienda& company, const QDate& today);

// The checks a duplicate adds to page 1 (consignee still in INDIRIZZI_D, by its
// identifier or, when it has none, by its name), page 2 (transport unit codes
// of the lines) and page 3 (product, TA20 and package codes of the lines).
// Other pages pass.
CheckResult checkDuplicatePage(AppContext& ctx, const EadForm& f, int page);
inline const QString MsgConsigneeGone = QStringLiteral("IL DESTINATARIO NON E` PIU` NELL'INDIRIZZARIO: SCEGLIERLO "
                                                       "DI NUOVO CON \"Destinatari\" O CORREGGERLO");
// "%1" the line number, "%2" the code.
inline const QString MsgTransportCodeGone = QStringLiteral("DETTAGLIO DEL TRASPORTO N. %1: L'UNITA` DI TRASPORTO %2 "
                                                           "NON E` PIU` UN CODICE VALIDO");
inline const QString MsgProductGone = QStringLiteral("DETTAGLIO DEL VINO N. %1: IL CODICE %2 NON E` PIU` VALIDO, "
                                                     "CORREGGERE O CANCELLARE IL DETTAGLIO");

} // namespace vt
