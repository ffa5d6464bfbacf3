#pragma once
// The load/unload register printed on the numbered sheets stamped by the
// customs office: the movements of a period of one year, one line per register
// record, in landscape, with the heading that names the stamping office and the
// company, and the boxed column grid.
//
// Kinds: "T" every record, "C" the loads, "S" every record that is not a load
// (unloads, conclusions and changes of destination, whatever their document).
// Modes: 0 heading, grid and rows on stamped sheets without heading; 1 grid and
// rows only, on sheets already headed; 2 the headings only, on as many blank
// sheets as asked, numbered from the typed first page (0: not numbered).
// Superseded records, cancellation records and cancelled conclusions print
// struck through. Nothing is printed while a check fails; nothing is written,
// and a missing yearly file prints an empty register.
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include "foundation/Check.h"
#include "foundation/CompanyRecord.h"
#include "foundation/RegisterRecord.h"
#include "prints/PageSurface.h"

namespace vt {

struct AppContext;

enum class RegisterPrintMode { Complete = 0, MovementsOnly = 1, HeadingsOnly = 2 };

// "REGISTRO DI CARICO E SCARICO" (T), "REGISTRO DI CARICO" (C), "REGISTRO DI
// SCARICO" (S).
QString registerPrintTitle(QChar kind);
// The texts of a mode: its hint under the modes and the prompt shown before
// printing.
QString registerPrintHint(RegisterPrintMode mode, const QString& title);
QString registerPrintPrompt(RegisterPrintMode mode);
// Whether the register of that kind prints the record (the period aside).
bool registerKindSelects(QChar kind, const TRecMovimento& r);

inline constexpr int MaxSheets = 999;

struct RegisterPrint {
    QChar kind = QLatin1Char('T');
    RegisterPrintMode mode = RegisterPrintMode::Complete;
    QDate from, to;
    int pageCounter = -1; // the number of the page before the first; negative: not numbered
    int sheets = 1;       // heading sheets per heading pass
    QString office;       // the office that stamped the register (protocol in force)
    TRecAzienda company = blankCompany();
};

// The office text of the register protocol in force on a date: the last row of
// PROTOCOLLI.TAB whose "valid from" date is not later than the date; empty when
// none (the file is not created).
QString registerOffice(const AppContext& ctx, const QDate& from);

// The checks of the window, in order (no message box; the failure names the
// field: MDADA, MDAAL, MFOGLI). The first page and the sheet count are read in
// the headings mode only. On success `out` holds the dates, the page counter
// and the sheets.
CheckResult checkRegisterPrint(RegisterPrintMode mode, const QString& fromText, const QString& toText,
                               const QString& firstPageText, const QString& sheetsText, RegisterPrint& out);

// The records of the period and kind, in register order, from the yearly file
// of the period.
QList<TRecMovimento> registerPrintRecords(const AppContext& ctx, const RegisterPrint& print);

// The office text broken at spaces into the lines of its box (at most four) as
// the surface's 10-point bold font measures them within `width`.
QStringList wrapOfficeText(PageSurface& surface, const QString& text, int width);

// Lays out the whole print, begin to end.
void PrintLoadUnloadRegister(PageSurface& surface, const RegisterPrint& print, const QList<TRecMovimento>& records);

} // namespace vt
