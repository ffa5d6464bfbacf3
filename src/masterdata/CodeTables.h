#pragma once
// Code-table maintenance: the logic behind the generic code editor TFCODICI, the TA20 editor
// TFCODICI_NC and the structure editor TFSTRUTAB. Rows live in DatiGenFolder/NAME.TAB, described
// by DatiGenFolder/NAME.STR (foundation/Tables.h).
#include <QDate>
#include <QString>

#include <array>
#include <optional>

#include "foundation/Check.h"
#include "foundation/TableRecord.h"

namespace vt {

struct AppContext;

inline const QString kCodeInUse = QStringLiteral("CODICE GIA` UTILIZZATO");
inline const QString kStructureMissing = QStringLiteral("STRUTTURA DELLA TABELLA MANCANTE");

// What the generic editor shows for a table: its title and, for fields 0..3, label and length
// (a field with length 0 does not exist).
struct CodeEditorLayout {
    QString title;
    std::array<QString, 4> labels;
    std::array<int, 4> lengths{};
};
// Nothing when NAME.STR is missing or empty.
std::optional<CodeEditorLayout> ReadEditorLayout(AppContext& ctx, const QString& table);

// The yes/no flags LE3/LE4 ("S" or "N" as first character), checked only when shown.
CheckResult CheckYesNoFlags(const QString& le3, bool le3Shown, const QString& le4, bool le4Shown);

// A row of the table with this code (looked up through ctx.EditRow padded, as the editors do).
std::optional<TRecTabella> FindCode(AppContext& ctx, const QString& table, const QString& code);

// On confirming a changed code in modify mode: refused when another row already has it.
CheckResult CheckCodeFree(AppContext& ctx, const QString& table, const QString& code, const QString& oldCode,
                          bool modifyMode, const QString& focus);

// Writes ctx.EditRow (Num 0, so it gets the highest number + 1; Ext[0] the table) in code order; in modify mode the
// old row goes first. Both happen under one lock in one atomic rewrite, so a failure never loses
// the old row. Returns the new row's number.
std::int32_t SaveCodeRow(AppContext& ctx, const QString& table, std::optional<std::int32_t> replacing);
void DeleteCodeRow(AppContext& ctx, const QString& table, std::int32_t number);

// TA20: the CPA part of the code must be "W200" or "W300" (no message, focus on ME0).
CheckResult CheckTa20Prefix(const QString& code);
// TA20 validity: both real dates, the last not earlier than the first (no message).
CheckResult CheckValidity(const QDate& from, const QDate& to);

// The structure record the structure editor writes (DatiGenFolder/NAME.STR, one record, no lock).
struct StructureForm {
    QString name, title, fieldNames, searchFields;
    std::array<QString, 10> dims, labels;
};
void SaveStructure(AppContext& ctx, const StructureForm& form);
std::optional<StructureForm> LoadStructure(AppContext& ctx, const QString& name);

} // namespace vt
