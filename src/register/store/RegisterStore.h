#pragma once
// The register store: the yearly movement files (yyyy.RGM), the yearly guarantee files (yyyy.GAR),
// the carry-overs (RIPORTI.GAR) and the register work files, all of 520-byte TRecMovimento
// records. Every change runs under the marker lock of the files it touches and replaces them
// atomically; a change that touches several records or files (a modify, a rectification) is one
// FileGroup change, so a failure part-way leaves the register as it was.
//
// Register order: by day; within a day loads, then unloads, then annotations; records of the same
// kind follow the e-AD product line number; equal keys keep their order of insertion. A record's
// date is its day: the time of day is cut, never rounded up into the next day (or year).
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

#include "foundation/RegisterRecord.h"

namespace vt {

struct AppContext;
class Messenger;

namespace registerfiles {
QString movements(const AppContext& ctx, int year);  // RegistriFolder/yyyy.RGM
QString guarantees(const AppContext& ctx, int year); // RegistriFolder/yyyy.GAR
QString carryOvers(const AppContext& ctx);           // RegistriFolder/RIPORTI.GAR
// Work files in TempFolder: CARICHI.DAT, SCARICHI.DAT, RIENTRI.DAT, APPOGGIO.DAT, GARANZIA.DAT,
// CANCELLA.MOV.
QString work(const AppContext& ctx, const char* name);
} // namespace registerfiles

// The day of a record date (time of day cut off).
double registerDay(double date);
// The year of a record date; 0 for a date that is not a real one.
int registerYear(double date);

// Records of a register file in file order (stored form); a missing file has none.
QList<TRecMovimento> readRegister(const QString& path);
std::optional<TRecMovimento> findRegisterRecord(const QString& path, std::int32_t numero);

// The next register line number of a file: 1 + the largest `progressivo` that any record of
// the file has consumed (insertions and conclusions; superseded records and cancellation records
// keep the number of the line they cancel, so a cancelled line's number is never given out
// again). Every writer of register lines takes its number from here.
std::int32_t nextProgressivo(const QList<TRecMovimento>& records);

// The position at which a record is placed in register order (records as in the file); for a
// guarantee record of a day whose unsent record is present, that record's position and
// *replaces = true.
qsizetype registerPosition(const QList<TRecMovimento>& records, const TRecMovimento& n, bool* replaces = nullptr);

// Inserts N at its register position, numbering it (`numero`, `progressivo`) when its `numero`
// is 0. Returns the record as written.
TRecMovimento InsertRegisterRecord(TRecMovimento n, const QString& path, Messenger& messenger);

// Removes the record with that `numero`; false (file unchanged) when it is not there.
bool DeleteRegisterRecord(std::int32_t numero, const QString& path, Messenger& messenger);

// What an action needs of the record it works on.
enum class RecordNeed {
    Unsent, // modify or delete: not yet in a flow
    Sent,   // rectify: already in a flow
};

// The picked record read again by `numero` (stored form), or the message that refuses it: gone,
// superseded by a rectification, not an insertion, or sent/unsent against the action's need.
struct PickedRecord {
    std::optional<TRecMovimento> record;
    QString refusal;
};
PickedRecord rereadForAction(const QString& path, std::int32_t numero, RecordNeed need);

// Modify of an unsent record O (of file oldPath) by N (into the file of N's year, newPath): one
// change over both files. N gets a new `numero` and `progressivo` -- except when O is the
// replacement of a rectification ("R"): then N keeps O's state, link, and `progressivo`.
// Raises IoError with a message when O is gone, sent or superseded meanwhile.
TRecMovimento ModifyRegisterRecord(std::int32_t oldNumero, const QString& oldPath, TRecMovimento n,
                                   const QString& newPath, Messenger& messenger);

enum class RectifyKind { Cancel, Modify };
struct RectifyResult {
    TRecMovimento cancellation;
    std::optional<TRecMovimento> replacement;
};
// Rectification of the sent record O (by `numero`) of file F: O becomes "C", a cancellation
// record C follows it and, for a modify, the replacement N ("R") follows C; all three in one
// change. The note is N's. Raises IoError when O is gone, not sent or already superseded.
RectifyResult RectifyRegisterRecord(std::int32_t oldNumero, const QString& path, RectifyKind kind,
                                    TRecMovimento n, Messenger& messenger);

// Flow data in place: mark the records as carried by a flow, or (numbers) return them unsent.
void MarkRegisterSent(const QString& path, const QList<std::int32_t>& numbers, double flowDate,
                      std::int32_t flowNumber, Messenger& messenger);
void ResetRegisterSendData(const QString& path, const QList<std::int32_t>& numbers, Messenger& messenger);

// Message texts.
inline constexpr const char* MsgRecordGone = "IL MOVIMENTO SCELTO NON ESISTE PIU' NEL REGISTRO";
inline constexpr const char* MsgRecordSuperseded = "IL MOVIMENTO SCELTO E' STATO RETTIFICATO O ANNULLATO";
inline constexpr const char* MsgRecordAlreadySent = "IL MOVIMENTO SCELTO E' GIA' STATO INVIATO AL SISTEMA TELEMATICO";
inline constexpr const char* MsgRecordNotSent = "IL MOVIMENTO SCELTO NON E' ANCORA STATO INVIATO AL SISTEMA TELEMATICO";
inline constexpr const char* MsgRecordNotInsertion = "IL MOVIMENTO SCELTO NON PUO' ESSERE MODIFICATO NE' RETTIFICATO";
// True for the refusals above: the picked record is no longer one the action may work on.
bool isPickedRecordRefusal(const QString& message);

} // namespace vt
