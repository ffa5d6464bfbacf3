#pragma once
// The story of one movement, read from every file that can name its ARC: the
// e-AD itself and its IE815 flow, its cancellation and the IE810, its changes
// of destination and the IE813, a report of receipt and the IE818, every
// register record whose document number is the ARC (unloads, loads,
// conclusions, changes, rectifications) and the guarantee days those records
// weigh on.
//
// Only the yearly files of the e-AD's year and of the next are read; nothing is
// created and no lock is taken (every file is read in one go, and writers
// replace files atomically). The ARC is compared whole: a record of another
// movement whose ARC merely begins the same way never shows. A damaged file is
// named in `damaged` and the events of the other files are still given.
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

#include "foundation/Listing.h"

namespace vt {

struct AppContext;

// What a line of the story opens on Enter.
enum class HistoryOpens { Nothing, Ead, Movement };

struct HistoryEvent {
    double date = 0; // the day the event belongs to (record date); 0 when unknown
    QString kind;    // "e-AD compilato", "Flusso IE815", ... (as shown)
    QString detail;  // numbers, names, states
    HistoryOpens opens = HistoryOpens::Nothing;
    QString year;            // of the record to open
    std::int32_t number = 0; // its progressive (e-AD) or `numero` (movement)
};

struct EadHistory {
    QString arc;                // trimmed; empty for an e-AD never accepted
    QList<HistoryEvent> events; // in date order; events of one day in the order of the movement
    QStringList damaged;        // one message per file that could not be read
};

// The story of the movement with this ARC (21 letters and digits; its first two
// digits give the year). An ARC that is not one gives no events.
EadHistory eadHistory(AppContext& ctx, const QString& arc);

// The story of e-AD `progressive` of `year`: through its ARC when it has one,
// otherwise the e-AD's own events only (compiled, its flow, not accepted).
// Nothing when the e-AD is not there.
EadHistory eadHistoryOf(AppContext& ctx, const QString& year, std::int32_t progressive);

// Whether a typed text is an ARC the story can be read for.
bool historyArcValid(const QString& arc);
inline const QString MsgHistoryBadArc = QStringLiteral("IL NUMERO ARC DEVE ESSERE DI 21 CARATTERI, LETTERE E "
                                                       "CIFRE, E INIZIARE CON LE DUE CIFRE DELL'ANNO");

// The record a line opens, read again from its file, as read-only text: an e-AD
// as its summary with its lines, a register record field by field. Empty when
// the record is gone. Throws IoError.
QStringList historyRecordText(AppContext& ctx, const HistoryEvent& event);

// The story as a listing (date, event, details), for the screen, the print and
// the PDF.
Listing historyListing(const EadHistory& history);

} // namespace vt
