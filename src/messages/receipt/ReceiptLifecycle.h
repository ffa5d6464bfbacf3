#pragma once
// The lifecycle actions on a stored report of receipt, chosen in the e-AD chooser:
//   "N" deletes a report that was not sent, with its lines and its pending register loads;
//   "n" resets the send data of a report (flow date and number 0, state " ").
// Both read the report again under the lock by its number: another workstation may have deleted
// or sent it since it was chosen.
#include <QString>

#include <cstdint>

#include "foundation/EadRecord.h"

namespace vt {

struct AppContext;

enum class ReceiptAction { Done, NotFound, AlreadySent };

// The message for a refused action (empty for Done).
QString receiptActionMessage(ReceiptAction result, std::int32_t number);

// "N": under the locks of <year>_818_J.DAT, <year>_818_K.DAT and <arrival year>_818_RGM.DAT, as one
// change: the report, its lines (field 0 = number) and its register work records (same number and
// same ARC, so that another report sharing the number is never touched). Refused for a sent report.
ReceiptAction deleteUnsentReceipt(AppContext& ctx, const QString& year, std::int32_t number);

// "n": flow date 0, flow number 0, state " " in <year>_818_J.DAT.
ReceiptAction resetReceiptSendData(AppContext& ctx, const QString& year, std::int32_t number);

// The dispatcher's step for "N" and "n" after the choice: WorkYear := SelectedYear; the report
// PickedEad of that year into MessageRecord, its lines into DETTAGLI.818 and its summary into
// RIEPILOGO.RTF. False (nothing loaded) when the report is not in its file. Throws IoError.
bool loadChosenReceipt(AppContext& ctx);

} // namespace vt
