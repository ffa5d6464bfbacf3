#pragma once
// The file work of the e-AD lifecycle: the work files emptied before the chooser, the chosen
// records loaded after it, and what the confirmation of each lifecycle mode does to the files.
//
// Every operation acts on a record the user chose earlier: it reads that record again under the
// lock of its file and refuses (IoError with the message to show, nothing changed) when it is gone
// or its state no longer fits the mode - another workstation may have acted in between. A change
// that touches two files (the e-AD state and the cancellation record, the header of an e-AD and its
// lines) is one FileGroup change: a failure part-way leaves every file as it was.
//
// The cancellation record (yyyy_810.DAT) is a copy of the e-AD header with the same progressive,
// in which LINGUA is the language of the note, TIPMES the reason code (MOTANN), DENTRG the reason
// description and DENPRG the note (NOTMOT); flow date and number belong to its IE810 and its state
// is " " (not sent) or "I" (sent).
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

#include "foundation/AppContext.h"
#include "foundation/Check.h"

namespace vt {

namespace cancelfiles {
QString cancellations(const AppContext& ctx, const QString& year); // yyyy_810.DAT
} // namespace cancelfiles

// Caption and warning (Label1; empty: hidden) of the lifecycle window in a mode.
struct LifecycleTexts {
    QString caption;
    QString warning;
};
LifecycleTexts lifecycleTexts(QChar mode);

// What the clerk is told once the confirmation of a mode has changed the files (empty: nothing,
// as for "X", whose IE810 window follows).
QString lifecycleDoneMessage(QChar mode, std::int32_t number);

// TempFolder\TRASPORTO.DAT, PRODOTTI.DAT and DETTAGLI.818 emptied (created when missing).
void emptyLifecycleWorkFiles(const AppContext& ctx);

// After a choice: WorkYear := SelectedYear; for "d", "e" and "f" the change of destination PickedEad
// of that year into MessageRecord, its transport details into TRASPORTO.DAT and its summary
// RIEPILOGO.RTF written; for the e-AD modes: for "a", "x" and "9" the cancellation PickedEad of that year
// into MessageRecord and its summary IE810.RTF written; the e-AD header PickedEad into EadHeader (a
// copy in OldEad) with its lines in the work files; for "I" and "9" the e-AD summary RIEPILOGO.RTF
// written. A cancellation whose e-AD is gone stands in for it in "x" and "a". Returns the message
// to show when a chosen record is not in its file any more, for "X" when the e-AD has no ARC, for
// "d" when the change was sent (nothing further to do then), empty when everything is in hand.
// Throws IoError.
QString loadChosenRecords(AppContext& ctx);

// "R": the ARC typed in NUMARC must be 21 characters without blanks.
CheckResult checkArc(const QString& arc);
inline const char* const ArcNotValid = "IL NUMERO DI ARC DEVE ESSERE DI 21 CARATTERI SENZA SPAZI";

// "X": a reason starting with "0" ("Altro") needs a note.
CheckResult checkCancellationNote(const QString& reasonCode, const QString& note);
inline const char* const NoteRequired = "NOTA OBBLIGATORIA";

// "R": ARC (21 characters) and state "I" in an e-AD in state " " or "I".
void registerArc(AppContext& ctx, const QString& year, std::int32_t progressive, const QString& arc);

// "A": flow date 0, flow number 0, ARC blank and state " " in an e-AD in state " " or "I".
void resetIe815SendData(AppContext& ctx, const QString& year, std::int32_t progressive);

// "C": an unsent e-AD (state " ") removed with its transport and product lines.
void deleteUnsentEad(AppContext& ctx, const QString& year, std::int32_t progressive);

struct CancellationReason {
    QString code;        // MOTANN (T011)
    QString description; // its T011 description
    QString note;        // NOTMOT
    QString language;    // LINGUA (T001) of the note
};

// "X": an e-AD in state " " or "I" that has its ARC (an e-AD never accepted cannot be cancelled:
// its IE810 would carry no ARC) and no cancellation yet gets state "0", and its cancellation record
// is appended to yyyy_810.DAT with the reason, flow date and number 0 and state " ". Returns the
// cancellation as stored.
TRecEad prepareCancellation(AppContext& ctx, const QString& year, std::int32_t progressive,
                            const CancellationReason& reason);

// "x": an unsent cancellation (state " ") removed from yyyy_810.DAT, and its e-AD (state "0") back
// to "I" - or to " " when it has no ARC.
void withdrawCancellation(AppContext& ctx, const QString& year, std::int32_t progressive);

// "a": flow date 0, flow number 0 and state " " in a cancellation in state " " or "I".
void resetIe810SendData(AppContext& ctx, const QString& year, std::int32_t progressive);

// "d": an unsent change of destination (state " ") removed from yyyy_813.DAT with its transport
// details in yyyy_813_P.DAT.
void deleteUnsentChange(AppContext& ctx, const QString& year, std::int32_t number);

// "e": flow date 0, flow number 0 and state " " in a change of destination in state " " or "I".
void resetIe813SendData(AppContext& ctx, const QString& year, std::int32_t number);

// The summary of a stored change of destination (RIEPILOGO.RTF) from the change record and its
// transport details.
QStringList changeSummaryLines(const TRecEad& change, const QList<TRecDettaglio>& details);
// Writes it from the change and the work file TRASPORTO.DAT. Returns the lines written.
QStringList writeChangeSummary(const AppContext& ctx, const TRecEad& change);

} // namespace vt
