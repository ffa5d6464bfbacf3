#pragma once
// The table engine: lookups by key or number, insert in key order, delete. The rows are
// TRecTabella records in DatiGenFolder/NAME.TAB, described by DatiGenFolder/NAME.STR.
#include <QString>

#include <functional>
#include <optional>

#include "foundation/TableRecord.h"

namespace vt {

struct AppContext;

QString tablePath(const AppContext& ctx, const QString& table, const char* extension); // ".TAB", ".STR"

// The structure record of a table, or nothing when NAME.STR is missing or empty.
std::optional<TRecTabella> ReadStructure(const AppContext& ctx, const QString& table);

// True when a row of NAME.TAB has Fld[0..k-1] byte-equal to the search row's (stored form), k =
// Num of NAME.STR; the row is left untrimmed in ctx.FoundRow. Shows "STRUTTURA DEL FILE MANCANTE"
// when the structure is missing. A missing .TAB is created empty.
bool FindRowByKey(AppContext& ctx, const TRecTabella& search, const QString& table);
// True when a row numbered n exists in the .TAB at path; left trimmed in ctx.FoundRow.
bool FindRowByNumber(AppContext& ctx, std::int32_t n, const QString& tabPath);
// Delete by number under the lock.
bool DeleteRow(AppContext& ctx, std::int32_t n, const QString& tabPath);
// ctx.EditRow padded, then inserted in order of Fld[0] under the lock; Num assigned when 0.
std::int32_t InsertRow(AppContext& ctx, const QString& tabPath);

// Convenience for coded fields: the trimmed description (Fld[1]) of code in table, or nothing.
std::optional<TRecTabella> LookupCode(AppContext& ctx, const QString& table, const QString& code);

// Opens the code editor TFCODICI on ctx.TableName with NewCodeMode := newCode. The windows layer
// installs the opener at start-up; without one (or before the editor exists) nothing opens.
using CodeTableOpener = std::function<void(AppContext& ctx)>;
void SetCodeTableOpener(CodeTableOpener opener);
void OpenCodeTable(AppContext& ctx, bool newCode);

// All rows of a .TAB, trimmed, in file order (a missing file has none).
QList<TRecTabella> ReadRows(const QString& tabPath);

} // namespace vt
