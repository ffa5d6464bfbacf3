#pragma once
// What the confirmation of the IE810 flow window does with the files: the flow date and number
// stored in the cancellation record (yyyy_810.DAT), the IE810 flow file written into the folder of
// files to sign; and, after a positive outcome in the real environment, the cancellation marked
// sent (state "I").
#include <QDate>
#include <QString>

#include <cstdint>

#include "foundation/EadRecord.h"
#include "messages/flows/FlowEntryCheck.h"

namespace vt {

struct AppContext;

struct Ie810FlowRequest {
    QString year;                // WorkYear: the year of the cancellation file
    std::int32_t progressive = 0; // the cancellation (the progressive of its e-AD)
    QDate flowDate;
    int flowNumber = 0;
    QString flowName;            // e.g. ABCD1209.C03
    bool replaceSigned = false;  // a signed file of that name exists and is to be deleted first
};

struct Ie810FlowWritten {
    QString flowPath;            // the file written
    TRecEad cancellation;        // the cancellation as stored now, with the flow date and number
};

// The request of a checked flow entry for the cancellation in hand.
Ie810FlowRequest ie810Request(const AppContext& ctx, const TRecEad& cancellation, const FlowEntry& entry);

// The date rule of the IE810: the flow date may not be later than the dispatch. Unlike the IE815
// rule it stops the confirmation: the cancellation of an e-AD is possible until the end of the day
// of its dispatch, so a later flow can only be refused.
bool flowDateAfterDispatch(const QDate& flowDate, double dispatchDate);
FlowDateRule ie810DateRule(const TRecEad& cancellation);
inline const char* const FlowDateAfterDispatch = "LA DATA DEL FLUSSO NON PUO' ESSERE SUCCESSIVA ALLA DATA DI SPEDIZIONE";

// Builds and writes the IE810 flow of the cancellation. Under the lock of yyyy_810.DAT the
// cancellation is read again; it must still be there, unsent, and carry the ARC of its e-AD. The
// flow is built in full before the flow date and number are stored and the file is written.
// Throws IoError with the message to show (nothing written into the flow folder then).
Ie810FlowWritten writeIe810Flow(AppContext& ctx, const Ie810FlowRequest& request);

// After a positive outcome in the real environment: state "I" in the cancellation. Throws IoError
// when it is no longer in its file.
void storeIe810Sent(AppContext& ctx, const QString& year, std::int32_t progressive);

} // namespace vt
