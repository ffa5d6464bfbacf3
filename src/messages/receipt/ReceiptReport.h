#pragma once
// The report of receipt (IE818) of one received e-AD: the rules of the differences grid, the
// lines that carry a difference, a reason or a note (DETTAGLI.818), the report header, its
// summary, and the confirmation that stores the report (yyyy_818_J.DAT), its lines
// (yyyy_818_K.DAT) and the register work records of its e-AD lines (<arrival year>_818_RGM.DAT)
// as one change, then the consignor in the supplier address book (INDIRIZZI_F).
//
// Outcome codes (T023): "1" and "21" accepted without differences (no grid), "2x" accepted with
// differences (no refusal), "3" refused (every line refused whole), "4" partly refused.
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

#include "foundation/CompanyRecord.h"
#include "foundation/EadRecord.h"
#include "foundation/TableRecord.h"

namespace vt {

struct AppContext;

inline const char* const MissingField = "CAMPO OBBLIGATORIO NON COMPILATO";
inline const char* const ReasonZeroNeedsNote = "Motivo insoddisfazione = 0 (Altro) Nota obbligatoria mancante";
inline const char* const MissingQuantity = "DETTAGLIO N. %1: INDICARE I LITRI DEL CALO, DELL'ECCEDENZA O DEL RIFIUTO";
inline const char* const ArrivalYearOutOfRange = "LA DATA DI ARRIVO DEVE CADERE TRA IL 2008 E IL 2060";
inline const char* const ArrivalAfterToday = "LA DATA DI ARRIVO E' SUCCESSIVA ALLA DATA ODIERNA. CONFERMI ?";
inline const char* const ArrivalBeforeValidation =
    "LA DATA DI ARRIVO E' ANTERIORE ALLA DATA DI CONVALIDA DELL'e-AD (%1). CONFERMI ?";

// ---- the grid (STGRID): columns 2 type, 3 quantity, 4 reasons, 5 note ----

struct ReceiptGridRow {
    QString type;
    QString quantity;
    QString reasons;
    QString note;
};

// Codes of T025 in table order (trimmed).
QStringList reasonCodes(const QList<TRecTabella>& t025);

// Outcome "1" or "21": no differences page.
bool outcomeWithoutDifferences(const QString& outcome);
// Header of column 2: "   R " for "3", " C/E/R" for "4", " C / E" otherwise.
QString typeColumnHeader(const QString& outcome);

// Enter in column 2: "   C", "   E" or "   R" from the first character typed (upper case); for
// an outcome beginning with "2" an "R" counts as nothing. Empty for anything else: then columns
// 2 and 3 are emptied.
QString typeCell(const QString& text, const QString& outcome);
// Enter in column 3: the quantity, width 10 with 3 decimals.
QString quantityCell(const QString& text);
// The T025 codes that occur anywhere in text, each once, in table order.
QString reasonsIn(const QString& text, const QStringList& codes);
// Enter in column 4: four blanks and those codes.
QString reasonsCell(const QString& text, const QStringList& codes);
// A cell is full when its trimmed text has 1 character (column 2), 7 (column 4) or 250 (column 5):
// then every key but Backspace acts as Enter.
bool cellFull(int column, const QString& trimmed);
// A key typed in column 3 or 4 ("." already turned into ","): digits and "," only, and only while
// the cell has at most 9 characters.
bool keyAccepted(int column, QChar key, const QString& trimmed);

// Every line refused whole (outcome "3"): type "   R", quantity the line's.
ReceiptGridRow refusedRow(const TRecDettaglio& line);

// ---- DETTAGLI.818 ----

struct ReceiptLines {
    bool ok = true;
    QString message;                 // ReasonZeroNeedsNote when a reason 0 lacks its note
    int failRow = 0;                 // grid row of that line (1-based)
    int failColumn = 5;              // and the cell to fill: the note (5) or the quantity (3)
    QList<TRecDettaglio> lines;      // stored form, in grid order
};

// The lines that enter DETTAGLI.818: those with a note, a reason or a difference. app are the e-AD
// lines (XML.APP, stored or working form), rows the grid rows in the same order. Refused (the lines
// still built) for a reason 0 without its note and for a type C, E or R without litres.
ReceiptLines buildReceiptLines(const QList<TRecDettaglio>& app, const QList<ReceiptGridRow>& rows,
                               const QString& outcome, const QStringList& codes);

// ---- the report header ----

struct ReceiptEntry {
    QString language;  // LINGUA
    QString outcome;   // LINPRG, stored only when its lookup found it
    QDate arrival;     // IMGPRO
    QString note;      // DENPRG, up to 300 characters
};

// The page-1 check: the outcome a T023 code (focus LINPRG), the arrival a date of 2008-2060
// (IMGPRO), the language a T001 code (LINGUA). outcomeFound / languageFound are the lookups'
// answers. message is the field's own message, shown before the missing-field message.
struct PageOneCheck {
    bool ok = true;
    QString focus;
    QString message;
};
PageOneCheck checkPageOne(const ReceiptEntry& e, bool outcomeFound, bool languageFound);

// The arrival date's year names the file of pending loads (<year>_818_RGM.DAT): only a year of
// 2008-2060 is taken. A real date that is unusual but possible (after today, before the e-AD was
// validated) asks the question returned; empty when there is nothing to ask. validated is the
// e-AD's validation date (invalid when unknown).
bool arrivalYearAccepted(const QDate& arrival);
QString arrivalQuestion(const QDate& arrival, const QDate& today, const QDate& validated);

// The report header: the received e-AD with number 0, reserved field blank, flow data 0, state " ",
// the destination office (the company's office for exports, UFFDO2), language, note in its three
// parts, arrival date and outcome. Working form.
TRecEad buildReceiptHeader(const TRecEad& received, const TRecAzienda& company, const ReceiptEntry& e);

// The summary lines of a report and its DETTAGLI.818 lines; outcomeDescription is added to the
// outcome line on screen only (empty for the summary file).
QStringList receiptSummaryLines(const TRecEad& report, const QList<TRecDettaglio>& lines,
                                const QList<TRecTabella>& t025, const QString& outcomeDescription = {});

// ---- files ----

QString reportDetailsPath(const AppContext& ctx); // TempFolder\DETTAGLI.818
QString reportLinesWorkPath(const AppContext& ctx); // TempFolder\XML.APP

// Rows of DatiGenFolder\T025.TAB; IoError when the table is missing (it must exist when the
// report window opens).
QList<TRecTabella> readReasons(const AppContext& ctx);

// Writes TempFolder\RIEPILOGO.RTF for a stored report from its header and DETTAGLI.818.
QStringList writeReceiptSummary(const AppContext& ctx, const TRecEad& report);

struct ReceiptStored {
    std::int32_t number = 0;        // the report's number in yyyy_818_J.DAT
    bool consignorAdded = false;    // the consignor was new in INDIRIZZI_F
};

inline const char* const AlreadyReported = "PER QUESTO e-AD (ARC %1) E' GIA' STATA REGISTRATA UNA NOTA DI RICEZIONE";

// Stores the report under the locks of its four files as one change: header (next number of the
// year) into <year>_818_J.DAT, the DETTAGLI.818 lines (numbered with it) into <year>_818_K.DAT, one
// register work record per e-AD line into <arrival year>_818_RGM.DAT and the consignor into
// INDIRIZZI_F when its excise number is not there. Refused (IoError with AlreadyReported) when that
// year's store already holds a report of the same ARC. Throws IoError: then nothing is stored.
ReceiptStored storeReceipt(AppContext& ctx, const QString& year, const TRecEad& report,
                           const QList<TRecDettaglio>& app, const QList<TRecDettaglio>& lines);

} // namespace vt
