#pragma once
// The register store: the yearly movement files (yyyy.RGM), the yearly guarantee files (yyyy.GAR),
// the carry-overs (RIPORTI.GAR) and the register work files, all of 520-byte TRecMovimento records.
// Every change runs under the marker lock of the files it touches and replaces them atomically; a
// change that touches several records or files (a modify, a rectification, the marking of a flow)
// is one FileGroup change, so a failure part-way leaves the register as it was.
//
// Register order: by day; within a day loads, then unloads, then annotations; records of the same
// kind follow the e-AD product line number; equal keys keep their order of insertion. A record's
// date is its day: the time of day is cut, never rounded up into the next day (or year).
//
// Line numbers (`progressivo`) are what customs receives and the stamped register prints, so:
//  - new numbers come only from nextRegisterNumbers, under the file's lock, inside the change that
//    writes; k lines written together take k consecutive numbers;
//  - a cancellation or a replacement repeats the number of the line it rectifies;
//  - a record modified within its own file keeps its `numero` and `progressivo`;
//  - a number that has been in a flow is never changed and never handed out again; when unsent
//    lines leave a file, the unsent lines after them close the gap, and lines that are followed by
//    sent lines cannot leave at all (they are sent and cancelled by a rectification instead).
//
// `numero` names a record only within its file, and the lines of a conclusion share one: every
// operation by `numero` acts on every record carrying it. An operation on a record read earlier (a
// picker, a work file) takes that record as it was read and goes on only when the file still holds
// it unchanged (send data aside, where the operation says so).
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

#include "foundation/RegisterRecord.h"

namespace vt {

struct AppContext;
class FileGroup;
class Messenger;

namespace registerfiles {
QString movements(const AppContext& ctx, int year); // RegistriFolder/yyyy.RGM
QString guarantees(const AppContext& ctx, int year); // RegistriFolder/yyyy.GAR
QString carryOvers(const AppContext& ctx); // RegistriFolder/RIPORTI.GAR
// Work files in TempFolder: CARICHI.DAT, SCARICHI.DAT, RIENTRI.DAT, APPOGGIO.DAT, GARANZIA.DAT,
// CANCELLA.MOV.
QString work(const AppContext& ctx, const char* name);
} // namespace registerfiles

// The day of a record date (time of day cut off). Every comparison of register dates uses it.
double registerDay(double date);
// The year of a record date (the yearly file it belongs to); 0 for a date that is not a real one.
int registerYear(double date);

// Records of a register file in file order (stored form); a missing file has none.
QList<TRecMovimento> readRegister(const QString& path);
// The first record carrying `numero` / every record carrying it, in file order.
std::optional<TRecMovimento> findRegisterRecord(const QString& path, std::int32_t numero);
QList<TRecMovimento> findRegisterRecords(const QString& path, std::int32_t numero);

// True when two records hold the same data (text compared padded, dates by day); with sendDataAside
// the flow date and number are not compared.
bool sameRegisterRecord(const TRecMovimento& a, const TRecMovimento& b, bool sendDataAside);

// True when `to` is the record that `from` links to (`collegato`) in another year's file: `numero`
// names a record only within its file, so the ARC, the e-AD progressive and the product line must
// match too.
bool isLinkedRecord(const TRecMovimento& from, const TRecMovimento& to);

// The numbers the next new record of a file takes: 1 + the largest `numero` and 1 + the largest
// `progressivo` of any record of the file (a superseded line and the cancellation that repeats its
// number keep it consumed, so a cancelled line's number is never given out again). The only place
// where register numbers are computed.
struct RegisterNumbers {
    std::int32_t numero = 0;
    std::int32_t progressivo = 0;
};
RegisterNumbers nextRegisterNumbers(const QList<TRecMovimento>& records);
std::int32_t nextProgressivo(const QList<TRecMovimento>& records);

// The position at which a record is placed by date in register order (records as in the file); for
// a guarantee record of a day whose plain unsent guarantee record is present, that record's
// position and *replaces = true.
qsizetype registerPosition(const QList<TRecMovimento>& records, const TRecMovimento& n, bool* replaces = nullptr);

// Inserts N at its register position, numbering it (new `numero` and `progressivo`) when its
// `numero` is 0. A plain guarantee day replaces the day's plain unsent guarantee record and keeps
// its numbers. Returns the record as written.
TRecMovimento InsertRegisterRecord(TRecMovimento n, const QString& path, Messenger& messenger);

// One record of a group placed by PlaceRegisterGroup. `after` 0: placed by date in register order;
// otherwise right after the last record carrying `numero` == after and the unsent rectification
// records already following it (a cancellation, then its replacement).
struct GroupRecord {
    TRecMovimento record;
    std::int32_t after = 0;
};
// How the unnumbered records of a group are numbered: each its own `numero` (consecutive, in group
// order), or one `numero` shared by all (the lines of a conclusion).
enum class GroupNumbering { OnePerRecord, Shared };

// Places several records of one file in one change: a record with `numero` 0 is numbered as the
// group says, a record with `progressivo` 0 takes the next line number (consecutive in group
// order); numbers already set are kept (a cancellation repeats its line's). Runs inside the
// caller's FileGroup change, which holds the file's lock; takes no lock of its own. Raises IoError
// (nothing placed) when a numbered guarantee day would overwrite another unsent record of its day.
// Returns the records as written, in group order.
QList<TRecMovimento> PlaceRegisterGroup(
    FileGroup& group, const QString& path, const QList<GroupRecord>& records, GroupNumbering numbering);

// What an action needs of the record it works on. Every need excludes superseded records.
enum class RecordNeed {
    Unsent, // modify a movement or guarantee day: an insertion ("I") not yet in a
    // flow
    Sent, // rectify it: an insertion already in a flow
    UnsentConclusion, // modify a conclusion: ROR/FBR annotation or DAA conclusion
    // ("A"), unsent
    SentConclusion, // rectify a conclusion: the same, sent
    Concludable, // conclude: a sent EAD/FBE/DAA/COD unload line not yet concluded
    // or redirected
    Redirectable, // change the destination: a sent EAD/FBE/FBC/COD line not yet
    // concluded
    UnsentChange, // modify a change of destination (a COD annotation), unsent
    SentChange, // rectify it, sent
    UnsentGuarantee, // modify a guarantee day ("F" insertion), unsent
    SentGuarantee, // rectify it, sent
};
// The message refusing a record for the need; empty when the record may be worked on.
QString refusalFor(const TRecMovimento* record, RecordNeed need);

// The picked record read again by `numero` (stored form), or the message that refuses it.
struct PickedRecord {
    std::optional<TRecMovimento> record;
    QString refusal;
};
PickedRecord rereadForAction(const QString& path, std::int32_t numero, RecordNeed need);

// Modify of the unsent record O (as read earlier, from oldPath) by N (for the file of N's year,
// newPath), one change over both files. Within its file O keeps its `numero`, `progressivo` and
// links and N is re-placed by date. Into another year's file N takes that file's numbers; refused
// while O is linked to another record, or when lines already sent follow O's line number. The
// replacement of a rectification ("R") keeps its state and link and cannot change its day. Raises
// IoError with the refusal when O is gone, changed, sent or superseded meanwhile.
TRecMovimento ModifyRegisterRecord(
    const TRecMovimento& old, const QString& oldPath, TRecMovimento n, const QString& newPath, Messenger& messenger);

// Deletion of the unsent record O (as read earlier): every record carrying its `numero` goes, and
// the unsent lines after them close the gap in the line numbers. Refused (IoError, nothing deleted)
// unless every such record is still unsent, active and an insertion or conclusion, O is unchanged,
// no other record links to them and no line already sent follows them. Returns the number of
// records removed.
int DeleteRegisterRecord(const TRecMovimento& old, const QString& path, Messenger& messenger);

enum class RectifyKind { Cancel, Modify };
struct RectifyResult {
    QList<TRecMovimento> cancellations;
    std::optional<TRecMovimento> replacement;
    const TRecMovimento& cancellation() const { return cancellations.front(); }
};
// Rectification of the sent record O (as read earlier) of file F, all in one change: every record
// carrying O's `numero` becomes "C"; right after the last of them one cancellation record each
// (sharing one new `numero` when there are several; a DAA conclusion's is a "D"), repeating its
// line number; for a modify, the replacement N ("R", O's day and line number) after them. The note
// is N's. Raises IoError when O is gone, changed, not sent or already superseded, or when a modify
// would replace several lines.
RectifyResult RectifyRegisterRecord(const TRecMovimento& old, const QString& path, RectifyKind kind, TRecMovimento n,
    Messenger& messenger, RecordNeed need = RecordNeed::Sent);

// The records one flow carries (as read when the flow was listed), by file.
struct FlowRecords {
    QString movementsPath;
    QList<TRecMovimento> movements;
    QString guaranteesPath;
    QList<TRecMovimento> guarantees;
};
// Marks a flow's records sent (flow date and number), movements and guarantee days in one change
// under the locks of both files. Each record is found again by `numero` and whole-record
// comparison; every record carrying one of those numbers is marked. Refused (IoError, nothing
// marked) when any of them changed, is gone or is already marked.
void MarkRegisterSent(const FlowRecords& flow, double flowDate, std::int32_t flowNumber, Messenger& messenger);
// Returns a flow's records to unsent (reactivation), the same way: each must still be in the file
// exactly as read, flow data included.
void ResetRegisterSendData(const FlowRecords& flow, Messenger& messenger);

// Message texts.
inline constexpr const char* MsgRecordGone = "IL MOVIMENTO SCELTO NON ESISTE PIU' NEL REGISTRO";
inline constexpr const char* MsgRecordSuperseded = "IL MOVIMENTO SCELTO E' STATO RETTIFICATO O ANNULLATO";
inline constexpr const char* MsgRecordAlreadySent = "IL MOVIMENTO SCELTO E' GIA' STATO INVIATO AL SISTEMA TELEMATICO";
inline constexpr const char* MsgRecordNotSent = "IL MOVIMENTO SCELTO NON E' ANCORA STATO INVIATO AL SISTEMA TELEMATICO";
inline constexpr const char* MsgRecordNotInsertion = "IL MOVIMENTO SCELTO NON PUO' ESSERE MODIFICATO NE' RETTIFICATO";
inline constexpr const char* MsgRecordWrongKind = "IL MOVIMENTO SCELTO NON E' DEL TIPO RICHIESTO DALL'OPERAZIONE";
inline constexpr const char* MsgRecordConcluded =
    "IL MOVIMENTO SCELTO E' GIA' STATO CONCLUSO O CAMBIATO DI DESTINAZIONE";
inline constexpr const char* MsgRecordChanged =
    "IL MOVIMENTO SCELTO E' STATO CAMBIATO DA UN'ALTRA POSTAZIONE: RIPETERE LA "
    "SCELTA";
inline constexpr const char* MsgRecordLinked = "IL MOVIMENTO SCELTO E' COLLEGATO AD ALTRI MOVIMENTI DEL REGISTRO";
inline constexpr const char* MsgLineFollowedBySent =
    "IL NUMERO DI RIGA DEL MOVIMENTO E' SEGUITO DA RIGHE GIA' INVIATE: "
    "INVIARLO E ANNULLARLO CON UNA RETTIFICA";
inline constexpr const char* MsgRectifyDayFixed = "LA DATA DI UNA RETTIFICA NON PUO' ESSERE CAMBIATA";
inline constexpr const char* MsgRectifySeveralLines = "UNA RETTIFICA DI MODIFICA RIGUARDA UNA SOLA RIGA DEL REGISTRO";
inline constexpr const char* MsgGuaranteeDayTaken = "PER QUEL GIORNO ESISTE GIA' UNA GARANZIA NON INVIATA";
inline constexpr const char* MsgFlowRecordsChanged =
    "I MOVIMENTI DEL FLUSSO SONO STATI CAMBIATI DA UN'ALTRA POSTAZIONE: NESSUN "
    "MOVIMENTO E' STATO MARCATO";
// True for the refusals that mean the picked record is no longer one the action may work on.
bool isPickedRecordRefusal(const QString& message);

} // namespace vt
