#pragma once
// What the confirmation of the IE813 flow window does with the files: the flow date and number
// stored in the change of destination (yyyy_813.DAT), the IE813 flow file written into the folder
// of files to sign; and, after a positive outcome in the real environment, the change marked sent.
#include <QDate>
#include <QString>

#include <cstdint>

#include "foundation/EadRecord.h"
#include "messages/flows/FlowEntryCheck.h"

namespace vt {

struct AppContext;

namespace changefiles {
QString changes(const AppContext& ctx, const QString& year); // yyyy_813.DAT
QString details(const AppContext& ctx, const QString& year); // yyyy_813_P.DAT
} // namespace changefiles

struct Ie813FlowRequest {
    QString year;                // WorkYear: the year of the change files
    std::int32_t number = 0;     // the change number
    QDate flowDate;
    int flowNumber = 0;
    QString flowName;            // e.g. ABCD1209.C03
    bool replaceSigned = false;  // a signed file of that name exists and is to be deleted first
};

struct Ie813FlowWritten {
    QString flowPath;
    TRecEad change;              // the change as stored now, with the flow date and number
    int details = 0;
};

Ie813FlowRequest ie813Request(const AppContext& ctx, const TRecEad& change, const FlowEntry& entry);

// Builds and writes the IE813 flow of the change. The details are read under the lock of
// yyyy_813_P.DAT - a change without any (the file missing) is refused - and the change again under
// the lock of yyyy_813.DAT: it must still be there, unsent, with the ARC of its e-AD. A change
// without premises of dispatch takes those of its e-AD for the header. Every byte of the flow is
// built before the flow date and number are stored and the file is written in one go. Throws
// IoError with the message to show (nothing stored, nothing written into the flow folder then).
Ie813FlowWritten writeIe813Flow(AppContext& ctx, const Ie813FlowRequest& request);

// After a positive outcome in the real environment: state "I" in the change. Throws IoError when it
// is no longer in its file.
void storeIe813Sent(AppContext& ctx, const QString& year, std::int32_t number);

} // namespace vt
