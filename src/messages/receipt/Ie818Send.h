#pragma once
// What the IE818 flow window does with the files: the unsent reports of receipt of a year offered
// for a flow; the confirmation that writes the checked reports into one IE818 flow file in the
// folder of files to sign and stores the flow date and number in them; and, after a positive
// outcome in the real environment, state "I" in the reports the outcome accepted.
//
// The reports are read again under the lock of their store when the flow is built: a report that
// another workstation has deleted or sent meanwhile stops the confirmation with a message. Every
// byte of the flow is built first; the flow date and number then go into the reports in one atomic
// rewrite of the store, under its lock, and the flow file is written.
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

#include "foundation/EadRecord.h"
#include "messages/flows/FlowEntryCheck.h"
#include "messages/receipt/Ie818Flow.h"

namespace vt {

struct AppContext;

inline const char* const NoMessageSelected = "NON E' STATO SELEZIONATO ALCUN MESSAGGIO";

// The reports of the year that are not sent (state below "0"), as stored, in file order.
QList<TRecEad> unsentReports(const AppContext& ctx, const QString& year);
// Their item in the check list: ARC + " data arrivo: " + dd/mm/yyyy + " esito: " + outcome +
// " da: " + consignor's name.
QString unsentReportItem(const TRecEad& report);

struct Ie818FlowRequest {
    QString year;                        // WorkYear: the store of the reports
    QList<std::int32_t> reports;         // the checked reports, in list order
    QDate flowDate;
    int flowNumber = 0;
    QString flowName;                    // e.g. ABCD1209.C03
    bool replaceSigned = false;          // a signed file of that name exists and is to be deleted first
};

struct Ie818FlowWritten {
    QString flowPath;
    QList<Ie818Placement> placements;    // where each report stands in the flow
};

// The request of a checked flow entry for the checked reports.
Ie818FlowRequest ie818Request(const AppContext& ctx, const QList<std::int32_t>& reports, const FlowEntry& entry);

// Builds and writes the flow. Throws IoError (no report, a report gone or already sent, a file
// that cannot be read or written); nothing is written into the flow folder then.
Ie818FlowWritten writeIe818Flow(AppContext& ctx, const Ie818FlowRequest& request);

// The reports the outcome accepted: all of them when the outcome has positive lines and no
// negative one; otherwise those whose J line has a positive outcome line ("I" lines, the flow line
// number at 47-50, "P" at 51) and none of whose lines has a negative one.
QList<std::int32_t> acceptedReports(const QByteArray& attachment, const QList<Ie818Placement>& placements);

// State "I" in the accepted reports that still carry this flow's date and number, in one rewrite
// under the lock. Returns the reports marked. Throws IoError.
QList<std::int32_t> markIe818Sent(AppContext& ctx, const QString& year, const QList<std::int32_t>& accepted,
                                  const QDate& flowDate, int flowNumber);

} // namespace vt
