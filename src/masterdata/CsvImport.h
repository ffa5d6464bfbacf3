#pragma once
// Import of a table's rows from DatiGenFolder/NAME.CSV: a Windows-1252 text file, one row per
// line, up to ten fields separated by ";". Fields 2 and 3 are yes/no flags: empty or a single
// space becomes "N", "X" becomes "S". A line whose first character is a space, a control
// character or "!" is skipped.
//
// The whole file is read and checked first; only then is NAME.TAB replaced, atomically and under
// its lock. A missing or unreadable file, or a line that cannot be stored, leaves the table as it
// was.
#include <QByteArray>
#include <QList>
#include <QString>

#include "foundation/TableRecord.h"

namespace vt {

struct AppContext;

// The rows of a .CSV content, in file order, working form, Num 0. Throws IoError naming the line
// when a field is longer than a table field can hold.
QList<TRecTabella> ParseCsvRows(const QByteArray& content, const QString& table);

// Replaces DatiGenFolder/NAME.TAB with the rows of DatiGenFolder/NAME.CSV, numbered in file order
// and kept in code order. Returns the number of rows; throws IoError (table untouched) otherwise.
int ImportCsv(AppContext& ctx, const QString& table);

} // namespace vt
