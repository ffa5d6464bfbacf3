#pragma once
// What the confirmation of the IE815 flow window does with the files: the flow date and number
// stored in the e-AD header, the product lines numbered 1..n, the flow file written into the
// folder of files to sign; and, after a positive outcome in the real environment, the ARC and
// state "I" stored in the header.
#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>

#include "messages/EadRecord.h"
#include "messages/Ie815Flow.h"

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
};

// The rows of DatiGenFolder/T020.TAB in file order, or nothing when the table is missing.
std::optional<QList<TRecTabella>> readTreatments(const AppContext& ctx);

// Builds and writes the IE815 flow of the e-AD (confirmation steps 2 to 11). Every change is made
// under the lock of its file. Throws IoError (the e-AD no longer in its file, no product line, a
// file that cannot be read or written); nothing is written into the flow folder then.
Ie815FlowWritten writeIe815Flow(AppContext& ctx, const Ie815FlowRequest& request);

// After a positive outcome in the real environment: ARC (padded with spaces to 21) and state "I"
// in the header. False when the header is no longer in its file. Throws IoError.
bool storeIe815Arc(AppContext& ctx, const QString& year, std::int32_t progressive, const QString& arc);

} // namespace vt
