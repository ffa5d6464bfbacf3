#pragma once
// What the confirmation of the IE815 flow window does with the files: the flow date and number
// stored in the e-AD header, the product lines numbered 1..n, the flow file written into the
// folder of files to sign; and, after a positive outcome in the real environment, the ARC and
// state "I" stored in the header.
#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

#include "foundation/Check.h"
#include "foundation/EadRecord.h"
#include "messages/flows/FlowEntryCheck.h"
#include "messages/ead/Ie815Flow.h"

namespace vt {

struct AppContext;

struct Ie815FlowRequest {
    QString year;                // WorkYear: the yearly files of the e-AD
    std::int32_t progressive = 0;
    QDate flowDate;
    int flowNumber = 0;
    QString flowName;            // e.g. ABCD1209.C03
    bool replaceSigned = false;  // a signed file of that name exists and is to be deleted first
};

struct Ie815FlowWritten {
    QString flowPath;            // the file written
    int productLines = 0;
    QStringList warnings;        // to be shown; the flow was written all the same
};

// The rows of DatiGenFolder/T020.TAB in file order, or nothing when the table is missing or
// damaged (then *warning says so).
std::optional<QList<TRecTabella>> readTreatments(const AppContext& ctx, QString* warning = nullptr);

// The checks made when the confirmation is reached, in their order: the flow number (positive,
// focus NUMFLU), the flow date (a date, focus DATFLU), the flow name (a user code that can name a
// file); then, without stopping the confirmation, the IE815 date rule and the signed file of the
// same name already present (to be replaced).
struct Ie815Confirmation {
    CheckResult verdict;        // a failure stops the confirmation
    QStringList warnings;       // shown in order; they do not stop it
    QString warningFocus;       // DATFLU after the date rule's message
    Ie815FlowRequest request;   // valid when verdict passes
};
Ie815Confirmation checkIe815Confirmation(const AppContext& ctx, const QDate& flowDate, const QString& numberText,
                                         const TRecEad& header);

// The request of a checked flow entry for the e-AD of header.
Ie815FlowRequest ie815Request(const AppContext& ctx, const TRecEad& header, const FlowEntry& entry);

// The date rule of the IE815: the flow date may not be more than 7 days before the dispatch.
bool flowDateTooEarly(const QDate& flowDate, double dispatchDate);
// That rule for the flow entry, on the dispatch date of header (read when the rule runs).
FlowDateRule ie815DateRule(const TRecEad& header);
inline const char* const FlowDateTooEarly =
    "LA DATA DEL FLUSSO NON PUO' ESSERE ANTERIORE DI 7 GIORNI DALLA DATA DI SPEDIZIONE";

// Builds and writes the IE815 flow of the e-AD (confirmation steps 2 to 11). Every byte of the flow
// is built before anything changes; then the flow file is written, the replaced signed file
// removed, the product lines numbered and, last, the flow date and number stored in the header.
// Every change is made under the lock of its file. Throws IoError (the e-AD not in its file, no
// product line, a character the code page cannot hold, a file that cannot be read or written);
// a failure before the flow file is written leaves everything as it was.
Ie815FlowWritten writeIe815Flow(AppContext& ctx, const Ie815FlowRequest& request);

// After a positive outcome in the real environment: ARC (padded with spaces to 21) and state "I"
// in the header. False when the header is no longer in its file. Throws IoError.
bool storeIe815Arc(AppContext& ctx, const QString& year, std::int32_t progressive, const QString& arc);

} // namespace vt
