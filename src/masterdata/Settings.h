#pragma once
// The small settings stores of the master data: the excise rates of the member states (ACCISE),
// the protocols of the company's registers (PROTOCOLLI), the application paths (APPL.CFG) and the
// web addresses (WEB.CFG). All live in DatiGenFolder; ACCISE and PROTOCOLLI are tables of
// TRecTabella rows, the two configuration files hold exactly one TRecTabella record each.
#include <QDate>
#include <QString>

#include <array>
#include <functional>
#include <optional>

#include "foundation/Check.h"
#include "foundation/TableRecord.h"

namespace vt {

struct AppContext;

inline const QString MsgTableStructureMissing = QStringLiteral("STRUTTURA DELLA TABELLA MANCANTE");
inline const QString MsgCodeAlreadyUsed = QStringLiteral("CODICE GIA` UTILIZZATO");
inline const QString MsgUnknownState = QStringLiteral("CODICE NAZIONE SCONOSCIUTO");
inline const QString MsgTypeBulkOrPackaged = QStringLiteral("DIGITA: S per sfuso N per condizionato");
inline const QString MsgBadServiceHost =
    QStringLiteral("INDIRIZZO DEL SERVIZIO NON VALIDO: INDICARE host OPPURE host:porta");

// ---- shared by the table editors -------------------------------------------------------------

// A row of table whose key (Fld[0]) is code; nothing when there is none. Trimmed.
std::optional<TRecTabella> FindTableRow(AppContext& ctx, const QString& table, const QString& code);

// On confirming a changed key in modify mode: refused when another row already has it.
CheckResult CheckKeyFree(AppContext& ctx, const QString& table, const QString& code, const QString& oldCode,
                         bool modifyMode, const QString& focus);

// Sort key of a table row in stored form: the bytes the rows are ordered by.
using RowOrder = std::function<QByteArray(const QByteArray& record)>;
RowOrder orderByCode();      // Fld[0] as stored
RowOrder orderByValA(int i); // ValA[i] as a number

// Writes ctx.EditRow padded, with the number highest + 1, before the first row that sorts after
// it. In modify mode (replacing = the old row's number) the old row is removed in the same
// rewrite, under the same lock, so a failure never loses it. Returns the new number; ctx.EditRow
// keeps it.
std::int32_t SaveOrderedRow(AppContext& ctx, const QString& tabPath, std::optional<std::int32_t> replacing,
                            const RowOrder& order);

// ---- excise rates (ACCISE) --------------------------------------------------------------------

// The four bands of the window: still wines slots 0 and 1, sparkling wines slots 5 and 6 of
// ValA (from % vol), ValB (to % vol), ValC (excise EUR/hl).
inline constexpr std::array<int, 4> ExciseSlots{0, 1, 5, 6};

struct ExciseBandText {
    QString from, to, excise;
};
struct ExciseForm {
    QString state;
    std::array<ExciseBandText, 4> bands; // in the order of ExciseSlots
};

// The state must be a code of T004 (no message: the window shows MsgUnknownState beside it).
CheckResult CheckExciseState(AppContext& ctx, const QString& state);
// Builds the row from the form: a band whose excise is not above 0 is stored as three zeros; a
// band whose "to" is below its "from" is refused with the focus on its "to" field (R2s).
CheckResult BuildExciseRow(const ExciseForm& form, TRecTabella& row);
// The texts the window shows for a stored row (FormatNumber with 2 decimals, trimmed).
ExciseForm ExciseFormOf(const TRecTabella& row);

// ---- register protocols (PROTOCOLLI) ------------------------------------------------------------

struct ProtocolForm {
    QString number;        // LE0
    QString bulk;          // le1
    QString stampLoads;    // LE2
    QString stampGuarantees; // LE3
    QDate protocolDate;    // R10
    QDate validFrom;       // R11
};

CheckResult CheckProtocolBulk(const QString& le1);
CheckResult CheckProtocolDates(const QDate& protocolDate, const QDate& validFrom);
// Number not empty, S/N, both dates; fills row (Fld[0..3], ValA[0], ValA[1], Ext[0]).
CheckResult BuildProtocolRow(const ProtocolForm& form, TRecTabella& row);
// Rows are kept in ascending order of the valid-from date (ValA[1]).
std::int32_t SaveProtocol(AppContext& ctx, std::optional<std::int32_t> replacing);

// ---- application paths (APPL.CFG) and web addresses (WEB.CFG) ---------------------------------

inline constexpr int AppPathCount = 4;   // signing program, to sign, signed, downloads
inline constexpr int WebFieldCount = 10; // eight addresses, then the file service hosts (real, test)

QString appConfigPath(const AppContext& ctx);
QString webConfigPath(const AppContext& ctx);

// The record of a one-record configuration file, trimmed; the file is created with one blank
// record when it does not exist.
TRecTabella OpenConfig(const QString& path);
// Replaces the file with the one record (padded), atomically.
void SaveConfig(const QString& path, const TRecTabella& record);

// Saves the four paths into APPL.CFG and ctx.AppConfig.
void SaveAppPaths(AppContext& ctx, const std::array<QString, AppPathCount>& paths);
// Saves the addresses into WEB.CFG and ctx.WebConfig.
void SaveWebAddresses(AppContext& ctx, const std::array<QString, WebFieldCount>& fields);

// The folders beside the chosen signing program: its folder + "dafirmare" and + "firmati", each
// ending with the separator, written with the platform's separators.
struct SigningFolders {
    QString toSign, signedFiles;
};
SigningFolders SigningFoldersBeside(const QString& program);
// A chosen folder as stored: native separators and a trailing separator.
QString folderSetting(const QString& folder);

// A file service host: empty, "host" or "host:port" (port 1 to 65535), nothing else.
CheckResult CheckServiceHost(const QString& text, const QString& focus);

// Web address i of WEB.CFG, trimmed; empty when the file does not exist (it is not created).
QString WebAddress(const AppContext& ctx, int i);

} // namespace vt
