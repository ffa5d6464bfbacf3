#pragma once
// The flow date and number entry shared by every flow window (IE815, IE810, IE813, IE818,
// register): the number proposed for a date, and the checks made when the confirmation is reached.
#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>

#include "foundation/Check.h"

namespace vt {

struct AppContext;

// A flow kind's own rule on the flow date: the message to show when the date breaks it (the
// confirmation goes on, the focus returns to DATFLU), empty when it is kept.
using FlowDateRule = std::function<QString(const QDate& flowDate)>;

inline const char* const SignedFileReplaced =
    "IL FILE E' GIA' PRESENTE NELLA CARTELLA \"FIRMATI\": VERRA' SOSTITUITO";
// Asked before a signed file of the same name (perhaps a flow already accepted) is replaced.
inline const char* const SignedFileReplacedQuestion =
    "IL FILE E' GIA' PRESENTE NELLA CARTELLA \"FIRMATI\": VERRA' SOSTITUITO  PREMI \"OK\" PER SOSTITUIRLO";
inline const char* const FlowNumberRange = "indicare un valore compreso tra 1 e 99";

struct FlowEntry {
    QDate date;
    int number = 0;
    QString name;               // e.g. ABCD1209.C03
    bool replaceSigned = false; // a signed file of that name exists: delete it before writing the flow
};

struct FlowEntryCheck {
    CheckResult verdict;  // a failure stops the confirmation (focus NUMFLU or DATFLU)
    QStringList warnings; // shown in order; they do not stop it
    QString warningFocus; // DATFLU after the date rule's message
    FlowEntry entry;      // valid when verdict passes
};

// The number proposed when the flow date is left: 1 + the highest among the signed files, and the
// flows still waiting to be signed, of the company's user code and that date.
int proposedFlowNumber(const AppContext& ctx, const QDate& date);

// In order: the number (positive, at most 99; focus NUMFLU), the date (focus DATFLU), the user
// code that names the file; then, without stopping, the kind's date rule and the signed file of
// the same name already present.
FlowEntryCheck checkFlowEntry(const AppContext& ctx, const QDate& flowDate, const QString& numberText,
                              const FlowDateRule& dateRule = {});

// Deletes the signed file an entry replaces (nothing when it does not replace one). Throws IoError.
void removeReplacedSigned(const AppContext& ctx, const FlowEntry& entry);

} // namespace vt
