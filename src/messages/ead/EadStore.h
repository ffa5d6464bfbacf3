#pragma once
// The e-AD store: one header per e-AD in RegistriFolder\yyyy_815_A.DAT, its transport lines in
// yyyy_815_I.DAT and its product lines in yyyy_815_C.DAT (yyyy = year of the date of dispatch);
// while an e-AD is in hand its lines live in the work files TempFolder\TRASPORTO.DAT and
// PRODOTTI.DAT.
//
// Every change to the yearly files is made under their marker locks. Saving and deleting touch
// three (in modify mode up to six) files: they are changed as one group (FileGroup), so a failure
// part-way puts back the files already replaced and never leaves a header without its lines or
// lines without their header. Within a group the lines are written before the header that owns them
// and a header is removed before its lines; lines that a crash might still leave without a header
// are discarded when their progressive is given to a new e-AD.
#include <QDateTime>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

#include "foundation/AppContext.h"
#include "foundation/EadRecord.h"

namespace vt {

namespace eadfiles {
QString headers(const AppContext& ctx, const QString& year);     // yyyy_815_A.DAT
QString transport(const AppContext& ctx, const QString& year);   // yyyy_815_I.DAT
QString products(const AppContext& ctx, const QString& year);    // yyyy_815_C.DAT
QString transportWork(const AppContext& ctx);                    // TRASPORTO.DAT
QString productWork(const AppContext& ctx);                      // PRODOTTI.DAT
} // namespace eadfiles

// Numbering shared with the changes of destination and their details: a record's number is its
// int32 at offset 0, a line names the record that owns it at offset 4.
// The largest number among records; 0 for none.
std::int32_t largestRecordNumber(const QList<QByteArray>& records);
// lines with the lines of work after them, numbered on from the largest and owned by owner, a
// number just given out: lines already naming it belong to no record (a crash left them) and are
// dropped first.
QList<QByteArray> withOwnedLines(const QList<QByteArray>& lines, const QList<QByteArray>& work, std::int32_t owner);

// The four-digit year of a record date; empty when the value is not a date.
QString yearOfDate(double date);

// Empties (creates) both work files.
void startNewEad(const AppContext& ctx);

// Finds header `progressive` in the year's header file; when found, fills `header` with it as
// stored, empties both work files and copies into them, in file order, the e-AD's transport and
// product lines (they keep their yearly serial in field 0). False, and nothing touched, when the
// header is not there.
bool loadEad(const AppContext& ctx, const QString& year, std::int32_t progressive, TRecEad& header);

// The local reference number given to a header when it is saved: the fallback number when the
// goods left under the fallback procedure (INVDIF "S"), otherwise now as a day count with five
// decimals, "-", characters 5 to 13 of the company excise code and "FC", all cut to 22 characters.
QString localReferenceNumber(const QString& invdif, const QString& fallbackNumber, const QString& companyExcise,
                             const QDateTime& now);

// Saves the e-AD in hand: `header` (working or stored form) and the lines of the two work files.
// With oldHeader (modify mode) the e-AD as it was is removed first. The new header gets the next
// progressive of its year (offsets 0 and 56) and its local reference number (fallbackNumber is the
// number typed for the fallback document); the lines get the next serials of their files and the
// new progressive. WorkYear becomes the year of the date of dispatch. Returns the header as stored.
// Raises IoError (nothing saved) for a date of dispatch that is not a date or a file failure.
// In modify mode the old header must still be in its file exactly as loaded: otherwise nothing is
// saved and IoError(MsgEadChangedElsewhere) is raised.
TRecEad saveEad(AppContext& ctx, const TRecEad& header, const QString& fallbackNumber,
                const TRecEad* oldHeader = nullptr);
inline const QString MsgEadChangedElsewhere =
    QStringLiteral("L'e-AD E` STATO INVIATO, CANCELLATO O MODIFICATO DA UN'ALTRA POSTAZIONE: LE MODIFICHE NON SONO STATE SALVATE");

// Removes header `progressive` and its lines from the year's files; false when the header was not
// there (its stray lines, if any, are removed all the same).
bool deleteEad(AppContext& ctx, const QString& year, std::int32_t progressive);

// Under the lock of `path` (any file of 2688-byte headers: e-AD, cancellation, change of
// destination, report of receipt), finds the record numbered `number`, lets `change` modify it
// and writes it back at the same position in stored form. False when the record is not there.
bool updateHeaderInPlace(AppContext& ctx, const QString& path, std::int32_t number,
                         const std::function<void(TRecEad&)>& change);
bool updateEadInPlace(AppContext& ctx, const QString& year, std::int32_t progressive,
                      const std::function<void(TRecEad&)>& change);

// Finds a header by number in a file of headers, as stored.
std::optional<TRecEad> findHeader(const QString& path, std::int32_t number);

// Deletes the line numbered `lineNumber` from a work file; false when there is none.
bool deleteWorkLine(const QString& workFile, std::int32_t lineNumber);
// Sets field 0 of every line of a work file to its position 1, 2, ...
void renumberWorkFile(const QString& workFile);

// All records of a file of lines / of headers, as stored, in file order.
QList<TRecDettaglio> readLines(const QString& path);
QList<TRecEad> readHeaders(const QString& path);

} // namespace vt
