#pragma once
// The report of sent messages: for a year and a period, the messages of one kind (IE815, IE810,
// IE813, IE818) whose flow date lies in the period, one table row each, written to
// TempFolder\REPORT.TXT for the report window TFRICIE815.
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include "foundation/Check.h"
#include "foundation/EadRecord.h"

namespace vt {

struct AppContext;

enum class SentKind { IE815, IE810, IE813, IE818 };

// The kind of an OpCode set by the menu actions: "1" IE815, "2" IE810, "3" IE813, "4" IE818.
std::optional<SentKind> sentKindOf(QChar opCode);
// "Ricerca dei flussi IE815 inviati", ...
QString sentReportCaption(SentKind kind);
// The yearly file of the kind: yyyy_815_A.DAT, yyyy_810.DAT, yyyy_813.DAT, yyyy_818_J.DAT.
QString sentReportFile(const AppContext& ctx, SentKind kind, const QString& year);

// The year typed in LANNO: four digits from 2008 to 2060 (otherwise the focus goes back to it).
CheckResult checkReportYear(const QString& year);
// The period: two dates (an invalid one takes the focus: DALLA, ALLA), ALLA not before DALLA.
CheckResult checkReportPeriod(const QDate& from, const QDate& to);

// The lines of the report from the records of the year's file, in file order: those whose flow
// date lies in the period; for the IE810 and the IE818, whose tables have no state column, only
// those sent (state "I").
QStringList sentReportLines(SentKind kind, const QString& year, const QDate& from, const QDate& to,
                            const QList<TRecEad>& records);

// Reads the year's file of the kind (a missing file, or a year that names none, reads as empty:
// nothing is created), writes REPORT.TXT and returns its lines. Throws IoError.
QStringList writeSentReport(const AppContext& ctx, SentKind kind, const QString& year, const QDate& from,
                            const QDate& to);
QString sentReportPath(const AppContext& ctx); // TempFolder\REPORT.TXT

} // namespace vt
