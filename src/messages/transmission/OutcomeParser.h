#pragma once
// Parsing of the outcome ("esito") that the customs file service attaches to its answer to `get`:
// pure functions from the attachment's bytes to the lines of DETTAGLI.TXT and the result.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "messages/flows/FlowName.h"

namespace vt::outcome {

struct Outcome {
    // "ESITO NEGATIVO" unless a positive line was found: then "ESITO POSITIVO", or for an IE815
    // the ARC; for a register flow the verdict of the file record.
    QString result;
    QStringList details; // the lines of DETTAGLI.TXT
    bool positive = false; // the flow was accepted
    // IE815: the first well-formed ARC of the positive lines; empty when a positive line carried
    // none (the e-AD is accepted all the same, and its ARC is then registered by hand).
    QString arc;
};

QString negative(); // "ESITO NEGATIVO"
QString positive(); // "ESITO POSITIVO"

// The two lines DETTAGLI.TXT holds while no outcome has arrived.
QStringList notReceivedDetails();

// An ARC as the customs system gives it: 21 letters and digits.
bool wellFormedArc(const QString& arc);

// Lines starting with "I", one per record of the flow; "P" at 51 is positive. A later positive
// line never replaces a well-formed ARC already found.
Outcome parseMessageLayout(const QByteArray& attachment, FlowKind kind);
// The "ALCOAV" file record with its verdict at 43, then signal lines " S..." and " E...".
Outcome parseRegisterLayout(const QByteArray& attachment);
// The layout of the flow kind.
Outcome parse(const QByteArray& attachment, FlowKind kind);

// Attachment lines: Windows-1252 text, lines ended by LF or CR LF.
QStringList splitLines(const QByteArray& bytes);
// DETTAGLI.TXT content: Windows-1252, CR LF after every line (characters the code page cannot hold
// become "?").
QByteArray detailsBytes(const QStringList& lines);

} // namespace vt::outcome
